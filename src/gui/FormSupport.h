#pragma once
// What every form of a dialog class shares: its DialogHost, the buttons that close it and the
// number edits bound to the dialog's controls.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gui/NumberEdit.h"
#include "gui/QtDialogHost.h"

namespace ardelon::gui {

// A field the user reads but does not type in: a sunken panel on the window's colour, as a
// read-only edit box looks.
QLabel* readOnlyField(int minimumWidth, Qt::Alignment alignment = Qt::AlignCenter);

class FormBase : public QDialog {
    Q_OBJECT
  public:
    explicit FormBase(QWidget* parent);
    QtDialogHost& host() { return host_; }
    // The button Enter presses: the one the form marked default (OK, Accept Changes, Leave
    // Module); nullptr when the form has none.
    QPushButton* defaultButton() const;

  protected:
    // Enter presses the form's default button wherever the focus is: no other button takes
    // the default when it gets the focus (Space still presses the focused button).
    void showEvent(QShowEvent* event) override;
    // Copy the widgets into the dialog's members, and show the members again.
    virtual void readWidgets() {}
    virtual void showMembers() {}
    // Runs one handler of the dialog between reading the widgets and showing the members. A
    // message box or focus change inside the handler cannot start another handler meanwhile.
    template <typename Handler>
    void run(Handler handler) {
        if (handling_)
            return;
        handling_ = true;
        readWidgets();
        handler();
        showMembers();
        refreshFieldHints();
        handling_ = false;
    }
    // A button that closes the form keeping nothing ("Cancel", "Cancel Changes").
    QPushButton* cancelButton(const QString& text);
    // A number edit named after its control so that the dialog's rules can focus it.
    template <typename ControlEnum>
    NumberEdit* numberEdit(ControlEnum control, NumberEdit::Kind kind = NumberEdit::Kind::Number) {
        auto* edit = new NumberEdit(kind);
        edit->setObjectName(QStringLiteral("control%1").arg(static_cast<int>(control)));
        host_.bind(static_cast<int>(control), edit);
        numberEdits_.emplace_back(edit, static_cast<int>(control));
        return edit;
    }
    // Every edit made by numberEdit shows, as its tooltip, the hint `dialog` gives for its
    // control (quantity, unit and range). The hints are shown again after every handler, since
    // some follow the members (a material's modulus range, a threshold's response type).
    template <typename Dialog>
    void showFieldHints(const Dialog& dialog) {
        fieldHint_ = [&dialog](int control) {
            return dialog.hint(static_cast<typename Dialog::Control>(control)).text;
        };
        refreshFieldHints();
    }
    void refreshFieldHints();
    template <typename ControlEnum, typename WidgetType>
    WidgetType* bound(ControlEnum control, WidgetType* widget) {
        widget->setObjectName(QStringLiteral("control%1").arg(static_cast<int>(control)));
        host_.bind(static_cast<int>(control), widget);
        return widget;
    }
    // Commits the number edit the user is typing in (its own rule runs first, as leaving it
    // would), then checks every number edit of the form as the accept button does: false (with
    // the message shown and the focus on the refused edit) when one holds text that is not a
    // number.
    bool validateNumberEdits();
    // The number field that has the keyboard focus when the form opens: by default the first
    // one in use.
    virtual NumberEdit* initialField() const;

    // A form larger than the screen's free area opens at that area's size (its layout and
    // scroll areas shrink).
    void fitIntoScreen();

  private:
    std::vector<std::pair<NumberEdit*, int>> numberEdits_;  // with their controls
    std::function<std::string(int)> fieldHint_;
    bool shownBefore_ = false;
    bool handling_ = false;
    QtDialogHost host_;
};

}  // namespace ardelon::gui
