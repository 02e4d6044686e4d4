#include "AppTestSupport.h"

namespace ardelon::testing {

namespace {

template <typename T, std::size_t N>
void shift(std::array<T, N>& values, T base) {
    for (std::size_t i = 0; i < N; ++i)
        values[i] = values[i] + base + static_cast<T>(i % 7);
}

template <std::size_t R, std::size_t C>
void shift(Table<R, C>& table, double base) {
    for (auto& row : table)
        shift(row, base);
}

}  // namespace

CStenorDoc everyFieldChanged() {
    CStenorDoc doc;
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    doc.layerCountIndex = 3;
    shift(doc.materialIndex, 1);
    shift(doc.thickness, 1.5);
    shift(doc.layerModulus, 11.0);
    shift(doc.seasonalModulus, 13.0);
    shift(doc.minModulus, 17.0);
    shift(doc.maxModulus, 19.0);
    shift(doc.poisson, 0.01);
    shift(doc.minPoisson, 0.02);
    shift(doc.maxPoisson, 0.03);
    shift(doc.pgHighIndex, 1);
    shift(doc.pgLowIndex, 2);
    doc.fatigueLayer = 2;
    shift(doc.slipValue, -0.5);
    shift(doc.interfaceBond, -1);
    doc.seasonEnabled = {0, 0, 0, 0, 1};
    shift(doc.seasonWeeks, 1);
    doc.currentSeason = Winter;
    shift(doc.meanAirTemperature, 3.0);
    doc.temperatureCorrection = 0;
    shift(doc.seasonAcTemperature, 4.0);
    doc.acSurfaceTemperature = 29.5;
    shift(doc.acTempCoefficient, 5.0);
    shift(doc.modulusDistribution, -1);
    shift(doc.modulusCov, 6.0);
    shift(doc.thicknessDistribution, 1);
    shift(doc.thicknessCov, 7.0);
    doc.aadt = 4321;
    doc.percentTrucks = 12.5;
    doc.percentTrucksDesignLane = 80;
    doc.directionalDistribution = 55;
    doc.axleGroupsPerDay = 777;
    doc.truckGrowthPercent = 2.5;
    doc.configurationEnabled = {0, 1, 1, 1};
    doc.configurationPercent = {10, 20, 30, 40};
    doc.currentConfiguration = Tridem;
    shift(doc.loadSpectra, 0.25);
    shift(doc.loadCdf, 0.125);
    shift(doc.shownLoadPercent, 0.5);
    doc.totalAxlePercent = 99.5;
    doc.esalFactor = 1.75;
    doc.useLoadSpectra = 0;
    doc.expectedEsals = 2.5e6;
    shift(doc.axlesPerTruck, 0.75);
    doc.vehicleTypeRoadClass = 3;
    shift(doc.vehicleTypeValue, 0.3);
    shift(doc.axleTypeFraction, 0.05);
    shift(doc.binAxleWeight, 8.0);
    shift(doc.contactRadius, 0.2);
    shift(doc.spectraLibrary, 0.4);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CriterionSlot& c = doc.criteria[slot];
        c.active = 1;
        c.responseType = slot % 8;
        c.threshold = 100 + slot;
        c.k1 = 1e-5 * (slot + 1);
        c.k2 = 3 + slot;
        c.useTransferFunction = 1;
        c.damagePerMillion = 0.5 + slot;
        shift(c.distribution, 60.0 + slot);
        c.targetPercentile = 90;
    }
    doc.enduranceLimit = 70;
    shift(doc.transferCoefficient, 1.0);
    shift(doc.costPerTon, 45.0);
    shift(doc.density, 140.0);
    shift(doc.layerCost, 1000.0);
    doc.totalCost = 5000;
    doc.laneWidth = 11;
    shift(doc.output.pointX, 1.0);
    shift(doc.output.pointY, 2.0);
    shift(doc.output.pointDepth, 3.0);
    shift(doc.output.pointLayer, 1);
    shift(doc.output.responses.values, 0.001);
    doc.output.loadCount = 3;
    doc.output.pointCount = 5;
    doc.output.doNotWarn = 1;
    return doc;
}

}  // namespace ardelon::testing
