#pragma once
// The fixed texts of the application shell: captions, the About box and the disclaimer.

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

inline constexpr std::string_view kDisclaimerCaption = "Disclaimer";
inline constexpr std::string_view kDisclaimerText =
    "Ardelon is currently intended as a mechanistic\r\n"
    "pavement design tool.  It should be used in\r\n"
    "conjunction with applicable design standards.\r\n"
    "As always, design thicknesses must pass the test\r\n"
    "of reasonableness to ensure an economical\r\n"
    "design that will perform satisfactorily over\r\n"
    "the expected pavement life.";

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
