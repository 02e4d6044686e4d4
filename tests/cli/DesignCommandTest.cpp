#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/CliTestSupport.h"
#include "project/Rounding.h"
#include "structure/AcTemperature.h"

namespace ardelon::testing {
namespace {

using DesignCommand = CliTest;

nlohmann::json readJson(const std::filesystem::path& path) {
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

// The two-layer example with only its transfer-function row (fatigue at the bottom of layer 1)
// active: nothing fails unless a design life is given.
std::filesystem::path fatigueOnly(const std::filesystem::path& dir) {
    nlohmann::json project = readJson(example("two-layer-esal.json"));
    project["criteria"][0]["active"] = 0;
    project["criteria"][3]["active"] = 0;
    const std::filesystem::path path = dir / "fatigue-only.json";
    writeText(path, project.dump(1));
    return path;
}

TEST_F(DesignCommand, ARowThatCannotFailIsRefusedOrWarnedAbout) {
    const std::string project = quoted(fatigueOnly(dir));
    const CliRun refused = runCli("design " + project + " --vary 1=2:4 --cycles 20", dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("No active criterion can fail"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("(--life)"), std::string::npos);
    EXPECT_EQ(refused.out, "");

    // With a life the row is checked; on the whole example a search without one warns and names
    // the life the winner reaches.
    const CliRun checked =
        runCli("design " + project + " --vary 1=2:4 --cycles 20 --life 1 --json", dir);
    ASSERT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(nlohmann::json::parse(checked.out)["design"]["warnings"].size(), 0u);
    const CliRun warned =
        runCli("design " + quoted(example("two-layer-esal.json")) + " --vary 1=10:14:2 --cycles 20",
               dir);
    ASSERT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("warning: no design life (--life) was given"), std::string::npos)
        << warned.err;
    EXPECT_NE(warned.err.find("Layer 1 Bottom Horizontal Strain years to D=1.0 = "),
              std::string::npos);
    EXPECT_NE(warned.out.find("Margins of the winner (95 % confidence"), std::string::npos);
}

// With Temperature Correction on, the saved winner's asphalt moduli are the temperature rule's
// for its own thicknesses (one third into each layer), not the starting ones; and the winner on
// the edge of its grid is said to be there.
TEST_F(DesignCommand, TheSavedWinnerCarriesTheModuliOfItsOwnThicknesses) {
    const CliRun run = runCli("design " + quoted(example("perpetual-interstate.json")) +
                                  " --vary 1=10:10.5 --vary 2=3:3 --cycles 10 --seed 2 --life 1 "
                                  "--verify --json -o win.json",
                              dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json out = nlohmann::json::parse(run.out);
    const nlohmann::json saved = readJson(dir / "win.json");
    const double h1 = saved["thickness"][0], h2 = saved["thickness"][1];
    EXPECT_EQ(h2, 3.0);
    const nlohmann::json& air = saved["meanAirTemperature"];
    const nlohmann::json& pg = saved["pgHighIndex"];
    for (int season : {0, 1, 2, 3}) {
        EXPECT_EQ(saved["seasonalModulus"][0][season].get<double>(),
                  roundHalfUpWhole(acModulusFromTemperature(air[season], h1 / 3, pg[0])));
        EXPECT_EQ(saved["seasonalModulus"][1][season].get<double>(),
                  roundHalfUpWhole(acModulusFromTemperature(air[season], h1 + h2 / 3, pg[1])));
    }
    EXPECT_EQ(saved["layerModulus"][0].get<double>(),
              saved["seasonalModulus"][0][0].get<double>());
    // Layer 2 cannot move: it sits on both edges of its one-point range.
    bool edge = false;
    for (const auto& e : out["design"]["gridEdge"])
        edge = edge || e.get<std::string>().rfind("layer 2 at its minimum (3 in.)", 0) == 0;
    EXPECT_TRUE(edge) << out["design"]["gridEdge"];
    // The verification judges the life rows as well as the percentiles.
    bool lifeRow = false;
    for (const auto& r : out["verification"]["rows"])
        lifeRow = lifeRow || r["kind"] == "designLife";
    EXPECT_TRUE(lifeRow);
    EXPECT_EQ(out["verification"]["robust"].get<bool>(),
              out["verification"]["marginal"].empty());
}

}  // namespace
}  // namespace ardelon::testing
