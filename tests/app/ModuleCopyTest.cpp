// Which project fields each module command copies in and back: a fake module changes every
// field of its working copy, and the project must take exactly the module's fields, no others.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "support/FakeHost.h"
#include "support/ProjectCompare.h"

namespace ardelon {
namespace {

using testing::everyFieldChanged;
using testing::FakeHost;
using testing::FakeShellWindow;
using testing::projectDifferences;
using D = CStenorDoc;

// `doc` with the named fields taken from `from`.
template <class... Fields>
CStenorDoc with(CStenorDoc doc, const CStenorDoc& from, Fields... fields) {
    ((doc.*fields = from.*fields), ...);
    return doc;
}

// The project a module leaves behind when its user changed every field and pressed OK, and
// whether the views were repainted.
std::pair<CStenorDoc, bool> acceptEverythingChanged(Module module, const CStenorDoc& start) {
    FakeHost host;
    FakeShellWindow window;
    window.edit = [](CStenorDoc& working) { working = everyFieldChanged(); };
    DocumentSession session(host, window);
    session.project() = start;
    EXPECT_TRUE(session.runModule(module));
    return {session.project(), window.repaints == 1};
}

// The project each module leaves behind when its user changed every field and pressed OK.
TEST(ModuleCopy, EachModuleTakesBackItsFieldsOnlyAndRepaints) {
    const CStenorDoc start, changed = everyFieldChanged();
    CStenorDoc structure =
        with(start, changed, &D::unitSystem, &D::valuesInEnglish, &D::layerCountIndex,
             &D::materialIndex, &D::thickness, &D::layerModulus, &D::seasonalModulus,
             &D::minModulus, &D::maxModulus, &D::poisson, &D::minPoisson, &D::maxPoisson,
             &D::slipValue, &D::interfaceBond, &D::pgHighIndex, &D::pgLowIndex, &D::fatigueLayer,
             &D::seasonEnabled, &D::seasonWeeks, &D::currentSeason, &D::meanAirTemperature,
             &D::temperatureCorrection, &D::seasonAcTemperature, &D::acSurfaceTemperature,
             &D::acTempCoefficient, &D::modulusDistribution, &D::modulusCov,
             &D::thicknessDistribution, &D::thicknessCov, &D::criteria, &D::enduranceLimit);
    structure.seasonEnabled[Summer] = 1;  // Summer is always in use
    for (CriterionSlot& slot : structure.criteria)
        slot.damagePerMillion = 0;  // results belong to the Output module

    CStenorDoc loadSpectra =
        with(start, changed, &D::unitSystem, &D::aadt, &D::percentTrucks,
             &D::percentTrucksDesignLane, &D::directionalDistribution, &D::axleGroupsPerDay,
             &D::truckGrowthPercent, &D::configurationEnabled, &D::configurationPercent,
             &D::currentConfiguration, &D::shownLoadPercent, &D::loadSpectra, &D::loadCdf,
             &D::totalAxlePercent, &D::esalFactor, &D::axleTypeFraction, &D::axlesPerTruck,
             &D::vehicleTypeRoadClass, &D::vehicleTypeValue, &D::spectraLibrary);
    loadSpectra.useLoadSpectra = 1;  // set by the command, not copied back

    // All five seasons' flags and the criteria with their damage travel back.
    const CStenorDoc viewOutput =
        with(start, changed, &D::valuesInEnglish, &D::useLoadSpectra, &D::layerCountIndex,
             &D::materialIndex, &D::thickness, &D::poisson, &D::slipValue, &D::seasonalModulus,
             &D::fatigueLayer, &D::seasonEnabled, &D::seasonWeeks, &D::meanAirTemperature,
             &D::modulusDistribution, &D::modulusCov, &D::thicknessDistribution, &D::thicknessCov,
             &D::aadt, &D::percentTrucks, &D::percentTrucksDesignLane, &D::directionalDistribution,
             &D::axleGroupsPerDay, &D::truckGrowthPercent, &D::configurationEnabled,
             &D::axleTypeFraction, &D::loadSpectra, &D::loadCdf, &D::binAxleWeight,
             &D::contactRadius, &D::expectedEsals, &D::totalAxlePercent, &D::esalFactor,
             &D::criteria, &D::transferCoefficient, &D::costPerTon, &D::density, &D::layerCost,
             &D::totalCost, &D::laneWidth, &D::output, &D::trials);

    // ESAL data takes back only the Single row of the cumulative distribution.
    CStenorDoc esalData = with(start, changed, &D::expectedEsals, &D::axleTypeFraction,
                               &D::configurationEnabled, &D::totalAxlePercent, &D::loadSpectra);
    esalData.useLoadSpectra = 0;  // set by the command
    esalData.loadCdf[Single] = changed.loadCdf[Single];

    // Every accepted module but the transfer functions repaints the views.
    const std::tuple<Module, CStenorDoc, bool> cases[] = {
        {Module::Structure, structure, true},
        {Module::LoadSpectra, loadSpectra, true},
        {Module::ViewOutput, viewOutput, true},
        {Module::EsalData, esalData, true},
        {Module::TransferFunctions, with(start, changed, &D::transferCoefficient), false}};
    for (const auto& [module, expected, repainted] : cases) {
        const auto [result, repaintedOnce] = acceptEverythingChanged(module, start);
        EXPECT_EQ(projectDifferences(result, expected), "") << static_cast<int>(module);
        EXPECT_EQ(repaintedOnce, repainted) << static_cast<int>(module);
    }
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

        EXPECT_FALSE(session.runModule(module));
        EXPECT_EQ(projectDifferences(window.seenByModule, expected), "")
            << static_cast<int>(module);
        // Trials kept, renamed or deleted in the Output module stay kept: a changed project.
        const bool trialsKept = module == Module::ViewOutput;
        if (trialsKept)
            expected.trials = everyFieldChanged().trials;
        EXPECT_EQ(projectDifferences(session.project(), expected), "") << static_cast<int>(module);
        EXPECT_EQ(session.isModified(), trialsKept);
        EXPECT_EQ(window.repaints, 0);
    }
}

}  // namespace
}  // namespace ardelon
