// Which project fields each module command copies in and back: a fake module changes every
// field of its working copy, and the project must take exactly the module's fields, no others.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/DocumentSession.h"
#include "app/ModuleCopy.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using testing::everyFieldChanged;
using testing::FakeHost;
using testing::FakeShellWindow;

// The project a module leaves behind when its user changed every field and pressed OK.
CStenorDoc acceptEverythingChanged(Module module, const CStenorDoc& start) {
    FakeHost host;
    FakeShellWindow window;
    window.edit = [](CStenorDoc& working) { working = everyFieldChanged(); };
    DocumentSession session(host, window);
    session.project() = start;
    EXPECT_TRUE(session.runModule(module));
    return session.project();
}

TEST(ModuleCopy, ChangedProjectDiffersInEveryGroupOfFields) {
    const CStenorDoc changed = everyFieldChanged();
    const CStenorDoc defaults;
    EXPECT_NE(changed.criteria[0], defaults.criteria[0]);
    EXPECT_NE(changed.output, defaults.output);
    EXPECT_NE(changed.spectraLibrary, defaults.spectraLibrary);
    EXPECT_NE(changed.contactRadius, defaults.contactRadius);
    EXPECT_NE(changed.seasonEnabled[Summer], defaults.seasonEnabled[Summer]);
}

TEST(ModuleCopy, StructureTakesBackItsFieldsOnly) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected = start;
    expected.unitSystem = changed.unitSystem;
    expected.valuesInEnglish = changed.valuesInEnglish;
    expected.layerCountIndex = changed.layerCountIndex;
    expected.materialIndex = changed.materialIndex;
    expected.thickness = changed.thickness;
    expected.layerModulus = changed.layerModulus;
    expected.seasonalModulus = changed.seasonalModulus;
    expected.minModulus = changed.minModulus;
    expected.maxModulus = changed.maxModulus;
    expected.poisson = changed.poisson;
    expected.minPoisson = changed.minPoisson;
    expected.maxPoisson = changed.maxPoisson;
    expected.slipValue = changed.slipValue;
    expected.interfaceBond = changed.interfaceBond;
    expected.pgHighIndex = changed.pgHighIndex;
    expected.pgLowIndex = changed.pgLowIndex;
    expected.fatigueLayer = changed.fatigueLayer;
    for (int season = Fall; season <= Spring2; ++season) {
        expected.seasonEnabled[season] = changed.seasonEnabled[season];
    }
    expected.seasonWeeks = changed.seasonWeeks;
    expected.currentSeason = changed.currentSeason;
    expected.meanAirTemperature = changed.meanAirTemperature;
    expected.temperatureCorrection = changed.temperatureCorrection;
    expected.seasonAcTemperature = changed.seasonAcTemperature;
    expected.acSurfaceTemperature = changed.acSurfaceTemperature;
    expected.acTempCoefficient = changed.acTempCoefficient;
    expected.modulusDistribution = changed.modulusDistribution;
    expected.modulusCov = changed.modulusCov;
    expected.thicknessDistribution = changed.thicknessDistribution;
    expected.thicknessCov = changed.thicknessCov;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        expected.criteria[slot] = changed.criteria[slot];
        expected.criteria[slot].damagePerMillion = start.criteria[slot].damagePerMillion;
    }
    expected.enduranceLimit = changed.enduranceLimit;

    const CStenorDoc result = acceptEverythingChanged(Module::Structure, start);
    EXPECT_EQ(result.seasonEnabled[Summer], 1) << "Summer is always in use";
    EXPECT_EQ(result.criteria[4].damagePerMillion, 0.0) << "results belong to the Output module";
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, LoadSpectraTakesBackItsFieldsOnly) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected = start;
    expected.useLoadSpectra = 1;  // set by the command, not copied back
    expected.unitSystem = changed.unitSystem;
    expected.aadt = changed.aadt;
    expected.percentTrucks = changed.percentTrucks;
    expected.percentTrucksDesignLane = changed.percentTrucksDesignLane;
    expected.directionalDistribution = changed.directionalDistribution;
    expected.axleGroupsPerDay = changed.axleGroupsPerDay;
    expected.truckGrowthPercent = changed.truckGrowthPercent;
    expected.configurationEnabled = changed.configurationEnabled;
    expected.configurationPercent = changed.configurationPercent;
    expected.currentConfiguration = changed.currentConfiguration;
    expected.shownLoadPercent = changed.shownLoadPercent;
    expected.loadSpectra = changed.loadSpectra;
    expected.loadCdf = changed.loadCdf;
    expected.totalAxlePercent = changed.totalAxlePercent;
    expected.esalFactor = changed.esalFactor;
    expected.axleTypeFraction = changed.axleTypeFraction;
    expected.axlesPerTruck = changed.axlesPerTruck;
    expected.vehicleTypeRoadClass = changed.vehicleTypeRoadClass;
    expected.vehicleTypeValue = changed.vehicleTypeValue;
    expected.spectraLibrary = changed.spectraLibrary;

    EXPECT_TRUE(acceptEverythingChanged(Module::LoadSpectra, start) == expected);
}

