#pragma once
// The screen side of the dialog pattern: message boxes, file choosers, focus and control state
// through Qt widgets. Message boxes and file choosers go through replaceable handlers so that the
// widget tests can answer them without a person at the keyboard.

#include <QDialog>
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <type_traits>
#include <vector>

#include "project/DialogHost.h"

namespace ardelon::gui {

struct MessageRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};
using MessageHandler = std::function<MessageAnswer(QWidget* parent, const MessageRequest&)>;

struct FileRequest {
    bool save = false;
    QString filter;  // "Ardelon Files (*.ard)"
    QString initialName;
    QString defaultSuffix;  // "ard", without the dot
    bool folder = false;    // a folder to write into, not a file
};
using FileHandler = std::function<std::optional<QString>(QWidget* parent, const FileRequest&)>;

// Shows a message box (or hands it to the installed handler). Texts with CR LF line breaks are
// shown with plain line breaks.
MessageAnswer showMessageBox(QWidget* parent, const MessageRequest& request);
std::optional<QString> chooseFile(QWidget* parent, const FileRequest& request);
// A chooser filter in Qt's form: a Windows-style "Name (*.x)|*.x|...||" filter becomes
// "Name (*.x);;...", each name showing the pattern it filters on; a filter already in Qt's form
// is returned as it is.
QString qtFileFilter(const QString& filter);

// Installs a handler in place of the real boxes; an empty function restores them.
void setMessageHandler(MessageHandler handler);
void setFileHandler(FileHandler handler);

// A nested dialog's form: runs `dialog` modally over `parent` if it is of the form's kind and
// returns whether it was accepted; std::nullopt when the dialog is not of its kind.
using NestedForm = std::function<std::optional<bool>(ModalDialog& dialog, QWidget* parent)>;
void registerNestedForm(NestedForm form);
// Registers the forms and returns true, so that a module registers its forms once:
// `static const bool registered = registerNestedForms({...});`.
bool registerNestedForms(std::initializer_list<NestedForm> forms);

// The nested form that runs every dialog of class `Dialog` as `Form(dialog, parent)`, or as
// `Form(parent)` when the form has nothing of the dialog to edit.
template <class Dialog, class Form>
NestedForm nestedForm() {
    return [](ModalDialog& dialog, QWidget* parent) -> std::optional<bool> {
        auto* typed = dynamic_cast<Dialog*>(&dialog);
        if (!typed)
            return std::nullopt;
        if constexpr (std::is_constructible_v<Form, Dialog&, QWidget*>) {
            Form form(*typed, parent);
            return form.exec() == QDialog::Accepted;
        } else {
            Form form(parent);
            return form.exec() == QDialog::Accepted;
        }
    };
}

class QtDialogHost : public DialogHost {
  public:
    explicit QtDialogHost(QWidget* owner) : owner_(owner) {}

    // Names a widget as one of the dialog's controls.
    void bind(int control, QWidget* widget) { controls_[control] = widget; }
    QWidget* control(int control) const;

    MessageAnswer showMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok) override;
    void setFocus(int control) override;
    void setEnabled(int control, bool enabled) override;
    void setVisible(int control, bool visible) override;
    std::optional<std::string> chooseFileToOpen(std::string_view filter,
                                                std::string_view initialName) override;
    std::optional<std::string> chooseFileToSave(std::string_view filter,
                                                std::string_view initialName,
                                                std::string_view defaultExtension) override;
    bool runModal(ModalDialog& dialog) override;

  private:
    QWidget* owner_;
    std::map<int, QWidget*> controls_;
};

QString toQString(std::string_view text);

}  // namespace ardelon::gui
