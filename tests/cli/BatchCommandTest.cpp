// ardelon-cli batch, the command that runs many analyses: the example plan serially, in shards and
// under GNU parallel, each line as `analyze --json` prints it, bad rows and plans.

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

fs::path planPath() {
    return example("batch/plan.csv");
}

using BatchCommand = CliTest;

TEST_F(BatchCommand, ShardsAndParallelGiveTheSerialLinesAndEachLineIsAnalyze) {
    const std::string plan = quoted(planPath());
    const CliRun serial = runCliOk("batch " + plan + " --threads 1");
    const std::vector<std::string> lines = sortedLines(serial.out);
    ASSERT_EQ(lines.size(), 20u);

    std::string shards;
    for (int k = 0; k < 4; ++k) {
        const CliRun shard = runCliOk("batch " + plan + " --shard " + std::to_string(k) + "/4");
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
            runCliOk("analyze row.json --json --seed " + std::to_string(inputs["seed"].get<int>()) +
                         " --cycles " + std::to_string(inputs["cycles"].get<int>()),
                     dir);
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

}  // namespace
}  // namespace ardelon::testing
