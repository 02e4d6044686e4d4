#include "app/ModuleCopy.h"

#include "output/OutputModuleCopy.h"

namespace ardelon {

void copyStructureFields(const CStenorDoc& from, CStenorDoc& to) {
    to.unitSystem = from.unitSystem;
    to.valuesInEnglish = from.valuesInEnglish;

    to.layerCountIndex = from.layerCountIndex;
    to.materialIndex = from.materialIndex;
    to.thickness = from.thickness;
    to.layerModulus = from.layerModulus;
    to.seasonalModulus = from.seasonalModulus;
    to.minModulus = from.minModulus;
    to.maxModulus = from.maxModulus;
    to.poisson = from.poisson;
    to.minPoisson = from.minPoisson;
    to.maxPoisson = from.maxPoisson;
    to.slipValue = from.slipValue;
    to.interfaceBond = from.interfaceBond;
    to.pgHighIndex = from.pgHighIndex;
    to.pgLowIndex = from.pgLowIndex;
    to.fatigueLayer = from.fatigueLayer;

    // Summer is always in use and is not the module's to change.
    for (int season = Fall; season <= Spring2; ++season) {
        to.seasonEnabled[season] = from.seasonEnabled[season];
    }
    to.seasonWeeks = from.seasonWeeks;
    to.currentSeason = from.currentSeason;
    to.meanAirTemperature = from.meanAirTemperature;
    to.temperatureCorrection = from.temperatureCorrection;
    to.seasonAcTemperature = from.seasonAcTemperature;
    to.acSurfaceTemperature = from.acSurfaceTemperature;
    to.acTempCoefficient = from.acTempCoefficient;

    to.modulusDistribution = from.modulusDistribution;
    to.modulusCov = from.modulusCov;
    to.thicknessDistribution = from.thicknessDistribution;
    to.thicknessCov = from.thicknessCov;

    // The criteria without the damage of the last analysis, which belongs to the Output module.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const double damage = to.criteria[slot].damagePerMillion;
        to.criteria[slot] = from.criteria[slot];
        to.criteria[slot].damagePerMillion = damage;
    }
    to.enduranceLimit = from.enduranceLimit;
}

void copyLoadSpectraFields(const CStenorDoc& from, CStenorDoc& to) {
    to.unitSystem = from.unitSystem;

    to.aadt = from.aadt;
    to.percentTrucks = from.percentTrucks;
    to.percentTrucksDesignLane = from.percentTrucksDesignLane;
    to.directionalDistribution = from.directionalDistribution;
    to.axleGroupsPerDay = from.axleGroupsPerDay;
    to.truckGrowthPercent = from.truckGrowthPercent;

    to.configurationEnabled = from.configurationEnabled;
    to.configurationPercent = from.configurationPercent;
    to.currentConfiguration = from.currentConfiguration;
    to.shownLoadPercent = from.shownLoadPercent;
    to.loadSpectra = from.loadSpectra;
    to.loadCdf = from.loadCdf;
    to.totalAxlePercent = from.totalAxlePercent;
    to.esalFactor = from.esalFactor;
    to.axleTypeFraction = from.axleTypeFraction;
    to.axlesPerTruck = from.axlesPerTruck;

    to.vehicleTypeRoadClass = from.vehicleTypeRoadClass;
    to.vehicleTypeValue = from.vehicleTypeValue;
    to.spectraLibrary = from.spectraLibrary;
}

void copyViewOutputFields(const CStenorDoc& from, CStenorDoc& to) {
    // The Output and Design module owns the list of fields it takes and gives back.
    copyOutputModuleFields(from, to);
}

void copyEsalDataFields(const CStenorDoc& from, CStenorDoc& to) {
    to.expectedEsals = from.expectedEsals;
    to.axleTypeFraction = from.axleTypeFraction;
    to.configurationEnabled = from.configurationEnabled;
    to.totalAxlePercent = from.totalAxlePercent;
    to.loadCdf[Single] = from.loadCdf[Single];
    to.loadSpectra = from.loadSpectra;
}

void copyTransferFunctionFields(const CStenorDoc& from, CStenorDoc& to) {
    to.transferCoefficient = from.transferCoefficient;
}

}  // namespace ardelon
