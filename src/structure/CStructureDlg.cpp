#include "structure/CStructureDlg.h"

#include <algorithm>
#include <string>

#include "criteria/LayerCriteriaDialog.h"
#include "project/Rounding.h"
#include "project/Units.h"
#include "structure/AcTemperature.h"
#include "structure/CInputVariabilityDlg.h"
#include "structure/MaterialProperties.h"
#include "structure/StructureDlgSupport.h"

namespace ardelon {
using namespace structure_detail;

Control CStructureDlg::materialList(int layer) {
    return pick(layer - 1, {Control::Material1, Control::Material2, Control::Material3,
                            Control::Material4, Control::Material5});
}
Control CStructureDlg::pgHighList(int layer) {
    return pick(layer - 1,
                {Control::PgHigh1, Control::PgHigh2, Control::PgHigh3, Control::PgHigh4});
}
Control CStructureDlg::pgLowList(int layer) {
    return pick(layer - 1, {Control::PgLow1, Control::PgLow2, Control::PgLow3, Control::PgLow4});
}
Control CStructureDlg::modulusEdit(int layer) {
    return static_cast<Control>(toInt(Control::Modulus1) + std::clamp(layer, 1, 5) - 1);
}
Control CStructureDlg::minModulusField(int layer) {
    return pick(layer - 1, {Control::MinModulus1, Control::MinModulus2, Control::MinModulus3,
                            Control::MinModulus4, Control::MinModulus5});
}
Control CStructureDlg::maxModulusField(int layer) {
    return pick(layer - 1, {Control::MaxModulus1, Control::MaxModulus2, Control::MaxModulus3,
                            Control::MaxModulus4, Control::MaxModulus5});
}
Control CStructureDlg::poissonEdit(int layer) {
    return static_cast<Control>(toInt(Control::Poisson1) + std::clamp(layer, 1, 5) - 1);
}
Control CStructureDlg::minPoissonField(int layer) {
    return pick(layer - 1, {Control::MinPoisson1, Control::MinPoisson2, Control::MinPoisson3,
                            Control::MinPoisson4, Control::MinPoisson5});
}
Control CStructureDlg::maxPoissonField(int layer) {
    return pick(layer - 1, {Control::MaxPoisson1, Control::MaxPoisson2, Control::MaxPoisson3,
                            Control::MaxPoisson4, Control::MaxPoisson5});
}
Control CStructureDlg::thicknessEdit(int layer) {
    return static_cast<Control>(toInt(Control::Thickness1) + std::clamp(layer, 1, 4) - 1);
}
Control CStructureDlg::variabilityButton(int layer) {
    return static_cast<Control>(toInt(Control::Variability1) + std::clamp(layer, 1, 5) - 1);
}
Control CStructureDlg::criteriaButton(int layer) {
    return static_cast<Control>(toInt(Control::Criteria1) + std::clamp(layer, 1, 5) - 1);
}
Control CStructureDlg::layerCountButton(int layers) {
    return static_cast<Control>(toInt(Control::Layers2) + std::clamp(layers, 2, 5) - 2);
}
Control CStructureDlg::seasonCheck(int season) {
    return pick(season - 1, {Control::FallCheck, Control::WinterCheck, Control::SpringCheck,
                             Control::Spring2Check});
}
Control CStructureDlg::durationEdit(int season) {
    return static_cast<Control>(toInt(Control::DurationSummer) + std::clamp(season, 0, 4));
}
Control CStructureDlg::temperatureEdit(int season) {
    return static_cast<Control>(toInt(Control::TemperatureSummer) + std::clamp(season, 0, 4));
}

// ----- state ---------------------------------------------------------------------------------

MaterialType CStructureDlg::materialTypeOf(int layer) const {
    return materialOf(layer, materialIndex[at(layer - 1)]);
}

bool CStructureDlg::isAc(int layer) const {
    return layer >= 1 && layer <= kThicknessCount && materialTypeOf(layer) == MaterialType::AC;
}

void CStructureDlg::setMaterialIndex(int layer, MaterialType material) {
    const int index = materialIndexOf(layer, material);
    // Every layer below the bottom offers the bottom materials, so the index always exists.
    if (index >= 0)
        materialIndex[at(layer - 1)] = index;
}

bool CStructureDlg::isVisible(Control control) const {
    const int n = layerCount();
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        // A PG grade belongs to an asphalt layer of finite thickness.
        if (control == pgHighList(layer) || control == pgLowList(layer)) {
            return layer < n && isAc(layer);
        }
    }
    return true;
}

