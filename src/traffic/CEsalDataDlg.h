#pragma once
// "ESAL Data (F1 for Help)": the traffic as a single number of equivalent single axle loads. On
// accept the traffic becomes single axles of 17 and 19 kips, half and half, which average one
// ESAL each; the analysis then draws those two loads with equal probability.

#include <array>
#include <string>
#include <string_view>

#include "project/CStenorDoc.h"
#include "project/DialogHost.h"
#include "project/FieldHint.h"

namespace ardelon {

class CEsalDataDlg {
  public:
    enum class Control : int { ExpectedEsals = 1, Ok, Cancel };

    static constexpr std::string_view kCaption = "ESAL Data (F1 for Help)";
    static constexpr std::string_view kExpectedEsalsLabel =
        "Expected Number of Equivalent Single Axle Loads, ESALs";
    static constexpr std::string_view kOkButton = "OK";
    static constexpr std::string_view kCancelButton = "Cancel";
    static constexpr std::string_view kNegativeEsalsText =
        "The expected number of ESALs cannot be negative.";
    static constexpr std::string_view kNumberOutOfRangeCaption = "Number Out of Range";
    // Before load spectra are replaced, the engineer confirms, told which ones.
    static constexpr std::string_view kReplaceCaption = "Replace the Load Spectra?";
    static constexpr std::array<std::string_view, 2> kReplaceText = {
        "The load spectra of the ",
        " axles will be replaced by single axles of 17 and 19 kips, half and half, and every "
        "other axle configuration will be turned off. Replace them?"};
    // The same in a metric project: 17 and 19 kips in kN, in the bins as the Load Spectra form
    // labels them.
    static constexpr std::array<std::string_view, 2> kMetricReplaceText = {
        "The load spectra of the ",
        " axles will be replaced by single axles of 76 and 85 kN (the 71-80 and 80-89 kN bins), "
        "half and half, and every other axle configuration will be turned off. Replace them?"};

    CEsalDataDlg() = default;
    explicit CEsalDataDlg(const CStenorDoc& doc);
    // The fields the ESAL Data command copies back on OK (only the Single row of loadCdf).
    void copyToProject(CStenorDoc& doc) const;

    // "OK": replaces the traffic by single axles of 17 and 19 kips. A negative number of ESALs
    // is refused with a message and the focus on the edit; load spectra other than an earlier
    // ESAL traffic are replaced only when the engineer confirms. False when refused or declined.
    bool acceptEsalData(DialogHost& host);
    // "Single, Tandem" for the configurations in use whose spectra accepting would replace; ""
    // when there are none or they are an ESAL traffic already.
    std::string replacedSpectra() const;
    // The tooltip of the ESALs edit.
    static FieldHint hint(Control control);

    double expectedEsals = 1000000;
    std::array<double, kConfigurationCount> axleTypeFraction{};
    std::array<int, kConfigurationCount> configurationEnabled{1, 0, 0, 0};
    double totalAxlePercent = 0;
    BinArray singleLoadCdf{};  // row Single of loadCdf
    Table<kConfigurationCount, kBinCount> loadSpectra{};
    int unitSystem = English;  // the question's units
};

// The ESAL route on a project with its expectedEsals, as accepting the dialog would. The number
// must not be negative (checked by the caller).
void applyEsalData(CStenorDoc& doc);

}  // namespace ardelon
