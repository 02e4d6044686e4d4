// ardelon-cli new, convert and show, and how the readers refuse damaged or absurd inputs.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

using ProjectCommands = CliTest;

TEST_F(ProjectCommands, NewWritesTheDefaultProjectFileAndConvertRoundTripsThroughJson) {
    const CliRun run = runCliOk("new a.ard", dir);
    const auto expected = encodeProject(CStenorDoc{});
    EXPECT_EQ(readBytes(dir / "a.ard"), std::string(expected.begin(), expected.end()));
    ASSERT_EQ(runCli("convert a.ard a.json", dir).status, 0);
    ASSERT_EQ(runCli("convert a.json b.ard", dir).status, 0);
    ASSERT_EQ(runCli("convert b.ard b.json", dir).status, 0);
    EXPECT_EQ(readBytes(dir / "a.ard"), readBytes(dir / "b.ard"));
    EXPECT_EQ(readBytes(dir / "a.json"), readBytes(dir / "b.json"));
}

TEST_F(ProjectCommands, ShowSummarisesTheProject) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    const CliRun run = runCliOk("show p.json", dir);
    for (const char* part :
         {"Structure: 2 layers", "AC", "Soil", "Summer: 26 weeks", "Active criteria:\n  none"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
    EXPECT_EQ(run.out.find("Spring 2:"), std::string::npos);
}

TEST_F(ProjectCommands, UnreadableProjectsAndBadArgumentsAreBadInput) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    std::string text = readBytes(dir / "p.json");
    text.replace(text.find("\"aadt\": 1000"), 12, "\"aadt\": 1e3");
    writeText(dir / "bad.json", text);
    writeText(dir / "short.ard", std::string(100, 'x'));
    // Reproducers of damaged or absurd inputs: a message, never numbers that are not numbers or a
    // read without end.
    writeText(dir / "huge.json", "{\"layers\":\n [{\"modulus\": 1e999}]}");
    std::string spectra = "1000\n10.00\n+-4.00\n";
    for (int i = 3; i < 239; ++i)
        spectra += "0\n";
    writeText(dir / "in.lsf", spectra);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"show short.ard", "short.ard: Unexpected file format."},
        {"convert short.ard out.json", "short.ard: Unexpected file format."},
        {"convert bad.json out.json", "bad.json: field \"aadt\": expected an integer"},
        {"show nowhere.ard", "Cannot open \"nowhere.ard\": No such file or directory."},
        {"show /dev/zero", "Cannot read \"/dev/zero\": the file is larger than 4194304 bytes."},
        {"responses huge.json",
         "huge.json: not a valid JSON document (JSON number out of range at line 2, column 19)."},
        {"traffic import p.json in.lsf",
         "Cannot import \"in.lsf\": line 3: \"+-4.00\" is not a number. Nothing was changed."},
    };
    for (const auto& [arguments, message] : cases) {
        const CliRun run = runCli(arguments, dir);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err, "ardelon-cli: " + message + "\n") << arguments;
        EXPECT_FALSE(fs::exists(dir / "out.json")) << arguments;
    }
    for (const char* arguments : {"", "frobnicate", "convert only-one.ard"})
        EXPECT_EQ(runCli(arguments, dir).status, 2) << arguments;
}

using DamagedProjects = CliTest;

TEST_F(DamagedProjects, ShowClampedIndicesOrAreRefused) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    const std::string project = readBytes(dir / "p.json");
    writeText(dir / "layers.json",
              replaced(project, "\"layerCountIndex\": 0", "\"layerCountIndex\": 99"));
    const CliRun layers = runCli("show layers.json", dir);
    EXPECT_EQ(layers.status, 0);
    EXPECT_NE(layers.out.find("Structure: 5 layers\n"), std::string::npos) << layers.out;

    json negative = json::parse(project);
    negative["loadSpectra"][1][3] = -4;
    writeText(dir / "negative.json", negative.dump());
    const CliRun exported = runCli("traffic export negative.json out.lsf", dir);
    EXPECT_EQ(exported.status, 2);
    EXPECT_EQ(exported.err,
              "ardelon-cli: negative.json: bin 3 of the Tandem distribution is negative (-4.00); "
              "nothing was written.\n");
    EXPECT_FALSE(fs::exists(dir / "out.lsf"));
}

}  // namespace
}  // namespace ardelon::testing
