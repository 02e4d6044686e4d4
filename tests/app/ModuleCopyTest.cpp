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
using D = CStenorDoc;

// `doc` with the named fields taken from `from`.
template <class... Fields>
CStenorDoc with(CStenorDoc doc, const CStenorDoc& from, Fields... fields) {
    ((doc.*fields = from.*fields), ...);
    return doc;
}

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
    const CStenorDoc changed = everyFieldChanged(), defaults;
    EXPECT_NE(std::tie(changed.criteria[0], changed.output, changed.spectraLibrary),
              std::tie(defaults.criteria[0], defaults.output, defaults.spectraLibrary));
    EXPECT_NE(changed.contactRadius, defaults.contactRadius);
    EXPECT_NE(changed.seasonEnabled[Summer], defaults.seasonEnabled[Summer]);
}

TEST(ModuleCopy, StructureTakesBackItsFieldsOnly) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected =
        with(start, changed, &D::unitSystem, &D::valuesInEnglish, &D::layerCountIndex,
             &D::materialIndex, &D::thickness, &D::layerModulus, &D::seasonalModulus,
             &D::minModulus, &D::maxModulus, &D::poisson, &D::minPoisson, &D::maxPoisson,
             &D::slipValue, &D::interfaceBond, &D::pgHighIndex, &D::pgLowIndex, &D::fatigueLayer,
             &D::seasonEnabled, &D::seasonWeeks, &D::currentSeason, &D::meanAirTemperature,
             &D::temperatureCorrection, &D::seasonAcTemperature, &D::acSurfaceTemperature,
             &D::acTempCoefficient, &D::modulusDistribution, &D::modulusCov,
             &D::thicknessDistribution, &D::thicknessCov, &D::criteria, &D::enduranceLimit);
    expected.seasonEnabled[Summer] = start.seasonEnabled[Summer];
    for (int slot = 0; slot < kSlotCount; ++slot)
        expected.criteria[slot].damagePerMillion = start.criteria[slot].damagePerMillion;

    const CStenorDoc result = acceptEverythingChanged(Module::Structure, start);
    EXPECT_EQ(result.seasonEnabled[Summer], 1) << "Summer is always in use";
    EXPECT_EQ(result.criteria[4].damagePerMillion, 0.0) << "results belong to the Output module";
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, LoadSpectraTakesBackItsFieldsOnly) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected =
        with(start, changed, &D::unitSystem, &D::aadt, &D::percentTrucks,
             &D::percentTrucksDesignLane, &D::directionalDistribution, &D::axleGroupsPerDay,
             &D::truckGrowthPercent, &D::configurationEnabled, &D::configurationPercent,
             &D::currentConfiguration, &D::shownLoadPercent, &D::loadSpectra, &D::loadCdf,
             &D::totalAxlePercent, &D::esalFactor, &D::axleTypeFraction, &D::axlesPerTruck,
             &D::vehicleTypeRoadClass, &D::vehicleTypeValue, &D::spectraLibrary);
    expected.useLoadSpectra = 1;  // set by the command, not copied back

    EXPECT_TRUE(acceptEverythingChanged(Module::LoadSpectra, start) == expected);
}

TEST(ModuleCopy, ViewOutputTakesBackItsFieldsWithResults) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    // All five seasons' flags and the criteria with their damage travel back.
    const CStenorDoc expected =
        with(start, changed, &D::valuesInEnglish, &D::useLoadSpectra, &D::layerCountIndex,
             &D::materialIndex, &D::thickness, &D::poisson, &D::slipValue, &D::seasonalModulus,
             &D::fatigueLayer, &D::seasonEnabled, &D::seasonWeeks, &D::meanAirTemperature,
             &D::modulusDistribution, &D::modulusCov, &D::thicknessDistribution, &D::thicknessCov,
             &D::aadt, &D::percentTrucks, &D::percentTrucksDesignLane, &D::directionalDistribution,
             &D::axleGroupsPerDay, &D::truckGrowthPercent, &D::configurationEnabled,
             &D::axleTypeFraction, &D::loadSpectra, &D::loadCdf, &D::binAxleWeight,
             &D::contactRadius, &D::expectedEsals, &D::totalAxlePercent, &D::esalFactor,
             &D::criteria, &D::transferCoefficient, &D::costPerTon, &D::density, &D::layerCost,
             &D::totalCost, &D::laneWidth, &D::output);

    const CStenorDoc result = acceptEverythingChanged(Module::ViewOutput, start);
    EXPECT_EQ(result.criteria[7].damagePerMillion, 7.5);
    EXPECT_EQ(result.output.loadCount, 3);
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, EsalDataTakesBackOnlyTheSingleCumulativeRow) {
    const CStenorDoc start;
    const CStenorDoc changed = everyFieldChanged();
    CStenorDoc expected = with(start, changed, &D::expectedEsals, &D::axleTypeFraction,
                               &D::configurationEnabled, &D::totalAxlePercent, &D::loadSpectra);
    expected.useLoadSpectra = 0;  // set by the command
    expected.loadCdf[Single] = changed.loadCdf[Single];

    const CStenorDoc result = acceptEverythingChanged(Module::EsalData, start);
    EXPECT_EQ(result.loadCdf[Tandem], start.loadCdf[Tandem]);
    EXPECT_TRUE(result == expected);
}

TEST(ModuleCopy, TransferFunctionsTakeBackTheCoefficientsOnly) {
    const CStenorDoc start;
    EXPECT_TRUE(acceptEverythingChanged(Module::TransferFunctions, start) ==
                with(start, everyFieldChanged(), &D::transferCoefficient));
}

TEST(ModuleCopy, CancelKeepsOnlyWhatTheCommandWroteBeforeTheModuleOpened) {
    for (Module module : {Module::Structure, Module::LoadSpectra, Module::ViewOutput,
                          Module::EsalData, Module::TransferFunctions}) {
        FakeHost host;
        FakeShellWindow window;
        window.accept = false;
        window.edit = [](CStenorDoc& working) { working = everyFieldChanged(); };
        DocumentSession session(host, window);
        session.project().configurationPercent = {60, 40, 0, 0};
        CStenorDoc expected = session.project();
        // What the command writes before the module opens: the module sees it, and it stays.
        if (module == Module::LoadSpectra)
            expected.useLoadSpectra = 1;
        if (module == Module::EsalData)
            expected.useLoadSpectra = 0;
        if (module == Module::ViewOutput)
            expected.axleTypeFraction = {0.6, 0.4, 0.0, 0.0};
        const int repaintsBefore = window.repaints;

        EXPECT_FALSE(session.runModule(module));
        EXPECT_TRUE(window.seenByModule == expected) << static_cast<int>(module);
        EXPECT_TRUE(session.project() == expected) << static_cast<int>(module);
        EXPECT_FALSE(session.isModified());
        EXPECT_EQ(window.repaints, repaintsBefore);
    }
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
