// The trials kept with a project go wherever a command writes the project: in a JSON project's
// "trials" array, in the file beside an .ard project. Nothing is lost, no other trials are
// replaced or adopted, and a refusal writes nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
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

// The contents every case starts from, by letter: a project with two trials as JSON (T) and as
// .ard (A with F beside), the same project without trials (P, A), other trials (G), a damaged
// trials file (D) and a JSON project whose trials are not trials (B).
struct Sample {
    std::map<char, std::string> text;
};

Sample sample() {
    Sample s;
    CStenorDoc doc = twoLayerProject();
    s.text['P'] = projectToJson(doc);
    const auto bytes = encodeProject(doc);
    s.text['A'].assign(bytes.begin(), bytes.end());
    const std::vector<Trial> trials = {trialAt("8 in.", 8), trialAt("10 in.", 10)};
    setProjectTrials(doc, trials);
    s.text['T'] = projectToJson(doc);
    s.text['F'] = trialsFileText(trials);
    s.text['G'] = trialsFileText({trialAt("12 in.", 12)});
    s.text['D'] = "{\"format\": \"ardelon-trials\"";
    json bad = json::parse(s.text['T']);
    bad["trials"][1]["name"] = 5;
    s.text['B'] = bad.dump(2) + "\n";
    return s;
}

// "t.json:T t.trials.json:F": each file with the contents of its letter.
Files files(const Sample& s, const std::string& spec) {
    Files named;
    std::istringstream in(spec);
    for (std::string item; in >> item;)
        named[item.substr(0, item.size() - 2)] = s.text.at(item.back());
    return named;
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

// The refusal of a file beside `project` that holds `count` trials of another project.
std::string othersBeside(const std::string& file, const std::string& count,
                         const std::string& project) {
    return "\"" + file + "\" holds " + count + ", which writing \"" + project +
           "\" would lose or take for its own; move that file away first";
}

struct ProjectTrials : CliTest {
    // Runs `arguments` in the folder holding only `before`: without an `error` the command
    // succeeds, with one it exits with 2, prints nothing and names exactly what is wrong.
    CliRun runOver(const Files& before, const std::string& arguments, const std::string& error) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& [name, text] : before)
            writeText(dir / name, text);
        CliRun run = runCli(arguments, dir);
        EXPECT_EQ(run.status, error.empty() ? 0 : 2) << arguments << "\n" << run.err;
        if (!error.empty()) {
            EXPECT_EQ(run.err, "ardelon-cli: " + error + "; nothing was written.\n") << arguments;
            EXPECT_EQ(run.out, "") << arguments;
        }
        return run;
    }
};

const std::string kDesign = "--vary 1=4:12:2 --cycles 50 --seed 3";

TEST_F(ProjectTrials, CommandsCarryTheTrialsOrRefuseAndWriteNothing) {
    const Sample s = sample();
    const std::string all =
        "t.json:T t.ard:A t.trials.json:F o.trials.json:G d.ard:A d.trials.json:D";
    const struct {
        std::string label, before, arguments, error;
        std::string after = "";  // besides the files before, unchanged
    } cases[] = {
        {"JSON to .ard: the trials go beside it", "t.json:T", "convert t.json t.ard", "",
         "t.ard:A t.trials.json:F"},
        {".ard to JSON: the file beside comes back byte for byte", "t.ard:A t.trials.json:F",
         "convert t.ard back.json", "", "back.json:T"},
        {".ard to .ard", "t.ard:A t.trials.json:F", "convert t.ard c.ard", "",
         "c.ard:A c.trials.json:F"},
        {"the same trials already beside the output", "t.json:T t.trials.json:F",
         "convert t.json t.ard", "", "t.ard:A"},
        {"no trials: no file", "p.json:P", "convert p.json p.ard", "", "p.ard:A"},
        {"no trials back to JSON unchanged", "p.ard:A", "convert p.ard p.json", "", "p.json:P"},
        {"trials a JSON output cannot read are carried as they are", "b.json:B",
         "convert b.json b2.json", "", "b2.json:B"},
        {"the trials file would replace the input", "x.trials.json:T",
         "convert x.trials.json x.ard",
         "OUT (its trials file) and IN name the same file \"x.trials.json\""},
        {"other trials beside the output", "t.json:T t.trials.json:G", "convert t.json t.ard",
         othersBeside("t.trials.json", "1 other trial", "t.ard")},
        {"a project without trials over a file that holds some", "p.json:P p.trials.json:F",
         "convert p.json p.ard", othersBeside("p.trials.json", "2 other trials", "p.ard")},
        {"a damaged trials file beside the input", "t.ard:A t.trials.json:D",
         "convert t.ard out.json",
         "The trials kept beside \"t.ard\" cannot be read: \"t.trials.json\": JSON syntax error "
         "at line 1, column 28"},
        {"a damaged trials file beside the output", "t.json:T t.trials.json:D",
         "convert t.json t.ard",
         "The trials file beside \"t.ard\" cannot be read: \"t.trials.json\": JSON syntax error "
         "at line 1, column 28; mend it or move it away first"},
        {"trials that cannot be read cannot go beside an .ard", "b.json:B", "convert b.json b.ard",
         "The project's trials cannot be read (trials[1].name: expected a text), so they cannot "
         "be kept beside \"b.ard\""},
        {"a new project over other trials", all, "new t.ard",
         othersBeside("t.trials.json", "2 other trials", "t.ard")},
        {"a design written over other trials", all, "design t.json " + kDesign + " -o o.ard",
         othersBeside("o.trials.json", "1 other trial", "o.ard")},
        {"raw results over the trials file", all, "analyze t.ard --cycles 10 --raw t.trials.json",
         "--raw and PROJECT (its trials file) name the same file \"t.trials.json\""},
        {"a damaged trials file beside a traffic input", all,
         "traffic esal d.ard --esals 1000 -o w.json",
         "The trials kept beside \"d.ard\" cannot be read: \"d.trials.json\": JSON syntax error "
         "at line 1, column 28"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Files before = files(s, c.before);
        EXPECT_EQ(runOver(before, c.arguments, c.error).err.empty(), c.error.empty());
        Files after = before;
        after.merge(files(s, c.after));
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
    const json trials = json::parse(s.text.at('F'))["trials"];
    const std::pair<std::string, std::string> cases[] = {
        // the command and the project written
        {"traffic esal t.ard --esals 1000", "t.ard"},
        {"traffic esal t.ard --esals 1000 -o w.ard", "w.ard"},
        {"traffic vehicle-types t.json --road-class 2 -o w.ard", "w.ard"},
        {"traffic esal t.ard --esals 1000 -o w.json", "w.json"},
        {"design t.ard " + kDesign + " -o win.ard", "win.ard"},
        {"design t.ard " + kDesign + " -o win.json", "win.json"},
    };
    for (const auto& [arguments, written] : cases) {
        if (runOver(files(s, "t.json:T t.ard:A t.trials.json:F"), arguments, "").status != 0)
            continue;
        EXPECT_EQ(keptTrials(dir / written), trials) << arguments;
        EXPECT_EQ(readBytes(dir / "t.trials.json"), s.text.at('F')) << arguments;
    }
}

}  // namespace
}  // namespace ardelon::testing
