#pragma once
// The screen as a dialog's rules see it.
//
// Every dialog is a plain class that holds its working copy as members and implements its rules
// handler by handler. It reaches the screen only through this interface: the desktop forms
// implement it with widgets, the tests with a recording fake. Controls are named by each
// dialog's own enum, passed here as an int. Reading and writing the controls is the form's job:
// the form copies widget values into the dialog's members before a handler runs and shows the
// members again after it returns.

#include <optional>
#include <string>
#include <string_view>

namespace ardelon {

enum class MessageIcon { None, Exclamation, Information, Question, Stop };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A dialog that another dialog opens modally (the vehicle types from the Load Spectra module,
// the criteria from the Structure module, ...). The host finds the form for it by its kind.
class ModalDialog {
  public:
    virtual ~ModalDialog() = default;
    virtual std::string_view caption() const = 0;
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    virtual MessageAnswer showMessage(std::string_view text, std::string_view caption,
                                      MessageIcon icon,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;
    virtual void setFocus(int control) = 0;
    virtual void setEnabled(int control, bool enabled) = 0;
    virtual void setVisible(int control, bool visible) = 0;

    // File choosers; an empty optional means the user cancelled. `filter` is in the form
    // "Ardelon Files (*.ard)"; `defaultExtension` (".lsf") is added to a name typed without one.
    virtual std::optional<std::string> chooseFileToOpen(std::string_view filter,
                                                        std::string_view initialName) = 0;
    virtual std::optional<std::string> chooseFileToSave(std::string_view filter,
                                                        std::string_view initialName,
                                                        std::string_view defaultExtension) = 0;

    // Runs a nested dialog modally; true when the user accepted it.
    virtual bool runModal(ModalDialog& dialog) = 0;

    // Progress of a long operation (the analysis run): range 0 to `maximum`.
    virtual void setProgress(int position, int maximum) { (void)position, (void)maximum; }
    // The form should show the dialog's members again (once per analysis cycle, say).
    virtual void refresh() {}
};

// The application title, the caption of the framework's number-entry messages.
inline constexpr std::string_view kApplicationTitle = "Ardelon";

}  // namespace ardelon
