#pragma once
// A DialogHost for tests: records every message, focus change and control state, and answers
// file choosers and nested dialogs from a script.

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "project/DialogHost.h"

namespace ardelon::testing {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;

    bool operator==(const RecordedMessage&) const = default;
};

// The number the host records for a dialog's control.
template <class Control>
int id(Control control) {
    return static_cast<int>(control);
}

// An OK box with the exclamation icon: how the dialogs refuse a value.
inline RecordedMessage exclamation(std::string_view text, std::string_view caption) {
    return {std::string(text), std::string(caption), MessageIcon::Exclamation, MessageButtons::Ok};
}

// What a step shows: the one refusal `text` under `caption`, or nothing when `text` is empty.
inline std::vector<RecordedMessage> refusalOrNone(std::string_view text, std::string_view caption) {
    return text.empty() ? std::vector<RecordedMessage>{} : std::vector{exclamation(text, caption)};
}

class FakeHost : public DialogHost {
  public:
    MessageAnswer showMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.push_back({std::string(text), std::string(caption), icon, buttons});
        if (answers.empty())  // unscripted: the affirmative answer
            return buttons >= MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void setFocus(int control) override { focus.push_back(control); }
    void setEnabled(int control, bool isEnabled) override { enabled[control] = isEnabled; }
    void setVisible(int control, bool isVisible) override { visible[control] = isVisible; }
    std::optional<std::string> chooseFileToOpen(std::string_view filter,
                                                std::string_view) override {
        return nextFile(filter);
    }
    std::optional<std::string> chooseFileToSave(std::string_view filter, std::string_view,
                                                std::string_view) override {
        return nextFile(filter);
    }
    bool runModal(ModalDialog& dialog) override {
        modalCaptions.emplace_back(dialog.caption());
        if (modalScript.empty())
            return false;
        auto step = std::move(modalScript.front());
        modalScript.pop_front();
        return step(dialog);
    }
    void setProgress(int position, int maximum) override {
        progress.emplace_back(position, maximum);
    }
    void refresh() override {}

    // The last message, or an empty one when none was shown.
    RecordedMessage lastMessage() const {
        return messages.empty() ? RecordedMessage{} : messages.back();
    }
    std::optional<int> lastFocus() const {
        return focus.empty() ? std::nullopt : std::optional<int>(focus.back());
    }
    bool isVisible(int control) const { return visible.contains(control) && visible.at(control); }
    bool isEnabled(int control) const { return enabled.contains(control) && enabled.at(control); }
    void clear() {
        messages.clear();
        focus.clear();
    }
    // States of several controls at once, one '1' or '0' per control in the order given.
    template <class Control>
    std::string enabledOf(std::initializer_list<Control> controls) const {
        return flagsOf(enabled, controls);
    }
    template <class Control>
    std::string visibleOf(std::initializer_list<Control> controls) const {
        return flagsOf(visible, controls);
    }

    std::vector<RecordedMessage> messages;
    std::deque<MessageAnswer> answers;  // scripted answers to the next message boxes
    std::vector<int> focus;
    std::map<int, bool> enabled;
    std::map<int, bool> visible;
    std::deque<std::optional<std::string>> files;  // scripted answers of the file choosers
    std::vector<std::string> fileFilters;
    // Scripted nested dialogs: each step may edit the dialog and returns whether it was accepted.
    std::deque<std::function<bool(ModalDialog&)>> modalScript;
    std::vector<std::string> modalCaptions;
    std::vector<std::pair<int, int>> progress;

  private:
    // The next scripted file choice; none (cancelled) when the script has run out.
    std::optional<std::string> nextFile(std::string_view filter) {
        fileFilters.emplace_back(filter);
        if (files.empty())
            return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    template <class Control>
    static std::string flagsOf(const std::map<int, bool>& states,
                               std::initializer_list<Control> controls) {
        std::string flags;
        for (Control c : controls)
            flags +=
                states.contains(static_cast<int>(c)) && states.at(static_cast<int>(c)) ? '1' : '0';
        return flags;
    }
};

}  // namespace ardelon::testing
