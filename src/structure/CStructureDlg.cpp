#include "structure/CStructureDlg.h"

#include <algorithm>
#include <string>

#include "criteria/LayerCriteriaDialog.h"
#include "project/Rounding.h"
#include "project/Units.h"
#include "structure/AcTemperature.h"
#include "structure/CInputVariabilityDlg.h"
#include "structure/MaterialProperties.h"

namespace ardelon {
namespace {

using Control = CStructureDlg::Control;

int toInt(Control c) {
    return static_cast<int>(c);
}
size_t at(int layerOrSeason) {
    return static_cast<size_t>(layerOrSeason);
}

Control pick(int index, std::initializer_list<Control> controls) {
    return *(controls.begin() + std::clamp(index, 0, static_cast<int>(controls.size()) - 1));
}

// Moduli shown in MPa keep three decimals: whole MPa would move a 50000 psi limit to 345 MPa
// (50038 psi) and turn the 50 psi minimum of Other into 0.
double roundHalfUpThreeDecimals(double value) {
    return roundHalfUpWhole(value * 1000.0) / 1000.0;
}

}  // namespace

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

// ----- copy in and out ---------------------------------------------------------------------

void CStructureDlg::loadFrom(const CStenorDoc& doc) {
    unitSystem = doc.unitSystem;
    valuesInEnglish = doc.valuesInEnglish;
    layerCountIndex = doc.layerCountIndex;
    materialIndex = doc.materialIndex;
    thickness = doc.thickness;
    layerModulus = doc.layerModulus;
    seasonalModulus = doc.seasonalModulus;
    minModulus = doc.minModulus;
    maxModulus = doc.maxModulus;
    poisson = doc.poisson;
    minPoisson = doc.minPoisson;
    maxPoisson = doc.maxPoisson;
    slipValue = doc.slipValue;
    interfaceBond = doc.interfaceBond;
    pgHighIndex = doc.pgHighIndex;
    pgLowIndex = doc.pgLowIndex;
    fatigueLayer = doc.fatigueLayer;
    // Summer is always in use; only the optional seasons travel.
    for (int s = Fall; s < kSeasonCount; ++s)
        seasonEnabled[at(s)] = doc.seasonEnabled[at(s)];
    seasonWeeks = doc.seasonWeeks;
    currentSeason = doc.currentSeason;
    meanAirTemperature = doc.meanAirTemperature;
    temperatureCorrection = doc.temperatureCorrection;
    seasonAcTemperature = doc.seasonAcTemperature;
    acSurfaceTemperature = doc.acSurfaceTemperature;
    acTempCoefficient = doc.acTempCoefficient;
    modulusDistribution = doc.modulusDistribution;
    modulusCov = doc.modulusCov;
    thicknessDistribution = doc.thicknessDistribution;
    thicknessCov = doc.thicknessCov;
    criteria = doc.criteria;
    enduranceLimit = doc.enduranceLimit;
}

void CStructureDlg::storeTo(CStenorDoc& doc) const {
    doc.unitSystem = unitSystem;
    doc.valuesInEnglish = valuesInEnglish;
    doc.layerCountIndex = layerCountIndex;
    doc.materialIndex = materialIndex;
    doc.thickness = thickness;
    doc.layerModulus = layerModulus;
    doc.seasonalModulus = seasonalModulus;
    doc.minModulus = minModulus;
    doc.maxModulus = maxModulus;
    doc.poisson = poisson;
    doc.minPoisson = minPoisson;
    doc.maxPoisson = maxPoisson;
    doc.slipValue = slipValue;
    doc.interfaceBond = interfaceBond;
    doc.pgHighIndex = pgHighIndex;
    doc.pgLowIndex = pgLowIndex;
    doc.fatigueLayer = fatigueLayer;
    for (int s = Fall; s < kSeasonCount; ++s)
        doc.seasonEnabled[at(s)] = seasonEnabled[at(s)];
    doc.seasonWeeks = seasonWeeks;
    doc.currentSeason = currentSeason;
    doc.meanAirTemperature = meanAirTemperature;
    doc.temperatureCorrection = temperatureCorrection;
    doc.seasonAcTemperature = seasonAcTemperature;
    doc.acSurfaceTemperature = acSurfaceTemperature;
    doc.acTempCoefficient = acTempCoefficient;
    doc.modulusDistribution = modulusDistribution;
    doc.modulusCov = modulusCov;
    doc.thicknessDistribution = thicknessDistribution;
    doc.thicknessCov = thicknessCov;
    // The damage of the last analysis belongs to the Output module, not to this one.
    for (size_t i = 0; i < criteria.size(); ++i) {
        const double damage = doc.criteria[i].damagePerMillion;
        doc.criteria[i] = criteria[i];
        doc.criteria[i].damagePerMillion = damage;
    }
    doc.enduranceLimit = enduranceLimit;
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
    // A foreign file may hold values outside the lists; keep every index inside its table.
    layerCountIndex = std::clamp(layerCountIndex, 0, 3);
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
    showControlStates(host);
}

// ----- layer edits ---------------------------------------------------------------------------

void CStructureDlg::onThicknessChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kThicknessCount)
        return;
    double& h = thickness[at(layer - 1)];
    const bool inRange = isMetric() ? (h >= kMinThicknessCm && h <= kMaxThicknessCm)
                                    : (h >= kMinThicknessIn && h <= kMaxThicknessIn);
    if (!inRange) {
        // The value typed is kept: the engineer is told, not overruled.
        host.showMessage(isMetric() ? kHeightMetricText : kHeightText, kHeightCaption,
                         MessageIcon::Exclamation);
        host.setFocus(toInt(thicknessEdit(layer)));
    }
    h = roundHalfUpTwoDecimals(h);
    recomputeDepths();
    if (temperatureCorrection != 0) {
        // A thicker layer moves every layer below it deeper, where the asphalt is cooler.
        for (int j = layer; j <= kThicknessCount; ++j) {
            if (isAc(j))
                recomputeAcModuli(j);
        }
    }
    refreshModulusRow();
}

