// The trials kept with a project go wherever a command writes the project: in a JSON project's
// "trials" array, in the file beside an .ard project. Nothing is lost, no other trials are
// replaced or adopted, and a refusal writes nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"
#include "trials/TrialFile.h"
#include "trials/TrialJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Files = std::map<std::string, std::string>;

CStenorDoc twoLayerProject() {
    CStenorDoc doc;
    EXPECT_TRUE(loadProject(example("two-layer-esal.json").string(), doc).ok());
    return doc;
}

Trial trialAt(const std::string& name, double asphaltInches) {
    Trial t;
    t.name = name;
    t.inputs = twoLayerProject();
    t.inputs.thickness[0] = asphaltInches;
    t.run = {7, 500, "2026-12-07T03:15:00Z", "1.0.0"};
    t.costPerLane = 123456.789;
    t.priced = true;
    t.asphaltThickness = asphaltInches;
    return t;
}

// The files every case starts from: a project with two trials as JSON (T) and as .ard (A with F
// beside), the same project without trials (P, A), other trials (G), a damaged trials file (D)
// and a JSON project whose trials are not trials (B).
struct Sample {
    std::string withTrials, plain, ard, trialsFile, otherTrials, damaged, badTrials;
    std::vector<Trial> trials;
};

Sample sample() {
    Sample s;
    CStenorDoc doc = twoLayerProject();
    s.plain = projectToJson(doc);
    const auto bytes = encodeProject(doc);
    s.ard.assign(bytes.begin(), bytes.end());
    s.trials = {trialAt("8 in.", 8), trialAt("10 in.", 10)};
    setProjectTrials(doc, s.trials);
    s.withTrials = projectToJson(doc);
    s.trialsFile = trialsFileText(s.trials);
    s.otherTrials = trialsFileText({trialAt("12 in.", 12)});
    s.damaged = "{\"format\": \"ardelon-trials\"";
    json bad = json::parse(s.withTrials);
    bad["trials"][1]["name"] = 5;
    s.badTrials = bad.dump(2) + "\n";
    return s;
}

void place(const fs::path& dir, const Files& files) {
    for (const auto& [name, text] : files)
        writeText(dir / name, text);
}

// The folder holds exactly these files with these contents.
void expectFolder(const fs::path& dir, const Files& expected, const std::string& label) {
    std::set<std::string> names;
    for (const auto& [name, text] : expected) {
        names.insert(name);
        EXPECT_EQ(readBytes(dir / name), text) << label << ": " << name;
    }
    EXPECT_EQ(listing(dir), names) << label;
}

using ProjectTrials = CliTest;

TEST_F(ProjectTrials, ConvertCarriesTheTrialsOrRefusesAndWritesNothing) {
    const Sample s = sample();
    const struct {
        std::string label;
        Files before;
        std::string arguments;
        int status;
        std::string error;
        Files after;  // besides the files before, unchanged
    } cases[] = {
        {"JSON to .ard: the trials go beside it",
         {{"t.json", s.withTrials}},
         "t.json t.ard",
         0,
         "",
         {{"t.ard", s.ard}, {"t.trials.json", s.trialsFile}}},
        {".ard to JSON: the file beside comes back byte for byte",
         {{"t.ard", s.ard}, {"t.trials.json", s.trialsFile}},
         "t.ard back.json",
         0,
         "",
         {{"back.json", s.withTrials}}},
        {".ard to .ard",
         {{"t.ard", s.ard}, {"t.trials.json", s.trialsFile}},
         "t.ard c.ard",
         0,
         "",
         {{"c.ard", s.ard}, {"c.trials.json", s.trialsFile}}},
        {"the same trials already beside the output",
         {{"t.json", s.withTrials}, {"t.trials.json", s.trialsFile}},
         "t.json t.ard",
         0,
         "",
         {{"t.ard", s.ard}}},
        {"no trials: no file", {{"p.json", s.plain}}, "p.json p.ard", 0, "", {{"p.ard", s.ard}}},
        {"no trials back to JSON unchanged",
         {{"p.ard", s.ard}},
         "p.ard p.json",
         0,
         "",
         {{"p.json", s.plain}}},
        {"trials a JSON output cannot read are carried as they are",
         {{"b.json", s.badTrials}},
         "b.json b2.json",
         0,
         "",
         {{"b2.json", s.badTrials}}},
        {"the trials file would replace the input",
         {{"x.trials.json", s.withTrials}},
         "x.trials.json x.ard",
         2,
         "OUT (its trials file) and IN name the same file \"x.trials.json\"; nothing was "
         "written.",
         {}},
        {"other trials beside the output",
         {{"t.json", s.withTrials}, {"t.trials.json", s.otherTrials}},
         "t.json t.ard",
         2,
         "\"t.trials.json\" holds 1 other trial, which writing \"t.ard\" would lose or take for "
         "its own; move that file away first; nothing was written.",
         {}},
        {"a project without trials over a file that holds some",
         {{"p.json", s.plain}, {"p.trials.json", s.trialsFile}},
         "p.json p.ard",
         2,
         "\"p.trials.json\" holds 2 other trials, which writing \"p.ard\" would lose or take for "
         "its own; move that file away first; nothing was written.",
         {}},
        {"a damaged trials file beside the input",
         {{"t.ard", s.ard}, {"t.trials.json", s.damaged}},
         "t.ard out.json",
         2,
         "The trials kept beside \"t.ard\" cannot be read: \"t.trials.json\": JSON syntax error "
         "at line 1, column 28; nothing was written.",
         {}},
        {"a damaged trials file beside the output",
         {{"t.json", s.withTrials}, {"t.trials.json", s.damaged}},
         "t.json t.ard",
         2,
         "The trials file beside \"t.ard\" cannot be read: \"t.trials.json\": JSON syntax error "
         "at line 1, column 28; mend it or move it away first; nothing was written.",
         {}},
        {"trials that cannot be read cannot go beside an .ard",
         {{"b.json", s.badTrials}},
         "b.json b.ard",
         2,
         "The project's trials cannot be read (trials[1].name: expected a text), so they cannot "
         "be kept beside \"b.ard\"; nothing was written.",
         {}},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        place(dir, c.before);
        const CliRun run = runCli("convert " + c.arguments, dir);
        EXPECT_EQ(run.status, c.status) << c.label << "\n" << run.err;
        EXPECT_EQ(run.err, c.error.empty() ? "" : "ardelon-cli: " + c.error + "\n") << c.label;
        Files after = c.before;
        after.insert(c.after.begin(), c.after.end());
        expectFolder(dir, after, c.label);
    }
}

