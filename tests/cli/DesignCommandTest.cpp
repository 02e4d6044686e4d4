#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

std::string twoLayerExample() {
    return quoted(example("two-layer-esal.json"));
}

using DesignCommand = CliTest;

TEST_F(DesignCommand, PrintsTheWinnerTracesEveryCandidateAndSavesTheDesign) {
    const CliRun run = runCli("design " + twoLayerExample() +
                                  " --vary 1=4:12:2 --cycles 50 --seed 3 --trace t.csv -o won.json",
                              dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Seed: 3\nMonte Carlo cycles: 50\n"
                            "Cheapest passing design: layer 1 = 12 in.\n"
                            "Cost: 12 in. (sum of thicknesses)\n"
                            "Candidates evaluated: 2 of 5\n"
                            "Monte Carlo cycles run: 69 (every candidate in full: 250)\n",
                            0),
              0u)
        << run.out;
    EXPECT_NE(run.out.find("2      Top       Vertical Strain      microstrain  300.          "
                           "90.                94.                Pass\n"),
              std::string::npos);
    EXPECT_EQ(readText(dir / "t.csv"),
              "\"Layer 1 (in.)\",Cost,Pass,\"Layer 1 Top Vertical Deflection at 90 % actual "
              "percentile\",\"Layer 2 Top Vertical Strain at 90 % actual percentile\",\"Layer 1 "
              "Bottom Horizontal Strain years to D=1.0\",Cycles Run\n"
              "12,12,Pass,100,94,79.00248595,50\n"
              "10,10,Fail,100,73.68421053,37.52366698,19\n");
    CStenorDoc saved;
    ASSERT_TRUE(loadProject((dir / "won.json").string(), saved).ok());
    EXPECT_EQ(saved.thickness[0], 12);
}

TEST_F(DesignCommand, NoPassingCandidateNamesTheBestFailingOneAndExitsWith3) {
    const CliRun run = runCli("design " + twoLayerExample() +
                                  " --vary 1=4:12:2 --cycles 50 --seed 3 --life 100000 -o x.json",
                              dir);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "ardelon-cli: no candidate of the grid passes every criterion. The best failing "
              "candidate, layer 1 = 12 in., fails:\n  Layer 1 Bottom Horizontal Strain reaches "
              "D=1.0 in 79.002 years, within the design life\n");
    EXPECT_FALSE(fs::exists(dir / "x.json"));
}

// The grid's own refusals are checked in full with the thickness search; here one of them stands
// for the way they all reach the terminal.
TEST_F(DesignCommand, BadInputExitsWith2AndWritesNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"--vary 1=4:x", "--vary 1=4:x: 'x' is not a number."},
        {"--vary 1=4", "--vary 1=4: expected LAYER=MIN:MAX[:STEP]."},
        {"--vary 2=4:8",
         "Layer 2 cannot vary: the project has 2 layers and only layers 1 to 1 "
         "have a thickness."},
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
