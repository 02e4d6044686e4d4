#pragma once
// Helpers of the widget tests: message boxes and file choosers answered from a script, and
// closing whatever modal dialog is open.

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QList>
#include <QString>
#include <deque>
#include <optional>

#include "gui/QtDialogHost.h"
#include "project/CStenorDoc.h"

namespace ardelon::testing {

// Records every message box instead of showing it and answers from `answers` (then Ok / Yes).
struct MessageRecorder {
    MessageRecorder();
    ~MessageRecorder();

    QList<gui::MessageRequest> messages;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<QString>> files;  // answers of the file choosers
};

// Runs `inspect` on the next modal dialog that opens, then closes it with reject() unless
// `inspect` closed it already.
void whenDialogOpens(std::function<void(QDialog*)> inspect);

// The widget of a form bound to `control` of its dialog.
template <typename Widget, typename ControlEnum>
Widget* control(QWidget& form, ControlEnum c) {
    auto* found = form.findChild<Widget*>(QStringLiteral("control%1").arg(static_cast<int>(c)));
    if (found == nullptr)
        qFatal("no control %d", static_cast<int>(c));
    return found;
}

// Shows `form` and makes it the active window, as a click on it would.
void activate(QWidget& form);
// Types `text` into `edit` and leaves it for `next` with Tab, as a user would.
void typeAndLeave(QLineEdit* edit, const QString& text, QWidget* next);
// "caption: text" of the only message recorded, or how many there were.
QString onlyMessage(const MessageRecorder& recorder);
// How many colours every other pixel of every other row shows: only a few means that nothing but
// the background was drawn.
int colourCount(const QImage& image);

// The interstate example as View Output hands it to the Output and Design module.
CStenorDoc interstateProject();

}  // namespace ardelon::testing