bool CStructureDlg::isEnabled(Control control) const {
    const int n = layerCount();
    for (int layer = 2; layer <= kThicknessCount; ++layer) {
        if (control == thicknessEdit(layer))
            return layer < n;  // above the bottom only
    }
    for (int layer = 3; layer <= kLayerCount; ++layer) {
        if (control == materialList(layer) || control == modulusEdit(layer) ||
            control == poissonEdit(layer) || control == variabilityButton(layer) ||
            control == criteriaButton(layer)) {
            return layer <= n;
        }
    }
    for (int s = Fall; s < kSeasonCount; ++s) {
        if (control == durationEdit(s) || control == temperatureEdit(s)) {
            return seasonEnabled[at(s)] != 0;
        }
    }
    return true;
}

void CStructureDlg::showControlStates(DialogHost& host) const {
    auto report = [&](Control c) {
        host.setEnabled(toInt(c), isEnabled(c));
        host.setVisible(toInt(c), isVisible(c));
    };
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        report(materialList(layer));
        report(modulusEdit(layer));
        report(poissonEdit(layer));
        report(variabilityButton(layer));
        report(criteriaButton(layer));
        if (layer <= kThicknessCount) {
            report(thicknessEdit(layer));
            report(pgHighList(layer));
            report(pgLowList(layer));
        }
    }
    for (int s = Summer; s < kSeasonCount; ++s) {
        report(durationEdit(s));
        report(temperatureEdit(s));
    }
}

double CStructureDlg::displayModulus(double psi) const {
    return isMetric() ? roundHalfUpThreeDecimals(psi * units::kPsiToMpa) : roundHalfUpWhole(psi);
}

double CStructureDlg::modulusPsi(double displayed) const {
    return roundHalfUpWhole(isMetric() ? displayed * units::kMpaToPsi : displayed);
}

void CStructureDlg::refreshModulusRow() {
    for (int layer = 0; layer < kLayerCount; ++layer) {
        layerModulus[at(layer)] = displayModulus(seasonalModulus[at(layer)][at(currentSeason)]);
    }
}

void CStructureDlg::recomputeDepths() {
    // The temperature relationship works in inches.
    std::array<double, kThicknessCount> inches = thickness;
    if (valuesInEnglish == 0) {
        for (double& h : inches)
            h *= units::kCmToInch;
    }
    evaluationDepth = evaluationDepths(inches);
}

void CStructureDlg::recomputeAcModulus(int layer, int season) {
    const size_t l = at(layer - 1);
    seasonalModulus[l][at(season)] = roundHalfUpWhole(acModulusFromTemperature(
        meanAirTemperature[at(season)], evaluationDepth[l], pgHighIndex[l]));
}

void CStructureDlg::recomputeAcModuli(int layer) {
    for (int s = Summer; s < kSeasonCount; ++s) {
        if (s == Summer || seasonEnabled[at(s)] != 0)
            recomputeAcModulus(layer, s);
    }
}

// ----- opening -------------------------------------------------------------------------------

void CStructureDlg::onInitDialog(DialogHost& host) {
    showInUnitSystem();
    showControlStates(host);
}

