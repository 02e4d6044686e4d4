// Trials kept with a project: in a JSON project's document and in the file beside an .ard
// project, read back byte for byte; a damaged trials file refused and left as it was.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "TrialTestSupport.h"
#include "project/ProjectJson.h"
#include "support/TestFiles.h"
#include "trials/TrialFile.h"
#include "trials/TrialJson.h"

namespace ardelon {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::seasonTrial;
using testing::writeText;

// Two trials: one with a design life (verdicts on the lives), one metric-free default.
std::vector<Trial> twoTrials() {
    std::vector<Trial> trials{seasonTrial("8/6 in.", 15), seasonTrial("winner", 25, 9)};
    trials[1].lists.rules.designLifeYears = 40.0;
    trials[1].lists.transferFunction.at(0).lifeChecked = true;
    return trials;
}

TEST(Trial, SnapshotCostThicknessAndRecord) {
    const Trial t = seasonTrial("a", 15);
    EXPECT_EQ(std::tie(t.run.seed, t.run.cycles, t.run.date),
              std::tuple(5u, 300, "2026-12-05T05:20:00Z"));
    EXPECT_FALSE(t.run.version.empty());
    EXPECT_EQ(t.inputs.criteria[0].threshold, 15);
    EXPECT_TRUE(t.inputs.trials.empty());
    EXPECT_EQ(t.asphaltThickness, 10);  // layer 1 only: the second is the subgrade
    EXPECT_TRUE(t.priced);
    // 10 in. × 12 ft over a mile at 145 pcf and $50 a ton.
    EXPECT_DOUBLE_EQ(t.costPerLane,
                     1.5782828282828283e-5 * 10 * 0.0022727272727272726 * 145 * 73598976.0 * 50);
    EXPECT_EQ(t.lists.percentile.size(), 6u);  // the deflection and five distribution levels
    EXPECT_EQ(defaultTrialName(t.inputs), "10 in.");
}

TEST(Trial, NamesAndThicknessesAsAnEngineerReadsThem) {
    CStenorDoc doc;
    doc.layerCountIndex = 2;  // four layers: three with a thickness
    doc.thickness = {8, 6.5, 12.25, 999};
    doc.materialIndex = {0, 0, 6, 0};  // AC, AC, granular base
    EXPECT_EQ(defaultTrialName(doc), "8/6.5/12.25 in.");
    EXPECT_EQ(asphaltThickness(doc), 14.5);
    doc.valuesInEnglish = 0;
    EXPECT_EQ(defaultTrialName(doc), "8/6.5/12.25 cm");

    const std::vector<Trial> trials{seasonTrial("A", 15), seasonTrial("B", 25)};
    const struct {
        std::string name;
        int except;
        std::string problem;
    } cases[] = {
        {"C", -1, ""},
        {"B", 1, ""},  // renaming B to itself
        {"B", 0, "A trial named \"B\" is already kept. Please choose another name."},
        {" \t", -1, "Please enter a name for the trial."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkTrialName(trials, c.name, c.except), c.problem) << c.name;
}

TEST(Trial, LoadingPutsTheInputsBackAndKeepsTheProjectsOwnTexts) {
    CStenorDoc project = testing::seasonProject(40);
    project.reportDetails.title = "Route 9";
    setProjectTrials(project, {seasonTrial("A", 15)});
    std::vector<Trial> kept;
    ASSERT_TRUE(projectTrials(project, kept).ok());
    const CStenorDoc loaded = projectWithTrialInputs(project, kept[0]);
    EXPECT_EQ(loaded.criteria[0].threshold, 15);
    EXPECT_EQ(loaded.reportDetails.title, "Route 9");
    EXPECT_EQ(loaded.trials, project.trials);
}

TEST(TrialJson, RoundTripThroughTheProjectDocumentByteForByte) {
    CStenorDoc doc = testing::seasonProject(40);
    const std::vector<Trial> trials = twoTrials();
    setProjectTrials(doc, trials);
    const std::string text = projectToJson(doc);
    CStenorDoc back;
    ASSERT_TRUE(projectFromJson(text, back).ok());
    EXPECT_EQ(projectToJson(back), text);

    std::vector<Trial> read;
    ASSERT_TRUE(projectTrials(back, read).ok());
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].name, trials[i].name);
        EXPECT_EQ(read[i].run, trials[i].run);
        EXPECT_EQ(read[i].inputs, trials[i].inputs);
        EXPECT_EQ(read[i].costPerLane, trials[i].costPerLane);
        EXPECT_EQ(read[i].lists.percentile.size(), trials[i].lists.percentile.size());
        for (std::size_t r = 0; r < read[i].lists.percentile.size(); ++r) {
            EXPECT_EQ(read[i].lists.percentile[r].cells, trials[i].lists.percentile[r].cells);
            EXPECT_EQ(read[i].lists.percentile[r].settled.verdict,
                      trials[i].lists.percentile[r].settled.verdict);
        }
        EXPECT_EQ(read[i].lists.transferFunction[0].yearsToDamage10,
                  trials[i].lists.transferFunction[0].yearsToDamage10);
    }
    EXPECT_EQ(read[1].lists.rules.designLifeYears, 40.0);
    EXPECT_FALSE(read[0].lists.rules.designLifeYears.has_value());
    EXPECT_EQ(trialsToText(read), doc.trials);

    // Deleting the last trial leaves the document as it was before any was kept.
    setProjectTrials(doc, {});
    EXPECT_EQ(projectToJson(doc), projectToJson(testing::seasonProject(40)));
}

