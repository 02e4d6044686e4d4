#include "AppTestSupport.h"

namespace ardelon::testing {

namespace {

// Adds 1 to 7 to every value, so that each differs from its default.
template <typename T, std::size_t N>
void shift(std::array<T, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        values[i] += static_cast<T>(1 + i % 7);
}

template <std::size_t R, std::size_t C>
void shift(Table<R, C>& table) {
    for (auto& row : table)
        shift(row);
}

template <typename Doc, typename... Fields>
void shiftAll(Doc& doc, Fields... fields) {
    (shift(doc.*fields), ...);
}

}  // namespace

CStenorDoc everyFieldChanged() {
    using D = CStenorDoc;
    CStenorDoc doc;
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    doc.layerCountIndex = 3;
    doc.fatigueLayer = 2;
    doc.seasonEnabled = {0, 0, 0, 0, 1};
    doc.currentSeason = Winter;
    doc.temperatureCorrection = 0;
    doc.acSurfaceTemperature = 29.5;
    doc.aadt = 4321;
    doc.percentTrucks = 12.5;
    doc.percentTrucksDesignLane = 80;
    doc.directionalDistribution = 55;
    doc.axleGroupsPerDay = 777;
    doc.truckGrowthPercent = 2.5;
    doc.configurationEnabled = {0, 1, 1, 1};
    doc.configurationPercent = {10, 20, 30, 40};
    doc.currentConfiguration = Tridem;
    doc.totalAxlePercent = 99.5;
    doc.esalFactor = 1.75;
    doc.useLoadSpectra = 0;
    doc.expectedEsals = 2.5e6;
    doc.vehicleTypeRoadClass = 3;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CriterionSlot& c = doc.criteria[slot];
        c.active = 1;
        c.responseType = slot % 8;
        c.threshold = 100 + slot;
        c.k1 = 1e-5 * (slot + 1);
        c.k2 = 3 + slot;
        c.useTransferFunction = 1;
        c.damagePerMillion = 0.5 + slot;
        shift(c.distribution);
        c.targetPercentile = 90;
    }
    doc.enduranceLimit = 70;
    doc.totalCost = 5000;
    doc.laneWidth = 11;
    doc.output.loadCount = 3;
    doc.output.pointCount = 5;
    doc.output.doNotWarn = 1;
    shiftAll(doc, &D::materialIndex, &D::thickness, &D::layerModulus, &D::seasonalModulus,
             &D::minModulus, &D::maxModulus, &D::poisson, &D::minPoisson, &D::maxPoisson,
             &D::pgHighIndex, &D::pgLowIndex, &D::slipValue, &D::interfaceBond, &D::seasonWeeks,
             &D::meanAirTemperature, &D::seasonAcTemperature, &D::acTempCoefficient,
             &D::modulusDistribution, &D::modulusCov, &D::thicknessDistribution, &D::thicknessCov,
             &D::loadSpectra, &D::loadCdf, &D::shownLoadPercent, &D::axlesPerTruck,
             &D::vehicleTypeValue, &D::axleTypeFraction, &D::binAxleWeight, &D::contactRadius,
             &D::spectraLibrary, &D::transferCoefficient, &D::costPerTon, &D::density,
             &D::layerCost);
    shiftAll(doc.output, &OutputModuleState::pointX, &OutputModuleState::pointY,
             &OutputModuleState::pointDepth, &OutputModuleState::pointLayer);
    shift(doc.output.responses.values);
    return doc;
}

}  // namespace ardelon::testing
