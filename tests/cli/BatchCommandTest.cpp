// ardelon-cli batch and design, the commands that run many analyses: the example plan serially, in
// shards and under GNU parallel, each line as `analyze --json` prints it, bad rows and plans; the
// thickness search's winner, trace and refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> sortedLines(const std::string& text) {
    std::vector<std::string> lines = linesOf(text);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string twoLayerExample() {
    return quoted(example("two-layer-esal.json"));
}

fs::path planPath() {
    return example("batch/plan.csv");
}

using BatchCommand = CliTest;

TEST_F(BatchCommand, ShardsAndParallelGiveTheSerialLinesAndEachLineIsAnalyze) {
    const std::string plan = quoted(planPath());
    const CliRun serial = runCli("batch " + plan + " --threads 1");
    ASSERT_EQ(serial.status, 0) << serial.err;
    const std::vector<std::string> lines = sortedLines(serial.out);
    ASSERT_EQ(lines.size(), 20u);

    std::string shards;
    for (int k = 0; k < 4; ++k) {
        const CliRun shard = runCli("batch " + plan + " --shard " + std::to_string(k) + "/4");
        ASSERT_EQ(shard.status, 0) << shard.err;
        shards += shard.out;
    }
    EXPECT_EQ(sortedLines(shards), lines);

    if (std::system("command -v parallel >/dev/null 2>&1") == 0) {
        const fs::path out = dir / "parallel.jsonl";
        const std::string command = "parallel -j2 '" + std::string(ARDELON_CLI_PATH) + "' batch " +
                                    plan + " --shard {}/4 ::: 0 1 2 3 >'" + out.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(sortedLines(readBytes(out)), lines);
    } else {
        ADD_FAILURE() << "GNU parallel is not installed (scripts/install-deps installs it)";
    }

    // Each line is `analyze --json` of its project with the row's thicknesses and modulus.
    for (const std::string& text : lines) {
        nlohmann::json line = nlohmann::json::parse(text);
        const nlohmann::json inputs = line["inputs"];
        CStenorDoc doc;
        ASSERT_TRUE(
            loadProject((planPath().parent_path() / inputs["project"].get<std::string>()).string(),
                        doc)
                .ok());
        for (int i = 0; i < 2; ++i) {
            const std::string column = "H" + std::to_string(i + 1);
            if (inputs.contains(column))
                doc.thickness[static_cast<size_t>(i)] = inputs[column];
        }
        if (inputs.contains("E3"))
            doc.seasonalModulus[2].fill(inputs["E3"].get<double>());
        ASSERT_TRUE(storeProject(doc, (dir / "row.json").string()).ok());
        const CliRun analyze =
            runCli("analyze row.json --json --seed " + std::to_string(inputs["seed"].get<int>()) +
                       " --cycles " + std::to_string(inputs["cycles"].get<int>()),
                   dir);
        ASSERT_EQ(analyze.status, 0) << analyze.err;
        EXPECT_TRUE(line.contains("meetsLife"));
        line.erase("id"), line.erase("inputs"), line.erase("meetsLife");
        EXPECT_EQ(line, nlohmann::json::parse(analyze.out)) << text.substr(0, 40);
    }
}

TEST_F(BatchCommand, ABadRowGivesAnErrorLineAndTheOthersGoOn) {
    fs::copy_file(planPath().parent_path().parent_path() / "two-layer-esal.json", dir / "p.json");
    writeText(dir / "plan.csv",
              "ID,Project,Cycles,H1,E2,H4\n"
              "ok,p.json,50,6,,\n"
              "words,p.json,50,six,,\n"
              "lost,missing.json,50,,,\n"
              "deep,p.json,50,,,4\n"
              "short,p.json\n");
    const CliRun run = runCli("batch plan.csv --threads 1", dir);
    EXPECT_EQ(run.status, 2);
    const std::vector<std::string> lines = sortedLines(run.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(
        lines[0],
        R"({"id":"deep","error":"line 5: H4: the project has 2 layers; the last one has no thickness"})");
    EXPECT_EQ(lines[1].substr(0, 12), R"({"id":"lost")");
    EXPECT_NE(lines[1].find("\"error\":"), std::string::npos);
    EXPECT_EQ(lines[2].substr(0, 51), R"({"id":"ok","inputs":{"H1":6.0,"cycles":50,"project")");
    EXPECT_EQ(lines[3], R"({"id":"short","error":"line 6: 2 cells; the header names 6 columns"})");
    EXPECT_EQ(lines[4], R"({"id":"words","error":"line 3: H1 \"six\" is not a number above 0"})");
    EXPECT_NE(run.err.find("ardelon-cli: some rows of \"plan.csv\" failed; see their lines.\n"),
              std::string::npos);

    // A plan that cannot be run prints nothing.
    writeText(dir / "dup.csv", "id,project\na,p.json\na,p.json\n");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"dup.csv", "plan \"dup.csv\" line 3: the id \"a\" is used again (first on line 2)"},
        {"plan.csv --shard 4/4", "--shard: \"4/4\" is not K/N with 0 <= K < N (for example 0/4)"},
    };
    for (const auto& [arguments, message] : refused) {
        const CliRun bad = runCli("batch " + arguments, dir);
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.out, "");
        EXPECT_EQ(bad.err, "ardelon-cli: " + message + ".\n");
    }
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
    // The candidate's asphalt moduli follow its 12 in. (Temperature Correction is on).
    EXPECT_NE(run.out.find("2      Top       Vertical Strain      microstrain  300.          "
                           "90.                96.                Pass        "),
              std::string::npos);
    EXPECT_EQ(readBytes(dir / "t.csv"),
              "\"Layer 1 (in.)\",Cost,Pass,\"Layer 1 Top Vertical Deflection at 90 % actual "
              "percentile\",\"Layer 2 Top Vertical Strain at 90 % actual percentile\",\"Layer 1 "
              "Bottom Horizontal Strain years to D=1.0\",Cycles Run,Settled\n"
              "12,12,Pass,100,96,82.26271816,50,No\n"
              "10,10,Fail,100,73.68421053,39.41269723,19,No\n");
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
