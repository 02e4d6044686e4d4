#pragma once
// The "Please Note..." confirmation of the Output and Design module before a run.

#include <array>
#include <string_view>

#include "project/DialogHost.h"

namespace ardelon {

// The confirmation before a run; `doNotWarn` is the check box.
class CPleaseNoteDlg : public ModalDialog {
  public:
    static constexpr std::string_view kCaption = "Please Note...";
    static constexpr std::array<std::string_view, 3> kLines{
        "The reliability analysis calculations may take a",
        "significant amount of time to complete.  If you wish",
        "to proceed, click OK, otherwise, Cancel."};
    static constexpr std::string_view kCheckBoxText =
        "Check this box if you do not want to receive this warning again.";
    std::string_view caption() const override { return kCaption; }
    bool doNotWarn = false;
};

}  // namespace ardelon
