#include "traffic/CEsalDataDlg.h"

#include <algorithm>
#include <cmath>

namespace ardelon {
namespace {

// Bins 8 and 9 hold 17- and 19-kip axles: one just under and one just over the 18-kip
// standard axle, so that half of each averages one ESAL per axle.
constexpr int kLighterBin = 8;
constexpr int kHeavierBin = 9;

// Writes the ESAL traffic into any record holding the named fields.
template <typename Traffic>
void applyEsalTraffic(double esals, Traffic& t, BinArray& singleCdf) {
    t.axleTypeFraction = {1, 0, 0, 0};
    for (int k = 0; k < kBinCount; ++k) {
        singleCdf[static_cast<size_t>(k)] = k < kLighterBin ? 0.0 : k == kLighterBin ? 0.5 : 1.0;
    }
    // Axle counts, not percentages: half the ESALs in each of the two bins, whole axles only.
    const double half = std::trunc(esals * 0.5);
    t.loadSpectra[Single][kLighterBin] = half;
    t.loadSpectra[Single][kHeavierBin] = half;
    t.totalAxlePercent = esals;
    t.configurationEnabled = {1, 0, 0, 0};
}

}  // namespace

CEsalDataDlg::CEsalDataDlg(const CStenorDoc& doc)
    : expectedEsals(doc.expectedEsals),
      axleTypeFraction(doc.axleTypeFraction),
      configurationEnabled(doc.configurationEnabled),
      totalAxlePercent(doc.totalAxlePercent),
      singleLoadCdf(doc.loadCdf[Single]),
      loadSpectra(doc.loadSpectra),
      unitSystem(doc.unitSystem) {}

void CEsalDataDlg::copyToProject(CStenorDoc& doc) const {
    doc.expectedEsals = expectedEsals;
    doc.axleTypeFraction = axleTypeFraction;
    doc.configurationEnabled = configurationEnabled;
    doc.totalAxlePercent = totalAxlePercent;
    doc.loadCdf[Single] = singleLoadCdf;
    doc.loadSpectra = loadSpectra;
}

bool CEsalDataDlg::acceptEsalData(DialogHost& host) {
    if (!(expectedEsals >= 0)) {
        host.showMessage(kNegativeEsalsText, kNumberOutOfRangeCaption, MessageIcon::Exclamation);
        host.setFocus(static_cast<int>(Control::ExpectedEsals));
        return false;
    }
    if (const std::string replaced = replacedSpectra(); !replaced.empty()) {
        const auto& words = unitSystem == Metric ? kMetricReplaceText : kReplaceText;
        const std::string text = std::string(words[0]) + replaced + std::string(words[1]);
        if (host.showMessage(text, kReplaceCaption, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return false;
    }
    applyEsalTraffic(expectedEsals, *this, singleLoadCdf);
    return true;
}

std::string CEsalDataDlg::replacedSpectra() const {
    BinArray esalCdf{};
    for (int k = 0; k < kBinCount; ++k)
        esalCdf[static_cast<size_t>(k)] = k < kLighterBin ? 0.0 : k == kLighterBin ? 0.5 : 1.0;
    if (configurationEnabled == std::array<int, kConfigurationCount>{1, 0, 0, 0} &&
        singleLoadCdf == esalCdf)
        return "";  // an ESAL traffic already: only its count changes
    std::string names;
    for (int c = 0; c < kConfigurationCount; ++c) {
        const auto& row = loadSpectra[static_cast<std::size_t>(c)];
        const bool filled = std::any_of(row.begin(), row.end(), [](double v) { return v != 0; });
        if (filled && configurationEnabled[static_cast<std::size_t>(c)] != 0) {
            names += names.empty() ? "" : ", ";
            names += kConfigurationNames[static_cast<std::size_t>(c)];
        }
    }
    return names;
}

void applyEsalData(CStenorDoc& doc) {
    applyEsalTraffic(doc.expectedEsals, doc, doc.loadCdf[Single]);
}

}  // namespace ardelon
