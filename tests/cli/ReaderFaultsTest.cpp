#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "cli/ResponsesInput.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const char* kResponsesInput = R"({
  "layers": [{"modulus": 500000, "poisson": 0.35, "thickness": 6}, {"modulus": 10000, "poisson": 0.45}],
  "bond": [1],
  "loads": [{"pressure": 100, "radius": 5, "x": 0, "y": 0}],
  "points": [{"x": 0, "y": 0, "depth": 6, "layer": 2}]})";

struct FaultCase {
    const char* name;
    std::string file;     // written as in.json (or in.lsf for an import)
    std::string command;  // run in the test's folder, after "new p.json"
    int status;
    std::string err;  // the whole of stderr
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

class ReaderFaults : public ::testing::TestWithParam<FaultCase> {};

// Every reproducer of a damaged or absurd input ends with its message and status, never with
// numbers that are not numbers or an endless solver call.
TEST_P(ReaderFaults, GiveTheirMessageAndStatus) {
    const FaultCase& c = GetParam();
    const fs::path dir = freshTestDir(std::string("faults-") + c.name);
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    writeText(dir / (c.command.find("import") != std::string::npos ? "in.lsf" : "in.json"), c.file);
    const CliRun run = runCli(c.command, dir);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.err, c.err);
    fs::remove_all(dir);
}

std::string lsfWithThirdValue(const std::string& value) {
    std::string text = "1000\n10.00\n" + value + "\n";
    for (int i = 3; i < 239; ++i)
        text += "0\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    CliReaders, ReaderFaults,
    ::testing::Values(
        FaultCase{"HugeNumberInAProject", "{\"format\": \"ardelon-project\", \"aadt\": 1e999}",
                  "show in.json", 2,
                  "ardelon-cli: in.json: JSON number out of range at line 1, column 43\n"},
        FaultCase{"HugeNumberInResponses", replaced(kResponsesInput, "500000", "1e999"),
                  "responses in.json", 2,
                  "ardelon-cli: in.json: not a valid JSON document (JSON number out of range at "
                  "line 2, column 30).\n"},
        FaultCase{"EndlessDevice", "", "show /dev/zero", 2,
                  "ardelon-cli: Cannot read \"/dev/zero\": the file is larger than 4194304 "
                  "bytes.\n"},
        FaultCase{"StiffTopLayer", replaced(kResponsesInput, "500000", "1e60"), "responses in.json",
                  2,
                  "ardelon-cli: in.json: layer 1: modulus must lie between 100 and 1e+08 psi (got "
                  "1e+60).\n"},
        FaultCase{"VanishingModulus", replaced(kResponsesInput, "10000", "3e-319"),
                  "responses in.json", 2,
                  "ardelon-cli: in.json: layer 2: modulus must lie between 100 and 1e+08 psi (got "
                  "3.00002e-319).\n"},
        FaultCase{"WheelBeyondTheStructure",
                  replaced(replaced(kResponsesInput, "\"radius\": 5", "\"radius\": 101"),
                           "\"thickness\": 6", "\"thickness\": 1"),
                  "responses in.json", 2,
                  "ardelon-cli: in.json: load 1: radius must lie between 0.1 and 50 in (got "
                  "101).\n"},
        FaultCase{"FarAwayPoint",
                  replaced(kResponsesInput, "\"x\": 0, \"y\": 0, \"depth\"",
                           "\"x\": 1e9, \"y\": 0, \"depth\""),
                  "responses in.json", 2,
                  "ardelon-cli: in.json: point 1: x must lie between -1000 and 1000 in (got "
                  "1e+09).\n"},
        FaultCase{"DoubleSignInSpectra", lsfWithThirdValue("+-4.00"),
                  "traffic import p.json in.lsf", 2,
                  "ardelon-cli: Cannot import \"in.lsf\": line 3: \"+-4.00\" is not a number. "
                  "Nothing was changed.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

using DamagedProjects = CliTest;

TEST_F(DamagedProjects, ShowClampedIndicesOrAreRefused) {
    ASSERT_EQ(runCli("new p.json", dir).status, 0);
    const std::string project = readText(dir / "p.json");
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

TEST(ReaderFaults, ResponsesThatAreNotNumbersAreAFailure) {
    cli::ResponsesInput input;
    input.points.resize(2);
    ResponseTable table;
    EXPECT_EQ(cli::nonFiniteResponse(input, table), "");
    table.at(TauYZ, 1) = -std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(cli::nonFiniteResponse(input, table),
              "the solver gave -nan for TauYZ at point 2; no responses are shown.");
}

}  // namespace
}  // namespace ardelon::testing