TEST(ModuleCopy, ViewOutputTakesBackItsFieldsWithResults) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected = start;
    expected.valuesInEnglish = changed.valuesInEnglish;
    expected.useLoadSpectra = changed.useLoadSpectra;
    expected.layerCountIndex = changed.layerCountIndex;
    expected.materialIndex = changed.materialIndex;
    expected.thickness = changed.thickness;
    expected.poisson = changed.poisson;
    expected.slipValue = changed.slipValue;
    expected.seasonalModulus = changed.seasonalModulus;
    expected.fatigueLayer = changed.fatigueLayer;
    expected.seasonEnabled = changed.seasonEnabled;  // all five
    expected.seasonWeeks = changed.seasonWeeks;
    expected.meanAirTemperature = changed.meanAirTemperature;
    expected.modulusDistribution = changed.modulusDistribution;
    expected.modulusCov = changed.modulusCov;
    expected.thicknessDistribution = changed.thicknessDistribution;
    expected.thicknessCov = changed.thicknessCov;
    expected.aadt = changed.aadt;
    expected.percentTrucks = changed.percentTrucks;
    expected.percentTrucksDesignLane = changed.percentTrucksDesignLane;
    expected.directionalDistribution = changed.directionalDistribution;
    expected.axleGroupsPerDay = changed.axleGroupsPerDay;
    expected.truckGrowthPercent = changed.truckGrowthPercent;
    expected.configurationEnabled = changed.configurationEnabled;
    expected.axleTypeFraction = changed.axleTypeFraction;
    expected.loadSpectra = changed.loadSpectra;
    expected.loadCdf = changed.loadCdf;
    expected.binAxleWeight = changed.binAxleWeight;
    expected.contactRadius = changed.contactRadius;
    expected.expectedEsals = changed.expectedEsals;
    expected.totalAxlePercent = changed.totalAxlePercent;
    expected.esalFactor = changed.esalFactor;
    expected.criteria = changed.criteria;  // damagePerMillion included
    expected.transferCoefficient = changed.transferCoefficient;
    expected.costPerTon = changed.costPerTon;
    expected.density = changed.density;
    expected.layerCost = changed.layerCost;
    expected.totalCost = changed.totalCost;
    expected.laneWidth = changed.laneWidth;
    expected.output = changed.output;

    const CStenorDoc result = acceptEverythingChanged(Module::ViewOutput, start);
    EXPECT_EQ(result.criteria[7].damagePerMillion, 7.5);
    EXPECT_EQ(result.output.loadCount, 3);
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, EsalDataTakesBackOnlyTheSingleCumulativeRow) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected = start;
    expected.useLoadSpectra = 0;  // set by the command
    expected.expectedEsals = changed.expectedEsals;
    expected.axleTypeFraction = changed.axleTypeFraction;
    expected.configurationEnabled = changed.configurationEnabled;
    expected.totalAxlePercent = changed.totalAxlePercent;
    expected.loadCdf[Single] = changed.loadCdf[Single];
    expected.loadSpectra = changed.loadSpectra;

    const CStenorDoc result = acceptEverythingChanged(Module::EsalData, start);
    EXPECT_EQ(result.loadCdf[Tandem], start.loadCdf[Tandem]);
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, TransferFunctionsTakeBackTheCoefficientsOnly) {
    const CStenorDoc start;
    CStenorDoc expected = start;
    expected.transferCoefficient = everyFieldChanged().transferCoefficient;
    EXPECT_TRUE(acceptEverythingChanged(Module::TransferFunctions, start) == expected);
}