// The trials of a written project: a JSON project's array, or those of the file beside an .ard
// (null: none).
json keptTrials(const fs::path& project) {
    if (project.extension() == ".json")
        return json::parse(readBytes(project)).value("trials", json());
    const fs::path beside = trialsFilePath(project.string());
    return fs::exists(beside) ? json::parse(readBytes(beside))["trials"] : json();
}

TEST_F(ProjectTrials, EveryCommandThatWritesAProjectKeepsItsTrials) {
    const Sample s = sample();
    const json trials = json::parse(s.trialsFile)["trials"];
    const std::string design = "--vary 1=4:12:2 --cycles 50 --seed 3";
    const struct {
        std::string arguments;
        std::string written;
    } kept[] = {
        {"traffic esal t.ard --esals 1000", "t.ard"},
        {"traffic esal t.ard --esals 1000 -o w.ard", "w.ard"},
        {"traffic vehicle-types t.json --road-class 2 -o w.ard", "w.ard"},
        {"traffic esal t.ard --esals 1000 -o w.json", "w.json"},
        {"design t.ard " + design + " -o win.ard", "win.ard"},
        {"design t.ard " + design + " -o win.json", "win.json"},
    };
    for (const auto& c : kept) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        place(dir, {{"t.json", s.withTrials}, {"t.ard", s.ard}, {"t.trials.json", s.trialsFile}});
        const CliRun run = runCli(c.arguments, dir);
        ASSERT_EQ(run.status, 0) << c.arguments << "\n" << run.err;
        EXPECT_EQ(keptTrials(dir / c.written), trials) << c.arguments;
        EXPECT_EQ(readBytes(dir / "t.trials.json"), s.trialsFile) << c.arguments;
    }

    const struct {
        std::string arguments;
        std::string error;
    } refused[] = {
        {"new t.ard",
         "\"t.trials.json\" holds 2 other trials, which writing \"t.ard\" would lose or take for "
         "its own; move that file away first; nothing was written."},
        {"design t.json " + design + " -o o.ard",
         "\"o.trials.json\" holds 1 other trial, which writing \"o.ard\" would lose or take for "
         "its own; move that file away first; nothing was written."},
        {"analyze t.ard --cycles 10 --raw t.trials.json",
         "--raw and PROJECT (its trials file) name the same file \"t.trials.json\"; nothing was "
         "written."},
        {"traffic esal d.ard --esals 1000 -o w.json",
         "The trials kept beside \"d.ard\" cannot be read: \"d.trials.json\": JSON syntax error "
         "at line 1, column 28; nothing was written."},
    };
    for (const auto& c : refused) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const Files before = {
            {"t.json", s.withTrials},         {"t.ard", s.ard}, {"t.trials.json", s.trialsFile},
            {"o.trials.json", s.otherTrials}, {"d.ard", s.ard}, {"d.trials.json", s.damaged}};
        place(dir, before);
        const CliRun run = runCli(c.arguments, dir);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err, "ardelon-cli: " + c.error + "\n") << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        expectFolder(dir, before, c.arguments);
    }
}

}  // namespace
}  // namespace ardelon::testing