void CStructureDlg::showInUnitSystem() {
    // A foreign file may hold values outside the lists; keep every index inside its table.
    layerCountIndex = std::clamp(layerCountIndex, 0, 3);
    appliedLayerCountIndex_ = layerCountIndex;
    if (currentSeason < Summer || currentSeason >= kSeasonCount)
        currentSeason = Summer;
    seasonEnabled[Summer] = 1;

    if (isMetric() && valuesInEnglish == 1) {
        for (int l = 0; l < kLayerCount; ++l) {
            minModulus[at(l)] *= units::kPsiToMpa;
            maxModulus[at(l)] *= units::kPsiToMpa;
        }
        for (double& h : thickness)
            h *= units::kInchToCm;
        valuesInEnglish = 0;
    } else if (!isMetric() && valuesInEnglish == 0) {
        for (int l = 0; l < kLayerCount; ++l) {
            minModulus[at(l)] *= units::kMpaToPsi;
            maxModulus[at(l)] *= units::kMpaToPsi;
        }
        for (double& h : thickness)
            h *= units::kCmToInch;
        valuesInEnglish = 1;
    }
    const double acTemperatureF = seasonAcTemperature[at(currentSeason)];
    acSurfaceTemperature = isMetric() ? units::fahrenheitToCelsius(acTemperatureF) : acTemperatureF;

    for (int l = 0; l < kLayerCount; ++l) {
        minModulus[at(l)] = isMetric() ? roundHalfUpThreeDecimals(minModulus[at(l)])
                                       : roundHalfUpWhole(minModulus[at(l)]);
        maxModulus[at(l)] = isMetric() ? roundHalfUpThreeDecimals(maxModulus[at(l)])
                                       : roundHalfUpWhole(maxModulus[at(l)]);
        poisson[at(l)] = roundHalfUpTwoDecimals(poisson[at(l)]);
    }
    for (double& h : thickness)
        h = roundHalfUpTwoDecimals(h);
    recomputeDepths();
    refreshModulusRow();
}

void applyUnitSystem(CStenorDoc& doc) {
    CStructureDlg dialog;
    dialog.loadFrom(doc);
    dialog.showInUnitSystem();
    dialog.storeTo(doc);
}

// ----- nested dialogs and closing -----------------------------------------------------------

void CStructureDlg::onVariability(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const size_t l = at(layer - 1);
    const bool hasThickness = layer <= kThicknessCount;
    CInputVariabilityDlg dialog;
    dialog.materialType = static_cast<int>(materialTypeOf(layer));
    dialog.layer = layer;
    dialog.layerCountIndex = layerCountIndex;
    dialog.modulusDistribution = modulusDistribution[l];
    dialog.modulusCov = modulusCov[l];
    dialog.thicknessDistribution =
        hasThickness ? thicknessDistribution[l] : CInputVariabilityDlg::kNoSelection;
    dialog.thicknessCov = hasThickness ? thicknessCov[l] : 0.0;
    if (!host.runModal(dialog))
        return;
    modulusDistribution[l] = dialog.modulusDistribution;
    modulusCov[l] = dialog.modulusCov;
    if (hasThickness) {
        thicknessDistribution[l] = dialog.thicknessDistribution;
        thicknessCov[l] = dialog.thicknessCov;
    }
}

void CStructureDlg::onCriteria(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    LayerCriteriaDialog dialog(layer, layer == layerCount(), criteria, enduranceLimit);
    dialog.transferCoefficient = transferCoefficient;
    dialog.unitSystem = unitSystem;
    if (!host.runModal(dialog))
        return;
    criteria = dialog.slots;
    enduranceLimit = dialog.enduranceLimit;
}

bool CStructureDlg::onOk(DialogHost& host) {
    // A negative duration could balance the sum while the season sampling skips it.
    for (int s = Summer; s < kSeasonCount; ++s) {
        if (seasonWeeks[at(s)] < 0) {
            host.showMessage(kNegativeDurationText, kDurationCaption, MessageIcon::Exclamation);
            host.setFocus(toInt(durationEdit(s)));
            return false;
        }
    }
    // Every duration counts, also that of a season that is off.
    long long weeks = 0;  // wide enough for any five stored durations
    for (int w : seasonWeeks) {
        weeks += w;
    }
    if (weeks != kWeeksPerYear) {
        host.showMessage(kDurationText, kDurationCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(Control::DurationSummer));
        return false;
    }
    // A modulus refused while it was typed must not reach the project through its mirror.
    refreshModulusRow();
    return true;
}

}  // namespace ardelon