TEST(ModuleCopy, CancelLeavesEveryFieldUnchangedInEveryModule) {
    for (Module module : {Module::Structure, Module::LoadSpectra, Module::ViewOutput,
                          Module::EsalData, Module::TransferFunctions}) {
        FakeHost host;
        FakeShellWindow window;
        window.accept = false;
        window.edit = [](CStenorDoc& working) { working = everyFieldChanged(); };
        DocumentSession session(host, window);
        session.project().configurationPercent = {60, 40, 0, 0};
        CStenorDoc expected = session.project();
        // Only what the command writes before the module opens stays.
        if (module == Module::LoadSpectra)
            expected.useLoadSpectra = 1;
        if (module == Module::EsalData)
            expected.useLoadSpectra = 0;
        if (module == Module::ViewOutput)
            expected.axleTypeFraction = {0.6, 0.4, 0.0, 0.0};
        const int repaintsBefore = window.repaints;

        EXPECT_FALSE(session.runModule(module));
        EXPECT_TRUE(session.project() == expected) << static_cast<int>(module);
        EXPECT_FALSE(session.isModified());
        EXPECT_EQ(window.repaints, repaintsBefore);
    }
}

TEST(ModuleCommands, LoadSpectraAndEsalDataRecordWhichTrafficInputWasOpenedLast) {
    FakeHost host;
    FakeShellWindow window;
    window.accept = false;
    DocumentSession session(host, window);

    session.runModule(Module::EsalData);
    EXPECT_EQ(session.project().useLoadSpectra, 0);
    EXPECT_EQ(window.seenByModule.useLoadSpectra, 0);
    session.runModule(Module::LoadSpectra);
    EXPECT_EQ(session.project().useLoadSpectra, 1);
    EXPECT_EQ(window.seenByModule.useLoadSpectra, 1);
}

TEST(ModuleCommands, ViewOutputSetsAxleTypeFractionsBeforeTheModuleOpens) {
    FakeHost host;
    FakeShellWindow window;
    window.accept = false;
    DocumentSession session(host, window);
    session.project().configurationPercent = {55, 25, 15, 5};
    session.project().axleTypeFraction = {1, 1, 1, 1};

    session.runModule(Module::ViewOutput);
    const std::array<double, 4> expected{55 * 0.01, 25 * 0.01, 15 * 0.01, 5 * 0.01};
    EXPECT_EQ(window.seenByModule.axleTypeFraction, expected);
    EXPECT_EQ(session.project().axleTypeFraction, expected) << "kept although cancelled";
}

TEST(ModuleCommands, AcceptedModuleRepaintsExceptTransferFunctions) {
    FakeHost host;
    FakeShellWindow window;
    DocumentSession session(host, window);

    session.runModule(Module::Structure);
    EXPECT_EQ(window.repaints, 1);
    session.runModule(Module::TransferFunctions);
    EXPECT_EQ(window.repaints, 1);
    session.runModule(Module::LoadSpectra);
    EXPECT_EQ(window.repaints, 2);
}

}  // namespace
}  // namespace ardelon
