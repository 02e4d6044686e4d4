#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

// Everything but the date line (the second), which records when the run started.
std::string withoutDateLine(const std::string& raw) {
    const auto first = raw.find("\r\n");
    const auto second = raw.find("\r\n", first + 2);
    return raw.substr(0, first) + raw.substr(second);
}

using AnalyzeCommand = CliTest;

TEST_F(AnalyzeCommand, PrintsTheSeedAndBothListsAsTablesAndWritesTheReport) {
    const CliRun run = runCliOk("analyze " + quoted(example("perpetual-interstate.json")) +
                                    " --seed 1 --cycles 60 --report r.xlsx",
                                dir);
    EXPECT_EQ(run.err, "");  // no progress bar when stderr is not a terminal
    EXPECT_EQ(run.out.rfind("Seed: 1\nMonte Carlo cycles: 60\nSettled verdicts at 95 % confidence: "
                            "0 Pass, 0 Fail, 7 Undecided\n\n",
                            0),
              0u)
        << run.out;
    const auto list1 = run.out.find(
        "Perpetual Pavement Design Results: Conventional Design with Transfer Functions\n"
        "Layer  Location  Criteria           Threshold  Units        Percent Below Critical  "
        "Damage/Million Axle  Years to D=0.1  Years to D=1.0  Years to D=1.0 Interval (95 %)\n");
    ASSERT_NE(list1, std::string::npos) << run.out;
    const auto list2 = run.out.find("Perpetual Pavement Design Results: Percentile Responses\n");
    ASSERT_NE(list2, std::string::npos);
    EXPECT_GT(list2, list1);
    for (const char* row : {"\n3      Top       Horizontal Strain  -70.       microstrain  ",
                            "Vertical Deflection  milli-in     15.",
                            "Bottom    Tensile Strain       microstrain  -121.1        95",
                            "4      Top       Vertical Strain      microstrain  200."})
        EXPECT_NE(run.out.find(row), std::string::npos) << row;
    // A real spreadsheet reader opens the report and finds the sheets and the results table.
    const fs::path listing = dir / "sheets.txt";
    const std::string read =
        "/usr/bin/python3 -W ignore -c \"import openpyxl,sys; "
        "b=openpyxl.load_workbook(sys.argv[1]); "
        "print(b.sheetnames); print(b['Performance Summary']['A1'].value)\" '" +
        (dir / "r.xlsx").string() + "' > '" + listing.string() + "' 2>&1";
    ASSERT_EQ(std::system(read.c_str()), 0) << readBytes(listing);
    EXPECT_EQ(readBytes(listing),
              "['Cover', 'Performance Summary', 'Structural Inputs', 'Traffic', 'Charts', "
              "'Run']\nPerformance Summary\n");
}

TEST_F(AnalyzeCommand, SameSeedGivesTheSameListsAndRawFileForAnyThreadCount) {
    const std::string project = quoted(example("perpetual-interstate.json"));
    // One thread reading JSON against two threads reading the binary project file.
    const CliRun one =
        runCli("analyze " + project + " --seed 7 --cycles 40 --threads 1 --raw one.ad", dir);
    const CliRun two = runCli("analyze " + quoted(example("perpetual-interstate.ard")) +
                                  " --seed 7 --cycles 40 --threads 2 --raw two.ad",
                              dir);
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(one.out, two.out);
    const std::string raw = readBytes(dir / "one.ad");
    EXPECT_EQ(withoutDateLine(raw), withoutDateLine(readBytes(dir / "two.ad")));
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 44);
    EXPECT_EQ(raw.rfind("Ardelon 4.3 - Probabilistic Simulation\r\nDate:\t", 0), 0u);
}

