// The example projects in examples/ match their engineering description. Setting
// ARDELON_WRITE_EXAMPLES=1 rewrites them from it (JSON and .ard).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "project/ProjectJson.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "support/ExampleProjects.h"

namespace ardelon {
namespace {

std::filesystem::path examplesDir() {
    const char* source = std::getenv("ARDELON_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "examples";
}

// The stored files hold `built`, and the analysis accepts it.
void checkExample(const CStenorDoc& built, const std::string& stem) {
    CStenorDoc work = built;
    prepareViewOutput(work);
    EXPECT_FALSE(checkAnalysisInputs(work, 5000).has_value());
    const auto json = examplesDir() / (stem + ".json");
    const auto ard = examplesDir() / (stem + ".ard");
    if (std::getenv("ARDELON_WRITE_EXAMPLES")) {
        ASSERT_TRUE(storeProject(built, json.string()).ok());
        ASSERT_TRUE(storeProject(built, ard.string()).ok());
    }
    CStenorDoc fromJson, fromArd;
    ASSERT_TRUE(loadProject(json.string(), fromJson).ok()) << json;
    ASSERT_TRUE(loadProject(ard.string(), fromArd).ok()) << ard;
    // Fields that the project file does not keep (the ESAL factor, the fractions) are derived
    // again by the Load Spectra accept and the View Output command.
    CStenorDoc expected = built;
    expected.esalFactor = fromJson.esalFactor;
    expected.axleTypeFraction = fromJson.axleTypeFraction;
    expected.useLoadSpectra = fromJson.useLoadSpectra;
    EXPECT_EQ(fromJson, expected);
    EXPECT_EQ(projectToJson(fromArd), projectToJson(fromJson));
}

TEST(ExampleProjects, PerpetualInterstateMatchesItsDescription) {
    const CStenorDoc doc = testing::perpetualInterstateExample();
    // The Rural Interstate class mix (3.03551 axle groups per truck, whose shares the vehicle type
    // tests check) × 0.9 × 0.5 × 0.25 × 30000.
    EXPECT_EQ(doc.axleGroupsPerDay, 10244);
    for (int c = 0; c < 3; ++c)
        EXPECT_DOUBLE_EQ(doc.loadCdf[static_cast<std::size_t>(c)][55], 1.0);
    EXPECT_GT(doc.seasonalModulus[0][Winter], doc.seasonalModulus[0][Summer]);
    EXPECT_EQ(evaluatedSlots(doc.criteria).count, 4);
    checkExample(doc, "perpetual-interstate");
}

TEST(ExampleProjects, EsalRouteMatchesItsDescription) {
    const CStenorDoc doc = testing::esalRouteExample();
    EXPECT_EQ(doc.loadSpectra[0][8], 1000000.0);
    checkExample(doc, "two-layer-esal");
}

}  // namespace
}  // namespace ardelon