void CStructureDlg::onModulusChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const size_t l = at(layer - 1);
    const double value = layerModulus[l];
    if (!(value >= minModulus[l] && value <= maxModulus[l])) {
        host.showMessage(kModulusText, kModulusCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(modulusEdit(layer)));
        return;
    }
    const double psi = modulusPsi(value);
    seasonalModulus[l][at(currentSeason)] = psi;
    // The layers below the bottom layer are the same semi-infinite material.
    if (layer == layerCount()) {
        for (int j = layer + 1; j <= kLayerCount; ++j) {
            seasonalModulus[at(j - 1)][at(currentSeason)] = psi;
        }
    }
    refreshModulusRow();
}

void CStructureDlg::onPoissonChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const size_t l = at(layer - 1);
    if (!(poisson[l] >= minPoisson[l] && poisson[l] <= maxPoisson[l])) {
        host.showMessage(kPoissonText, kPoissonCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(poissonEdit(layer)));
        if (layer == 1)
            poisson[l] = roundHalfUpTwoDecimals(poisson[l]);
        return;
    }
    poisson[l] = roundHalfUpTwoDecimals(poisson[l]);
    if (layer == layerCount()) {
        for (int j = layer + 1; j <= kLayerCount; ++j)
            poisson[at(j - 1)] = poisson[l];
    }
}

void CStructureDlg::setMaterialProperties(int layer) {
    const size_t l = at(layer - 1);
    const MaterialType type = materialTypeOf(layer);
    const MaterialProperties& p = materialProperties(type);
    minModulus[l] = displayModulus(p.minModulus);
    maxModulus[l] = displayModulus(p.maxModulus);
    poisson[l] = p.poisson;
    minPoisson[l] = p.minPoisson;
    maxPoisson[l] = p.maxPoisson;
    if (type == MaterialType::AC) {
        // Without temperature correction the layer keeps the moduli it had.
        recomputeDepths();
        if (temperatureCorrection != 0 && isAc(layer))
            recomputeAcModuli(layer);
    } else {
        seasonalModulus[l] = p.seasonalModulus;
    }
}

