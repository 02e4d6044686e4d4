// ardelon-cli design: the thickness search's winner, its trace and saved project, refusals, and
// rows that cannot fail without a design life.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"
#include "project/Rounding.h"
#include "structure/AcTemperature.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using DesignCommand = CliTest;

std::string twoLayerExample() {
    return quoted(example("two-layer-esal.json"));
}

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
        runCliOk("design " + project + " --vary 1=2:4 --cycles 20 --life 1 --json", dir);
    EXPECT_EQ(nlohmann::json::parse(checked.out)["design"]["warnings"].size(), 0u);
    const CliRun warned = runCliOk(
        "design " + quoted(example("two-layer-esal.json")) + " --vary 1=10:14:2 --cycles 20", dir);
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
    const CliRun run = runCliOk("design " + quoted(example("perpetual-interstate.json")) +
                                    " --vary 1=10:10.5 --vary 2=3:3 --cycles 10 --seed 2 --life 1 "
                                    "--verify --json -o win.json",
                                dir);
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
    EXPECT_EQ(saved["layerModulus"][0].get<double>(), saved["seasonalModulus"][0][0].get<double>());
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
    EXPECT_EQ(out["verification"]["robust"].get<bool>(), out["verification"]["marginal"].empty());
}

TEST_F(DesignCommand, PrintsTheWinnerTracesEveryCandidateAndSavesTheDesign) {
    const CliRun run =
        runCliOk("design " + twoLayerExample() +
                     " --vary 1=4:12:2 --cycles 50 --seed 3 --trace t.csv -o won.json",
                 dir);
    EXPECT_EQ(run.out.rfind("Seed: 3\nMonte Carlo cycles: 50\n"
                            "Cheapest passing design: layer 1 = 12 in.\n"
                            "Cost: 12 in. (sum of thicknesses)\n"
                            "Candidates evaluated: 2 of 5\n"
                            "Monte Carlo cycles run: 69 (every candidate in full: 250)\n",
                            0),
              0u)
        << run.out;
    // The candidate's asphalt moduli follow its 12 in. (Temperature Correction is on).
    EXPECT_NE(run.out.find("2      Top       Vertical Strain      microstrain  300.          "
                           "90.                96.                Pass        "),
              std::string::npos);
    EXPECT_EQ(readBytes(dir / "t.csv"),
              "\"Layer 1 (in.)\",Cost,Pass,\"Layer 1 Top Vertical Deflection at 90 % actual "
              "percentile\",\"Layer 2 Top Vertical Strain at 90 % actual percentile\",\"Layer 1 "
              "Bottom Horizontal Strain years to D=1.0\",Cycles Run,Settled\n"
              "12,12,Pass,100,96,82.26345681,50,No\n"
              "10,10,Fail,100,73.68421053,39.4135323,19,No\n");
    CStenorDoc saved;
    ASSERT_TRUE(loadProject((dir / "won.json").string(), saved).ok());
    EXPECT_EQ(saved.thickness[0], 12);
}

// Until settled a candidate runs at most twice --cycles, or --max-cycles when given.
TEST_F(DesignCommand, UntilSettledCapsEachCandidateAtTwiceTheCyclesOrMaxCycles) {
    for (const auto& [arguments, cap] :
         {std::pair{" --cycles 30", 60}, {" --max-cycles 100", 100}}) {
        const CliRun run =
            runCliOk("design " + twoLayerExample() +
                         " --vary 1=4:12:2 --seed 3 --until-settled --trace t.csv" + arguments,
                     dir);
        EXPECT_EQ(run.out.rfind("Seed: 3\nMonte Carlo cycles: until settled at 95 % confidence, "
                                "at most " +
                                    std::to_string(cap) + " per candidate\n",
                                0),
                  0u)
            << run.out;
        const std::string trace = readBytes(dir / "t.csv");
        EXPECT_NE(trace.find("," + std::to_string(cap) + ",No\n"), std::string::npos) << trace;
    }
}

TEST_F(DesignCommand, NoPassingCandidateNamesTheBestFailingOneAndExitsWith3) {
    const CliRun run = runCli("design " + twoLayerExample() +
                                  " --vary 1=4:12:2 --cycles 50 --seed 3 --life 100000 -o x.json",
                              dir);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "ardelon-cli: no candidate of the grid passes every criterion. The best failing "
              "candidate, layer 1 = 12 in., fails:\n  Layer 1 Bottom Horizontal Strain reaches "
              "D=1.0 in 82.263 years, within the design life\n");
    EXPECT_FALSE(fs::exists(dir / "x.json"));
}

// The grid's own refusals are checked in full with the thickness search; here one of them stands
// for the way they all reach the terminal.
TEST_F(DesignCommand, BadInputExitsWith2AndWritesNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"--vary 1=4:x", "--vary 1=4:x: 'x' is not a number."},
        {"--vary 1=4", "--vary 1=4: expected LAYER=MIN:MAX[:STEP]."},
        {"--vary 2=4:8",
         "Layer 2 cannot vary: the project has 2 layers and only layer 1 has a thickness."},
        {"--vary 1=4:8 --life 0", "--life: the design life must be a positive number of years."},
        {"--vary 1=4:8 -o x.txt", "-o x.txt: the project must be .ard or .json."},
    };
    for (const auto& [arguments, message] : cases) {
        const CliRun run =
            runCli("design " + twoLayerExample() + " " + arguments + " --trace t.csv", dir);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_TRUE(fs::is_empty(dir)) << arguments;
    }
    EXPECT_EQ(runCli("design " + twoLayerExample() + " --vary 1=4:8 --bogus", dir).status, 2);
}

}  // namespace
}  // namespace ardelon::testing
