#include "structure/CStructureDlg.h"

#include <string>

#include "structure/AcTemperature.h"
#include "structure/StructureDlgSupport.h"

namespace ardelon {

using namespace structure_detail;

// ----- seasons -------------------------------------------------------------------------------

void CStructureDlg::onSeasonCheckChanged(DialogHost& host, int season) {
    if (season < Fall || season >= kSeasonCount)
        return;
    if (seasonEnabled[at(season)] != 0) {
        currentSeason = season;
        // The season's AC moduli may date from before a thickness or grade change made while
        // it was off; bring them in line with its temperature.
        if (temperatureCorrection != 0) {
            recomputeDepths();
            for (int j = 1; j <= kThicknessCount; ++j) {
                if (isAc(j))
                    recomputeAcModulus(j, season);
            }
        }
        showControlStates(host);
        host.setFocus(toInt(durationEdit(season)));
    } else {
        seasonWeeks[at(season)] = 0;
        currentSeason = Summer;
        showControlStates(host);
    }
    refreshModulusRow();
}

void CStructureDlg::onCurrentSeasonChanged(DialogHost& host) {
    if (currentSeason < Summer || currentSeason >= kSeasonCount)
        currentSeason = Summer;
    if (currentSeason != Summer && seasonEnabled[at(currentSeason)] == 0) {
        host.showMessage(kSeasonNotSelectedText[at(currentSeason)], kSeasonCaption,
                         MessageIcon::Exclamation);
        currentSeason = Summer;
    }
    refreshModulusRow();
}

void CStructureDlg::onSeasonEditFocused(DialogHost& host, int season) {
    currentSeason = season;
    onCurrentSeasonChanged(host);
}

std::string CStructureDlg::weeksTotalText() const {
    long long weeks = 0;  // every duration counts, as when the form is accepted
    for (int w : seasonWeeks)
        weeks += w;
    return "Total: " + std::to_string(weeks) + " of " + std::to_string(kWeeksPerYear) + " weeks";
}

void CStructureDlg::onMeanAirTemperatureChanged(DialogHost& host, int season) {
    (void)host;
    if (season < Summer || season >= kSeasonCount)
        return;
    currentSeason = season;
    recomputeDepths();
    if (temperatureCorrection != 0) {
        for (int j = 1; j <= kThicknessCount; ++j) {
            if (isAc(j))
                recomputeAcModulus(j, season);
        }
    }
    refreshModulusRow();
}

void CStructureDlg::onTemperatureCorrectionChanged(DialogHost& host) {
    (void)host;
    if (temperatureCorrection == 0)
        return;  // the moduli stay as they are
    recomputeDepths();
    for (int j = 1; j <= kThicknessCount; ++j) {
        if (isAc(j))
            recomputeAcModuli(j);
    }
    refreshModulusRow();
}

}  // namespace ardelon
