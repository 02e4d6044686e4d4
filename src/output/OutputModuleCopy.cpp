#include "output/OutputModuleCopy.h"

namespace ardelon {

void copyOutputModuleFields(const CStenorDoc& from, CStenorDoc& to) {
    to.valuesInEnglish = from.valuesInEnglish;
    to.useLoadSpectra = from.useLoadSpectra;
    to.layerCountIndex = from.layerCountIndex;
    to.materialIndex = from.materialIndex;
    to.thickness = from.thickness;
    to.poisson = from.poisson;
    to.slipValue = from.slipValue;
    to.seasonalModulus = from.seasonalModulus;
    to.fatigueLayer = from.fatigueLayer;
    to.seasonEnabled = from.seasonEnabled;
    to.seasonWeeks = from.seasonWeeks;
    to.meanAirTemperature = from.meanAirTemperature;
    to.modulusDistribution = from.modulusDistribution;
    to.modulusCov = from.modulusCov;
    to.thicknessDistribution = from.thicknessDistribution;
    to.thicknessCov = from.thicknessCov;
    to.aadt = from.aadt;
    to.percentTrucks = from.percentTrucks;
    to.percentTrucksDesignLane = from.percentTrucksDesignLane;
    to.directionalDistribution = from.directionalDistribution;
    to.axleGroupsPerDay = from.axleGroupsPerDay;
    to.truckGrowthPercent = from.truckGrowthPercent;
    to.configurationEnabled = from.configurationEnabled;
    to.axleTypeFraction = from.axleTypeFraction;
    to.loadSpectra = from.loadSpectra;
    to.loadCdf = from.loadCdf;
    to.binAxleWeight = from.binAxleWeight;
    to.contactRadius = from.contactRadius;
    to.expectedEsals = from.expectedEsals;
    to.totalAxlePercent = from.totalAxlePercent;
    to.esalFactor = from.esalFactor;
    to.criteria = from.criteria;
    to.transferCoefficient = from.transferCoefficient;
    to.costPerTon = from.costPerTon;
    to.density = from.density;
    to.layerCost = from.layerCost;
    to.totalCost = from.totalCost;
    to.laneWidth = from.laneWidth;
    to.output = from.output;
    to.trials = from.trials;  // kept, renamed and deleted in the module
}

}  // namespace ardelon
