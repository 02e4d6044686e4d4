#include "AppTestSupport.h"

#include <type_traits>

namespace ardelon::testing {

namespace {

// Adds 1 to a number and 1 to 7 to the values of a table, so that each differs from its default.
template <typename T>
requires std::is_arithmetic_v<T>
void shift(T& value) {
    value += 1;
}

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
    doc.seasonEnabled = {0, 0, 0, 0, 1};
    doc.currentSeason = Winter;
    doc.temperatureCorrection = 0;
    doc.configurationEnabled = {0, 1, 1, 1};
    doc.configurationPercent = {10, 20, 30, 40};
    doc.currentConfiguration = Tridem;
    doc.useLoadSpectra = 0;
    for (CriterionSlot& slot : doc.criteria) {
        shiftAll(slot, &CriterionSlot::active, &CriterionSlot::responseType,
                 &CriterionSlot::threshold, &CriterionSlot::k1, &CriterionSlot::k2,
                 &CriterionSlot::useTransferFunction, &CriterionSlot::damagePerMillion,
                 &CriterionSlot::distribution, &CriterionSlot::targetPercentile);
    }
    shiftAll(doc, &D::fatigueLayer, &D::acSurfaceTemperature, &D::aadt, &D::percentTrucks,
             &D::percentTrucksDesignLane, &D::directionalDistribution, &D::axleGroupsPerDay,
             &D::truckGrowthPercent, &D::totalAxlePercent, &D::esalFactor, &D::expectedEsals,
             &D::vehicleTypeRoadClass, &D::enduranceLimit, &D::totalCost, &D::laneWidth,
             &D::materialIndex, &D::thickness, &D::layerModulus, &D::seasonalModulus,
             &D::minModulus, &D::maxModulus, &D::poisson, &D::minPoisson, &D::maxPoisson,
             &D::pgHighIndex, &D::pgLowIndex, &D::slipValue, &D::interfaceBond, &D::seasonWeeks,
             &D::meanAirTemperature, &D::seasonAcTemperature, &D::acTempCoefficient,
             &D::modulusDistribution, &D::modulusCov, &D::thicknessDistribution, &D::thicknessCov,
             &D::loadSpectra, &D::loadCdf, &D::shownLoadPercent, &D::axlesPerTruck,
             &D::vehicleTypeValue, &D::axleTypeFraction, &D::binAxleWeight, &D::contactRadius,
             &D::spectraLibrary, &D::transferCoefficient, &D::costPerTon, &D::density,
             &D::layerCost);
    shiftAll(doc.output, &OutputModuleState::pointX, &OutputModuleState::pointY,
             &OutputModuleState::pointDepth, &OutputModuleState::pointLayer,
             &OutputModuleState::loadCount, &OutputModuleState::pointCount,
             &OutputModuleState::doNotWarn);
    shift(doc.output.responses.values);
    return doc;
}

}  // namespace ardelon::testing