// Without --seed the clock seeds the run.
TEST_F(AnalyzeCommand, JsonHasNumbersTextsAndWilsonIntervals) {
    const auto before = static_cast<long long>(std::time(nullptr));
    const CliRun run =
        runCliOk("analyze " + quoted(example("two-layer-esal.json")) + " --cycles 50 --json");
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_GE(doc["seed"].get<long long>(), before);
    EXPECT_LE(doc["seed"].get<long long>(), static_cast<long long>(std::time(nullptr)));
    EXPECT_EQ(doc["cycles"], 50);
    ASSERT_EQ(doc["conventionalDesign"].size(), 1u);
    const auto& fatigue = doc["conventionalDesign"][0];
    EXPECT_EQ(fatigue["layer"], 1);
    EXPECT_EQ(fatigue["location"], "Bottom");
    EXPECT_EQ(fatigue["texts"][2], "Horizontal Strain");
    const double below = fatigue["percentBelowCritical"];
    EXPECT_LE(fatigue["percentBelowCriticalInterval95"][0].get<double>(), below);
    EXPECT_GE(fatigue["percentBelowCriticalInterval95"][1].get<double>(), below);
    ASSERT_EQ(doc["percentileResponses"].size(), 2u);
    for (const auto& row : doc["percentileResponses"]) {
        const double actual = row["actualPercentile"];
        EXPECT_LE(row["actualPercentileInterval95"][0].get<double>(), actual);
        EXPECT_GE(row["actualPercentileInterval95"][1].get<double>(), actual);
        EXPECT_GT(row["actualPercentileInterval95"][1].get<double>(),
                  row["actualPercentileInterval95"][0].get<double>());
        EXPECT_EQ(row["pass"].get<bool>(), actual > row["targetPercentile"].get<double>());
        EXPECT_EQ(row["texts"].size(), 8u);
    }
    EXPECT_EQ(doc["percentileResponses"][1]["texts"][1], "Top");

    // Seed 1: 25 of the 50 cycles exceed the fatigue threshold, 50 % stay below it, and the 95 %
    // Wilson interval worked by hand is 0.5 ± 1.96 √(0.25 / 50 + 1.96² / (4 × 50²)) / (1 + 1.96²
    // / 50) = [36.645, 63.355] %.
    constexpr double kFourDecimals = 1e-4;
    const CliRun seeded = runCliOk("analyze " + quoted(example("two-layer-esal.json")) +
                                   " --cycles 50 --seed 1 --json");
    const auto row = nlohmann::json::parse(seeded.out)["conventionalDesign"][0];
    EXPECT_EQ(row["exceedances"], 25);
    EXPECT_EQ(row["percentBelowCritical"], 50.0);
    EXPECT_NEAR(row["percentBelowCriticalInterval95"][0].get<double>(), 36.6445, kFourDecimals);
    EXPECT_NEAR(row["percentBelowCriticalInterval95"][1].get<double>(), 63.3555, kFourDecimals);
}

// A run until settled ends with exactly the lists and raw-data file of a fixed run of the cycles it
// ran, and says per row whether it settled.
TEST_F(AnalyzeCommand, UntilSettledEqualsTheFixedRunOfTheCyclesItRan) {
    const std::string project = quoted(example("perpetual-interstate.json"));
    const CliRun settled = runCliOk(
        "analyze " + project + " --seed 3 --until-settled --max-cycles 300 --raw s.ad --json", dir);
    const auto json = nlohmann::json::parse(settled.out);
    const int ran = json["cyclesRun"];
    EXPECT_GE(ran, 256);
    EXPECT_LE(ran, 300);
    EXPECT_EQ(json["cycles"], ran);
    EXPECT_EQ(json["maxCycles"], 300);
    bool every = true;
    for (const auto& row : json["percentileResponses"]) {
        const std::string verdict = row["verdict"];
        EXPECT_TRUE(verdict == "pass" || verdict == "fail" || verdict == "undecided") << verdict;
        every = every && verdict != "undecided";
        const double actual = row["actualPercentile"];
        EXPECT_LE(row["actualPercentileInterval"][0].get<double>(), actual);
        EXPECT_GE(row["actualPercentileInterval"][1].get<double>(), actual);
    }
    EXPECT_EQ(json["settled"].get<bool>(), every);
    EXPECT_EQ(every, ran < 300);
    EXPECT_TRUE(json["conventionalDesign"][0]["verdict"].is_null());  // no --life

    const CliRun fixed = runCliOk(
        "analyze " + project + " --seed 3 --cycles " + std::to_string(ran) + " --raw f.ad --json",
        dir);
    auto fixedJson = nlohmann::json::parse(fixed.out);
    fixedJson["maxCycles"] = 300;
    EXPECT_EQ(fixedJson, json);
    EXPECT_EQ(withoutDateLine(readBytes(dir / "s.ad")), withoutDateLine(readBytes(dir / "f.ad")));

    const CliRun table = runCliOk("analyze " + project +
                                      " --seed 3 --until-settled --max-cycles "
                                      "300 --life 30",
                                  dir);
    EXPECT_NE(table.out.find(" cycles (at most 300)\nSettled verdicts at 95 % confidence: "),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("Settled Verdict [95 % Interval]"), std::string::npos);
}

