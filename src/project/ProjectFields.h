#pragma once
// Every field of the project, once, in the order CStenorDoc declares them: its name and the
// module commands that copy it into their working copy and back. The module copies, the
// field-by-field comparison and the tests walk this one list; a field added to CStenorDoc
// without an entry here fails to build (ProjectFields.cpp).

#include <string>
#include <vector>

#include "project/CStenorDoc.h"

namespace ardelon {

// The module commands, as flags of the fields they copy.
enum ModuleCopies : unsigned {
    kNoModule = 0,
    kStructureModule = 1u << 0,
    kLoadSpectraModule = 1u << 1,
    kOutputModule = 1u << 2,
    kEsalDataModule = 1u << 3,
    kTransferFunctionsModule = 1u << 4,
};

template <class T>
struct ProjectField {
    const char* name;
    T CStenorDoc::*member;
    unsigned copiedBy;  // ModuleCopies
};
template <class T>
ProjectField(const char*, T CStenorDoc::*, unsigned) -> ProjectField<T>;

// Calls visit(field) for every field. Some modules copy part of a field as well (the Structure
// module the switchable seasons and the criteria without their damage, ESAL Data the Single row
// of the cumulative distributions); their copies say so.
template <class Visit>
constexpr void forEachProjectField(Visit&& visit) {
    using D = CStenorDoc;
    visit(ProjectField{"unitSystem", &D::unitSystem, kStructureModule | kLoadSpectraModule});
    visit(ProjectField{"valuesInEnglish", &D::valuesInEnglish, kStructureModule | kOutputModule});
    visit(ProjectField{"layerCountIndex", &D::layerCountIndex, kStructureModule | kOutputModule});
    visit(ProjectField{"materialIndex", &D::materialIndex, kStructureModule | kOutputModule});
    visit(ProjectField{"thickness", &D::thickness, kStructureModule | kOutputModule});
    visit(ProjectField{"layerModulus", &D::layerModulus, kStructureModule});
    visit(ProjectField{"seasonalModulus", &D::seasonalModulus, kStructureModule | kOutputModule});
    visit(ProjectField{"minModulus", &D::minModulus, kStructureModule});
    visit(ProjectField{"maxModulus", &D::maxModulus, kStructureModule});
    visit(ProjectField{"poisson", &D::poisson, kStructureModule | kOutputModule});
    visit(ProjectField{"minPoisson", &D::minPoisson, kStructureModule});
    visit(ProjectField{"maxPoisson", &D::maxPoisson, kStructureModule});
    visit(ProjectField{"pgHighIndex", &D::pgHighIndex, kStructureModule});
    visit(ProjectField{"pgLowIndex", &D::pgLowIndex, kStructureModule});
    visit(ProjectField{"fatigueLayer", &D::fatigueLayer, kStructureModule | kOutputModule});
    visit(ProjectField{"slipValue", &D::slipValue, kStructureModule | kOutputModule});
    visit(ProjectField{"interfaceBond", &D::interfaceBond, kStructureModule});
    visit(ProjectField{"seasonEnabled", &D::seasonEnabled, kOutputModule});
    visit(ProjectField{"seasonWeeks", &D::seasonWeeks, kStructureModule | kOutputModule});
    visit(ProjectField{"currentSeason", &D::currentSeason, kStructureModule});
    visit(ProjectField{"meanAirTemperature", &D::meanAirTemperature,
                       kStructureModule | kOutputModule});
    visit(ProjectField{"temperatureCorrection", &D::temperatureCorrection, kStructureModule});
    visit(ProjectField{"seasonAcTemperature", &D::seasonAcTemperature, kStructureModule});
    visit(ProjectField{"acSurfaceTemperature", &D::acSurfaceTemperature, kStructureModule});
    visit(ProjectField{"acTempCoefficient", &D::acTempCoefficient, kStructureModule});
    visit(ProjectField{"modulusDistribution", &D::modulusDistribution,
                       kStructureModule | kOutputModule});
    visit(ProjectField{"modulusCov", &D::modulusCov, kStructureModule | kOutputModule});
    visit(ProjectField{"thicknessDistribution", &D::thicknessDistribution,
                       kStructureModule | kOutputModule});
    visit(ProjectField{"thicknessCov", &D::thicknessCov, kStructureModule | kOutputModule});
    visit(ProjectField{"aadt", &D::aadt, kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"percentTrucks", &D::percentTrucks, kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"percentTrucksDesignLane", &D::percentTrucksDesignLane,
                       kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"directionalDistribution", &D::directionalDistribution,
                       kLoadSpectraModule | kOutputModule});
    visit(
        ProjectField{"axleGroupsPerDay", &D::axleGroupsPerDay, kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"truckGrowthPercent", &D::truckGrowthPercent,
                       kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"configurationEnabled", &D::configurationEnabled,
                       kLoadSpectraModule | kOutputModule | kEsalDataModule});
    visit(ProjectField{"configurationPercent", &D::configurationPercent, kLoadSpectraModule});
    visit(ProjectField{"currentConfiguration", &D::currentConfiguration, kLoadSpectraModule});
    visit(ProjectField{"loadSpectra", &D::loadSpectra,
                       kLoadSpectraModule | kOutputModule | kEsalDataModule});
    visit(ProjectField{"loadCdf", &D::loadCdf, kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"shownLoadPercent", &D::shownLoadPercent, kLoadSpectraModule});
    visit(ProjectField{"totalAxlePercent", &D::totalAxlePercent,
                       kLoadSpectraModule | kOutputModule | kEsalDataModule});
    visit(ProjectField{"esalFactor", &D::esalFactor, kLoadSpectraModule | kOutputModule});
    visit(ProjectField{"useLoadSpectra", &D::useLoadSpectra, kOutputModule});
    visit(ProjectField{"expectedEsals", &D::expectedEsals, kOutputModule | kEsalDataModule});
    visit(ProjectField{"axlesPerTruck", &D::axlesPerTruck, kLoadSpectraModule});
    visit(ProjectField{"vehicleTypeRoadClass", &D::vehicleTypeRoadClass, kLoadSpectraModule});
    visit(ProjectField{"vehicleTypeValue", &D::vehicleTypeValue, kLoadSpectraModule});
    visit(ProjectField{"axleTypeFraction", &D::axleTypeFraction,
                       kLoadSpectraModule | kOutputModule | kEsalDataModule});
    visit(ProjectField{"binAxleWeight", &D::binAxleWeight, kOutputModule});
    visit(ProjectField{"contactRadius", &D::contactRadius, kOutputModule});
    visit(ProjectField{"spectraLibrary", &D::spectraLibrary, kLoadSpectraModule});
    visit(ProjectField{"criteria", &D::criteria, kOutputModule});
    visit(ProjectField{"enduranceLimit", &D::enduranceLimit, kStructureModule});
    visit(ProjectField{"transferCoefficient", &D::transferCoefficient,
                       kOutputModule | kTransferFunctionsModule});
    visit(ProjectField{"costPerTon", &D::costPerTon, kOutputModule});
    visit(ProjectField{"density", &D::density, kOutputModule});
    visit(ProjectField{"layerCost", &D::layerCost, kOutputModule});
    visit(ProjectField{"totalCost", &D::totalCost, kOutputModule});
    visit(ProjectField{"laneWidth", &D::laneWidth, kOutputModule});
    visit(ProjectField{"reportDetails", &D::reportDetails, kNoModule});
    visit(ProjectField{"trials", &D::trials, kOutputModule});  // kept, renamed and deleted there
    visit(ProjectField{"output", &D::output, kOutputModule});
}

inline constexpr int kProjectFieldCount = 63;

// Copies every field `module` copies whole from `from` to `to`.
inline void copyModuleFields(const CStenorDoc& from, CStenorDoc& to, ModuleCopies module) {
    forEachProjectField([&](const auto& field) {
        if ((field.copiedBy & module) != 0)
            to.*field.member = from.*field.member;
    });
}

// The names of the fields in which `a` and `b` differ, with the first differing index of an
// array ("thickness[2]"); empty when the projects are equal.
std::vector<std::string> differingFields(const CStenorDoc& a, const CStenorDoc& b);

}  // namespace ardelon