TEST(TrialJson, ProjectsWithoutTrialsStayByteIdentical) {
    for (const char* name :
         {"default-project.json", "perpetual-interstate.json", "two-layer-esal.json"}) {
        const std::string text =
            readBytes(fs::path(std::getenv("ARDELON_SOURCE_DIR")) / "examples" / name);
        CStenorDoc doc;
        ASSERT_TRUE(projectFromJson(text, doc).ok()) << name;
        EXPECT_TRUE(doc.trials.empty());
        EXPECT_EQ(projectToJson(doc), text) << name;
    }
}

TEST(TrialFile, BesideAnArdProjectByteForByte) {
    const fs::path dir = testing::scratchDir("trials-beside");
    const std::string project = (dir / "design.ard").string();
    CStenorDoc doc = testing::seasonProject(40);
    ASSERT_TRUE(saveProjectFile(doc, project).ok());
    // No trials, no file.
    ASSERT_TRUE(saveTrials(project, doc).ok());
    EXPECT_EQ(testing::listing(dir), std::set<std::string>{"design.ard"});

    setProjectTrials(doc, twoTrials());
    ASSERT_TRUE(saveTrials(project, doc).ok());
    const std::string written = readBytes(dir / "design.trials.json");
    EXPECT_EQ(written.rfind("{\n  \"format\": \"ardelon-trials\",", 0), 0u);

    CStenorDoc opened;
    ASSERT_TRUE(openProjectFile(project, opened).ok());
    ASSERT_TRUE(openTrials(project, opened).ok());
    EXPECT_EQ(opened.trials, doc.trials);
    ASSERT_TRUE(saveTrials(project, opened).ok());
    EXPECT_EQ(readBytes(dir / "design.trials.json"), written);

    // Deleting every trial keeps the file, with none in it.
    setProjectTrials(opened, {});
    ASSERT_TRUE(saveTrials(project, opened).ok());
    CStenorDoc reopened;
    ASSERT_TRUE(openTrials(project, reopened).ok());
    EXPECT_TRUE(reopened.trials.empty());
    fs::remove_all(dir);
}

TEST(TrialFile, NamedAfterTheProject) {
    EXPECT_EQ(trialsFilePath("a/design.ard"), "a/design.trials.json");
    EXPECT_EQ(trialsFilePath("DESIGN.ARD"), "DESIGN.trials.json");
    EXPECT_EQ(trialsFilePath("design"), "design.trials.json");
}

// A trials file that cannot be read: the project opens without trials, the file is never
// replaced, and the message names what is wrong.
TEST(TrialFile, DamagedFileRefusedAndLeftAsItWas) {
    const fs::path dir = testing::scratchDir("trials-damaged");
    const std::string project = (dir / "design.ard").string();
    const std::string beside = (dir / "design.trials.json").string();
    const std::string valid = trialsFileText({seasonTrial("A", 15)});
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = valid;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const struct {
        std::string content;
        std::string problem;
    } cases[] = {
        {"{\"format\": ", "JSON syntax error at line 1, column 12"},
        {"[]", "field \"format\": expected \"ardelon-trials\""},
        {"{\"format\": \"ardelon-trials\", \"version\": 2, \"trials\": []}",
         "field \"version\": expected 1"},
        {replaced("\"name\": \"A\"", "\"name\": 7"), "trials[0].name: expected a text"},
        {replaced("\"verdict\": \"", "\"verdict\": \"maybe"),
         "trials[0].conventionalDesign[0].verdict: expected \"pass\", \"fail\" or "
         "\"undecided\""},
        {replaced("\"seed\": 5", "\"seed\": -5"),
         "trials[0].run.seed: expected an integer from 0 to 4294967295"},
        {replaced("\"aadt\": 1000", "\"aadt\": \"many\""),
         "trials[0].inputs: field \"aadt\": expected an integer"},
        {replaced("\"priced\": true", "\"priced\": true, \"extra\": 1"),
         "trials[0]: unknown field \"extra\""},
    };
    for (const auto& c : cases) {
        writeText(beside, c.content);
        CStenorDoc doc;
        doc.trials = "[stale]";
        const FileResult opened = openTrials(project, doc);
        EXPECT_EQ(opened.error, "The trials of this project cannot be read: \"" + beside +
                                    "\": " + c.problem +
                                    " The project opens without them, and that file is left as "
                                    "it was.")
            << c.problem;
        EXPECT_TRUE(doc.trials.empty());
        setProjectTrials(doc, {seasonTrial("B", 25)});
        const FileResult saved = saveTrials(project, doc);
        EXPECT_EQ(saved.error, "The trials were not saved: \"" + beside + "\": " + c.problem +
                                   " It cannot be read as trials and is left as it was; mend or "
                                   "move it, then save again.");
        EXPECT_EQ(readBytes(beside), c.content);
    }
    fs::remove_all(dir);
}

// A JSON project keeps trials it cannot read as they are and writes them back unchanged.
TEST(TrialFile, DamagedTrialsOfAJsonProjectKeptUnchanged) {
    nlohmann::json document = nlohmann::json::parse(projectToJson(testing::seasonProject(40)));
    document["trials"] = nlohmann::json::parse("[{\"name\": 3}]");
    const std::string text = document.dump(2) + "\n";
    CStenorDoc doc;
    ASSERT_TRUE(projectFromJson(text, doc).ok());
    const FileResult opened = openTrials("design.json", doc);
    EXPECT_EQ(opened.error,
              "The trials kept in \"design.json\" cannot be read (trials[0].name: expected a "
              "text). They are kept unchanged in the file.");
    std::vector<Trial> trials;
    EXPECT_FALSE(projectTrials(doc, trials).ok());
    EXPECT_EQ(projectToJson(doc), text);
}

}  // namespace
}  // namespace ardelon
