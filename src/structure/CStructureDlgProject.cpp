#include "structure/CStructureDlg.h"

#include <algorithm>

#include "structure/StructureDlgSupport.h"

namespace ardelon {

using namespace structure_detail;

// ----- copy in and out ---------------------------------------------------------------------

void CStructureDlg::loadFrom(const CStenorDoc& doc) {
    unitSystem = doc.unitSystem;
    valuesInEnglish = doc.valuesInEnglish;
    layerCountIndex = doc.layerCountIndex;
    appliedLayerCountIndex_ = std::clamp(layerCountIndex, 0, 3);
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
    transferCoefficient = doc.transferCoefficient;
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

}  // namespace ardelon
