#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTestSupport.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

using ProjectCommands = CliTest;

TEST_F(ProjectCommands, NewWritesTheDefaultProjectFile) {
    const CliRun run = runCli("new x.ard", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fs::file_size(dir / "x.ard"), 6752u);
    const std::string bytes = readText(dir / "x.ard");
    const auto expected = encodeProject(CStenorDoc{});
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
}

TEST_F(ProjectCommands, ConvertRoundTripsThroughJson) {
    ASSERT_EQ(runCli("new a.ard", dir).status, 0);
    ASSERT_EQ(runCli("convert a.ard a.json", dir).status, 0);
    ASSERT_EQ(runCli("convert a.json b.ard", dir).status, 0);
    ASSERT_EQ(runCli("convert b.ard b.json", dir).status, 0);
    EXPECT_EQ(readText(dir / "a.ard"), readText(dir / "b.ard"));
    EXPECT_EQ(readText(dir / "a.json"), readText(dir / "b.json"));
}

TEST_F(ProjectCommands, ShowSummarisesTheProject) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    const CliRun run = runCli("show p.json", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Structure: 2 layers"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("AC"), std::string::npos);
    EXPECT_NE(run.out.find("Soil"), std::string::npos);
    EXPECT_NE(run.out.find("Summer: 26 weeks"), std::string::npos);
    EXPECT_EQ(run.out.find("Spring 2:"), std::string::npos);
    EXPECT_NE(run.out.find("Active criteria:\n  none"), std::string::npos);
}

TEST_F(ProjectCommands, UnreadableProjectsAndBadArgumentsAreBadInput) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    std::string text = readText(dir / "p.json");
    text.replace(text.find("\"aadt\": 1000"), 12, "\"aadt\": 1e3");
    writeText(dir / "bad.json", text);
    writeText(dir / "short.ard", std::string(100, 'x'));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"show short.ard", "short.ard: Unexpected file format."},
        {"convert short.ard out.json", "short.ard: Unexpected file format."},
        {"convert bad.json out.json", "bad.json: field \"aadt\": expected an integer"},
        {"show nowhere.ard", "Cannot open \"nowhere.ard\": No such file or directory."},
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

}  // namespace
}  // namespace ardelon::testing
