#pragma once
// The fixed texts of the application shell: captions and the About box (the disclaimer is
// the Disclaimer dialog's, output/CDisclaimerDlg.h).

#include <string_view>

namespace ardelon {

// The main window's caption at start-up, and the suffix of "<title> - Ardelon" once
// a project has a title.
inline constexpr std::string_view kStartCaption = "Ardelon 4.4";
inline constexpr std::string_view kFrameTitle = "Ardelon";
inline constexpr std::string_view kUntitled = "Untitled";

inline constexpr std::string_view kAboutCaption = "About Ardelon 4.4";
inline constexpr std::string_view kAboutProgram = "Ardelon 4.4";
inline constexpr std::string_view kAboutCredit =
    "Mechanistic design of perpetual asphalt pavements, developed by the Ardelon team";
inline constexpr std::string_view kAboutRelease = "Release:  September 2017";

// Captions of the modules and smaller dialogs the project commands open.
inline constexpr std::string_view kStructureCaption =
    "Structural and Seasonal Information   (F1 for Help)";
inline constexpr std::string_view kLoadSpectraCaption = "Loading Conditions (F1 for Help)";
inline constexpr std::string_view kOutputCaption = "Output & Design Module (F1 for Help)";
inline constexpr std::string_view kEsalDataCaption = "ESAL Data (F1 for Help)";
inline constexpr std::string_view kTransferFunctionsCaption = "Transfer Functions (F1 for Help)";

// File dialogs of the project file.
inline constexpr std::string_view kProjectFilter = "Ardelon Files (*.ard)";
inline constexpr std::string_view kProjectExtension = ".ard";

}  // namespace ardelon
