#pragma once
// The Disclaimer dialog, opened from the Info menu and from the Output and Design module.

#include <string>
#include <string_view>

#include "project/DialogHost.h"

namespace ardelon {

// The program's disclaimer, shown from the Info menu and from the module.
inline constexpr std::string_view kDisclaimerText =
    "Ardelon is currently intended as a mechanistic\r\npavement design tool.  It should be used "
    "in\r\nconjunction with applicable design standards.\r\nAs always, design thicknesses must "
    "pass the test\r\nof reasonableness to ensure an economical\r\ndesign that will perform "
    "satisfactorily over\r\nthe expected pavement life.";

class CDisclaimerDlg : public ModalDialog {
  public:
    static constexpr std::string_view kCaption = "Disclaimer";
    std::string_view caption() const override { return kCaption; }
    std::string text{kDisclaimerText};
};

}  // namespace ardelon
