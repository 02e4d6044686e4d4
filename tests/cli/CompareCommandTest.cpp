// ardelon-cli compare: each design gets exactly the lists `analyze` gives it at the same seed and
// cycles, with the paired differences; bad input is refused with a message and nothing written.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CliTestSupport.h"
#include "project/ProjectJson.h"
#include "trials/TrialFile.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using CompareCommand = CliTest;

// The interstate example with its asphalt layers set to `top` and `second` inches.
CStenorDoc interstate(double top, double second) {
    CStenorDoc doc;
    EXPECT_TRUE(loadProject(example("perpetual-interstate.json").string(), doc).ok());
    doc.thickness[0] = top;
    doc.thickness[1] = second;
    return doc;
}

void store(const CStenorDoc& doc, const fs::path& path) {
    ASSERT_TRUE(storeProject(doc, path.string()).ok());
}

TEST_F(CompareCommand, EveryDesignGetsTheListsOfItsOwnAnalysisPlusPairedDifferences) {
    store(interstate(8, 6), dir / "a.json");
    store(interstate(7, 5), dir / "b.ard");
    const CliRun run = runCliOk("compare a.json b.ard --seed 2 --cycles 120 --json", dir);
    const json compared = json::parse(run.out);
    EXPECT_EQ(compared["seed"], 2);
    EXPECT_EQ(compared["cycles"], 120);
    ASSERT_EQ(compared["designs"].size(), 2u);
    const char* names[] = {"a.json", "b.ard"};
    for (int i = 0; i < 2; ++i) {
        const CliRun alone =
            runCliOk(std::string("analyze ") + names[i] + " --seed 2 --cycles 120 --json", dir);
        const json design = compared["designs"][static_cast<std::size_t>(i)];
        EXPECT_EQ(design["name"], names[i]);
        const json analysed = json::parse(alone.out);
        for (const auto& [key, value] : analysed.items())
            EXPECT_EQ(design[key], value) << names[i] << " " << key;
    }
    EXPECT_EQ(compared["designs"][0]["asphaltThickness"], 14.0);
    EXPECT_EQ(compared["designs"][1]["asphaltThickness"], 12.0);
    EXPECT_EQ(compared["designs"][0]["costUnit"], "$/lane-mile");

    // Every row of both lists is paired; each difference is the percentiles' difference.
    const json& paired = compared["pairedDifferences"];
    ASSERT_EQ(paired.size(), 1u);
    EXPECT_EQ(paired[0]["first"], "a.json");
    EXPECT_EQ(paired[0]["second"], "b.ard");
    const json& a = compared["designs"][0];
    EXPECT_EQ(paired[0]["rows"].size(),
              a["conventionalDesign"].size() + a["percentileResponses"].size());
    for (const json& row : paired[0]["rows"]) {
        EXPECT_NEAR(row["difference"].get<double>(),
                    row["first"].get<double>() - row["second"].get<double>(), 1e-9);
        EXPECT_LE(row["interval"][0].get<double>(), row["interval"][1].get<double>());
    }
}

