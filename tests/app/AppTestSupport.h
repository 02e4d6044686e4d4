#pragma once
// Test helper of the application shell: a recording main window.

#include <functional>
#include <string>
#include <vector>

#include "app/DocumentSession.h"

namespace ardelon::testing {

class FakeShellWindow : public ShellWindow {
  public:
    bool runModule(Module, CStenorDoc& workingCopy) override {
        seenByModule = workingCopy;
        if (edit)
            edit(workingCopy);
        return accept;
    }
    void setCaption(std::string_view caption) override { captions.emplace_back(caption); }
    void repaintViews() override { ++repaints; }

    bool accept = true;
    std::function<void(CStenorDoc&)> edit;  // what the user does in the module
    CStenorDoc seenByModule;
    std::vector<std::string> captions;
    int repaints = 0;
};

}  // namespace ardelon::testing