TEST_F(AnalyzeCommand, BadArgumentsAndProjectsAreRefusedWithAMessage) {
    const std::string project = quoted(example("two-layer-esal.json"));
    const std::pair<std::string, std::string> options[] = {{"--cycles", "0"},
                                                           {"--threads", "0"},
                                                           {"--seed", "-4"},
                                                           {"--confidence", "0.2"},
                                                           {"--max-cycles", "5"},
                                                           {"--life", "-3"},
                                                           {"--max-cycles", "0 --until-settled"},
                                                           {"--cycles", "50 --until-settled"}};
    for (const auto& [option, value] : options) {
        const CliRun run = runCli("analyze " + project + " " + option + " " + value);
        EXPECT_EQ(run.status, 2) << option;
        EXPECT_NE(run.err.find(option), std::string::npos) << run.err;
    }
    // Eleven evaluated locations do not fit the solver's fifty points.
    CStenorDoc doc;
    ASSERT_TRUE(loadProject(example("two-layer-esal.json").string(), doc).ok());
    for (int i = 0; i < 11; ++i) {
        doc.criteria[static_cast<std::size_t>(i)].active = 1;
        doc.criteria[static_cast<std::size_t>(i)].responseType = 1;
    }
    ASSERT_TRUE(storeProject(doc, (dir / "crowded.json").string()).ok());
    const CliRun crowded = runCli("analyze crowded.json --cycles 5", dir);
    EXPECT_EQ(crowded.status, 2);
    EXPECT_EQ(crowded.err,
              "ardelon-cli: crowded.json: The analysis evaluates at most 10 criterion locations at "
              "a time (five points each), but 11 are active. Please deactivate some criteria in "
              "the Structure module.\n");
}

// An output in a folder that does not exist is bad input found before the run; one that fails
// while it is written (a full device) is a failure. Either way nothing is printed or created.
TEST_F(AnalyzeCommand, OutputThatCannotBeWrittenIsRefusedOrAFailure) {
    const std::string project = quoted(example("two-layer-esal.json"));
    const std::string missing =
        "the folder \"no-such-folder\" does not exist; nothing was written.";
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"analyze " + project + " --cycles 5 --raw no-such-folder/x.ad", 2,
         "--raw \"no-such-folder/x.ad\": " + missing},
        {"analyze " + project + " --seed 1 --cycles 5 --report no-such-folder/r.xlsx", 2,
         "--report \"no-such-folder/r.xlsx\": " + missing},
        {"convert " + project + " no-such-folder/q.json", 2,
         "OUT \"no-such-folder/q.json\": " + missing},
        {"traffic export " + project + " no-such-folder/out.lsf", 2,
         "OUT \"no-such-folder/out.lsf\": " + missing},
        {"traffic export " + project + " /dev/full -o p.json", 1,
         "ardelon-cli: Cannot save \"/dev/full\": No space left on device.\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments, dir);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_TRUE(fs::is_empty(dir)) << c.arguments;
    }
}

// --sensitivity: the inputs ranked per criterion, beside unchanged lists.
TEST_F(AnalyzeCommand, SensitivityJsonRanksTheInputsOfEveryEvaluatedLocation) {
    const std::string project = quoted(example("perpetual-interstate.json"));
    const std::string run = "analyze " + project + " --seed 3 --cycles 300 --json";
    const CliRun plain = runCli(run);
    const CliRun ranked = runCliOk(run + " --sensitivity");
    nlohmann::json json = nlohmann::json::parse(ranked.out);
    const nlohmann::json measures = json["sensitivity"];
    json.erase("sensitivity");
    EXPECT_EQ(json, nlohmann::json::parse(plain.out));  // the lists do not change

    // Four layers: four moduli, three thicknesses and the season, configuration and load.
    const std::set<std::string> names = {
        "E1", "E2", "E3", "E4", "H1", "H2", "H3", "Season", "Configuration", "WheelLoad"};
    ASSERT_EQ(measures.size(), 4u);
    EXPECT_EQ(measures[2]["layer"], 3);
    EXPECT_EQ(measures[2]["location"], "Top");
    EXPECT_EQ(measures[2]["responseType"], 3);
    for (const nlohmann::json& criterion : measures) {
        std::set<std::string> seen;
        double previous = 1.0;
        for (const nlohmann::json& input : criterion["inputs"]) {
            const std::string name = input["input"];
            seen.insert(name);
            EXPECT_LE(input["share"].get<double>(), previous) << name;  // ranked
            previous = input["share"];
            EXPECT_EQ(input["rankCorrelation"].is_null(),
                      name == "Season" || name == "Configuration");
        }
        EXPECT_EQ(seen, names);
    }

    const CliRun tooMany = runCli("analyze " + project + " --cycles 1000001 --sensitivity");
    EXPECT_EQ(tooMany.status, 2);
    EXPECT_EQ(tooMany.err,
              "ardelon-cli: --sensitivity keeps every cycle in memory: at most "
              "1000000 cycles, not 1000001.\n");
}

}  // namespace
}  // namespace ardelon::testing