TEST_F(CompareCommand, KeptTrialsSideBySideAsATableAWorkbookAndAPdf) {
    CStenorDoc project = interstate(8, 6);
    Trial thick, thin;
    thick.name = "8/6 in.";
    thick.inputs = interstate(8, 6);
    thin.name = "7/5 in.";
    thin.inputs = interstate(7, 5);
    setProjectTrials(project, {thick, thin});
    store(project, dir / "p.ard");
    ASSERT_TRUE(saveTrials((dir / "p.ard").string(), project).ok());

    std::string arguments = "compare p.ard --trials --seed 4 --cycles 60 --report t.xlsx";
#ifdef ARDELON_HAVE_PDF
    arguments += " --pdf t.pdf";
#endif
    const CliRun run = runCliOk(arguments, dir);
    EXPECT_EQ(run.out.rfind("Seed: 4\nMonte Carlo cycles: 60 (the same draws for every design)\n\n"
                            "Designs side by side\nResult",
                            0),
              0u)
        << run.out;
    EXPECT_NE(run.out.find("8/6 in."), std::string::npos);
    const auto line = run.out.find("\nTotal asphalt thickness (in.)  ");
    ASSERT_NE(line, std::string::npos) << run.out;
    std::istringstream cells(run.out.substr(line + 31, run.out.find('\n', line + 1) - line - 31));
    std::string first, second;
    cells >> first >> second;
    EXPECT_EQ(first + " " + second, "14 12");
    EXPECT_NE(run.out.find("Paired differences, 8/6 in. - 7/5 in. (same draws, percentage "
                           "points)\nResult"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "t.xlsx"));
    const std::string read =
        "/usr/bin/python3 -W ignore -c \"import openpyxl,sys; "
        "s=openpyxl.load_workbook(sys.argv[1])['Trials']; "
        "print(s['A1'].value, '|', s['B4'].value, '|', s['C4'].value)\" '" +
        (dir / "t.xlsx").string() + "' > '" + (dir / "cells.txt").string() + "'";
    ASSERT_EQ(std::system(read.c_str()), 0);
    EXPECT_EQ(readBytes(dir / "cells.txt"), "Trial Designs Side by Side | 8/6 in. | 7/5 in.\n");
#ifdef ARDELON_HAVE_PDF
    EXPECT_EQ(readBytes(dir / "t.pdf").rfind("%PDF-", 0), 0u);
#endif
}

TEST_F(CompareCommand, BadInputRefusedWithAMessageAndNothingWritten) {
    store(interstate(8, 6), dir / "a.json");
    store(interstate(7, 5), dir / "b.json");
    CStenorDoc metric = interstate(7, 5);
    metric.valuesInEnglish = 0;
    metric.unitSystem = Metric;
    store(metric, dir / "m.json");
    CStenorDoc one = interstate(8, 6);
    Trial only;
    only.name = "only";
    only.inputs = one;
    setProjectTrials(one, {only});
    store(one, dir / "one.json");
    store(interstate(8, 6), dir / "d.ard");
    writeText(dir / "d.trials.json", "{\"format\": \"ardelon-trials\"");

    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"a.json",
         "compare needs at least two designs: give two or more projects, or one "
         "project with --trials."},
        {"a.json gone.json", "Cannot open \"gone.json\": No such file or directory."},
        {"a.json m.json",
         "Cannot compare designs in different unit systems: \"a.json\" is English, \"m.json\" "
         "is metric."},
        {"a.json b.json --trials",
         "--trials compares the kept trials of one project: give one PROJECT, not 2."},
        {"one.json --trials",
         "one.json: compare needs at least two designs, and the project "
         "keeps 1 trial."},
        {"a.json --trials",
         "a.json: compare needs at least two designs, and the project keeps "
         "0 trials."},
        {"d.ard --trials",
         "The trials kept beside \"d.ard\" cannot be read: \"d.trials.json\": JSON syntax "
         "error at line 1, column 28; nothing was written."},
        {"a.json b.json --life 0", "--life: the design life must be a positive number of years."},
        {"a.json b.json --cycles 2000000",
         "compare keeps every cycle of every design in memory: at most 1000000 cycles, not "
         "2000000."},
    };
    for (const auto& c : cases) {
        const auto before = listing(dir);
        const CliRun run = runCli("compare " + c.arguments + " --report out.xlsx", dir);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err, "ardelon-cli: " + c.message + "\n") << c.arguments;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(listing(dir), before) << c.arguments;
    }
    // The report may not replace a project it compares.
    const CliRun same = runCli("compare a.json b.json --report b.json", dir);
    EXPECT_EQ(same.status, 2);
    EXPECT_NE(same.err.find("--report"), std::string::npos) << same.err;
}

}  // namespace
}  // namespace ardelon::testing