void CStructureDlg::copyLayerDownwards(int from, bool withVariability) {
    const size_t f = at(from - 1);
    const MaterialType type = materialTypeOf(from);
    for (int j = from + 1; j <= kLayerCount; ++j) {
        const size_t l = at(j - 1);
        setMaterialIndex(j, type);
        layerModulus[l] = layerModulus[f];
        seasonalModulus[l] = seasonalModulus[f];
        minModulus[l] = minModulus[f];
        maxModulus[l] = maxModulus[f];
        poisson[l] = poisson[f];
        minPoisson[l] = minPoisson[f];
        maxPoisson[l] = maxPoisson[f];
        if (withVariability) {
            modulusDistribution[l] = modulusDistribution[f];
            modulusCov[l] = modulusCov[f];
        }
    }
}

void CStructureDlg::onMaterialChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kLayerCount)
        return;
    const MaterialType type = materialTypeOf(layer);
    const bool isBottom = layer == layerCount();
    if (isBottom && !isBottomLayerMaterial(type) && layer >= 2 && layer <= kThicknessCount) {
        // A bound layer cannot be semi-infinite. The selection stays for the engineer to adjust;
        // nothing of the layer changes.
        const std::string text = std::string(kMaterialMessageNames[at(static_cast<int>(type))]) +
                                 std::string(kBottomMaterialSuffix[at(layer - 2)]);
        host.showMessage(text, kMaterialCaption, MessageIcon::Exclamation);
        host.setFocus(toInt(materialList(layer)));
        showControlStates(host);
        return;
    }
    const MaterialProperties& p = materialProperties(type);
    modulusDistribution[at(layer - 1)] = p.modulusDistribution;
    modulusCov[at(layer - 1)] = p.modulusCov;
    setMaterialProperties(layer);
    refreshModulusRow();
    if (isBottom && isBottomLayerMaterial(type))
        copyLayerDownwards(layer, true);
    showControlStates(host);
}

void CStructureDlg::onLayerCountChanged(DialogHost& host) {
    layerCountIndex = std::clamp(layerCountIndex, 0, 3);
    const int n = layerCount();
    if (n < kLayerCount) {
        if (!isBottomLayerMaterial(materialTypeOf(n))) {
            host.showMessage(kLayerCountMaterialText[at(n - 2)], kMaterialCaption,
                             MessageIcon::Exclamation);
            host.setFocus(toInt(materialList(n)));
        } else {
            copyLayerDownwards(n, false);
            // The layers below the bottom are one material: nothing can slip between them.
            for (int i = n - 1; i < kInterfaceCount; ++i) {
                slipValue[at(i)] = 1.0;
                interfaceBond[at(i)] = FullBond;
            }
        }
    }
    // The bottom layer and those below it are semi-infinite.
    for (int j = n; j <= kThicknessCount; ++j) {
        thickness[at(j - 1)] = isMetric() ? kMaxThicknessCm : kMaxThicknessIn;
    }
    for (int j = 2; j < n; ++j)
        thicknessCov[at(j - 1)] = kDefaultThicknessCov[at(j - 2)];
    // Criteria inside or below the semi-infinite bottom layer have no location any more.
    if (n < kLayerCount) {
        for (int slot = slotIndex(n, Middle); slot < kSlotCount; ++slot) {
            criteria[at(slot)].active = 0;
            criteria[at(slot)].responseType = -1;
            criteria[at(slot)].threshold = 0.0;
        }
    }
    recomputeDepths();
    refreshModulusRow();
    showControlStates(host);
}

void CStructureDlg::onPgHighChanged(DialogHost& host, int layer) {
    if (layer < 1 || layer > kThicknessCount)
        return;
    recomputeDepths();
    if (temperatureCorrection != 0 && isAc(layer))
        recomputeAcModuli(layer);
    refreshModulusRow();
    showControlStates(host);
}

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
