#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "cli/ResponsesInput.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The layered reference structure under a dual wheel, with the four reference points.
json referenceInput() {
    return json::parse(R"({
        "layers": [{"modulus": 500000, "poisson": 0.35, "thickness": 6},
                   {"modulus": 50000, "poisson": 0.40, "thickness": 8},
                   {"modulus": 30000, "poisson": 0.40, "thickness": 10},
                   {"modulus": 20000, "poisson": 0.45, "thickness": 12},
                   {"modulus": 10000, "poisson": 0.45}],
        "bond": [1, 1, 1],
        "loads": [{"pressure": 100, "radius": 5, "x": 0, "y": 0},
                  {"pressure": 100, "radius": 5, "x": 13.5, "y": 0}],
        "points": [{"x": 0, "y": 0, "depth": 0, "layer": 1},
                   {"x": 0, "y": 0, "depth": 6, "layer": 1},
                   {"x": 0, "y": 0, "depth": 6, "layer": 2},
                   {"x": 0, "y": 0, "depth": 36, "layer": 4}]})");
}

class ResponsesCommand : public CliTest {
  protected:
    CliRun run(const json& input, const std::string& options = "") {
        writeText(dir / "in.json", input.dump());
        return runCli("responses in.json" + options, dir);
    }
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ResponsesCommand, TableShowsTheReferenceValuesInDisplayUnitsAndJsonTheRawRows) {
    const CliRun r = run(referenceInput());
    ASSERT_EQ(r.status, 0) << r.err;
    // Deflection in milli-inches, positive downward; strains in microstrain, tension negative.
    for (const char* part :
         {"Layered elastic responses (initial integration step 0.013228)\n",
          "\nPoint 1: x = 0 in, y = 0 in, depth = 0 in, layer 1\n"
          "  SigmaX          182.421 psi\n",
          "  DispZ            22.103 milli-in\n", "  SigmaZ          100.000 psi\n",
          "  EpsX            -134.67 microstrain\n", "  EpsZ             469.10 microstrain\n",
          "  SigmaZ            2.359 psi\n"})
        EXPECT_TRUE(contains(r.out, part)) << part << r.out;
    EXPECT_FALSE(contains(r.out, "-0.000")) << r.out;
    // Four points of 18 responses each.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + 4 * 20);

    // --json gives the raw rows by name.
    const CliRun raw = run(referenceInput(), " --json");
    ASSERT_EQ(raw.status, 0) << raw.err;
    const json rows = json::parse(raw.out);
    ASSERT_EQ(rows.size(), 19u);
    for (const char* name : {"SigmaX", "Sigma3", "Eps3", "DispZ", "EpsZ", "InitialStep"}) {
        ASSERT_TRUE(rows.contains(name)) << name;
        EXPECT_EQ(rows[name].size(), 4u) << name;
    }
    // Raw solver units: inches, negated displacement, strain as a ratio.
    EXPECT_NEAR(rows["DispZ"][0].get<double>(), -0.02210, 0.000005);
    EXPECT_NEAR(rows["EpsX"][1].get<double>(), -134.7e-6, 0.05e-6);
    EXPECT_NEAR(rows["InitialStep"][3].get<double>(), 0.013228, 0.0000005);
}

TEST_F(ResponsesCommand, BottomLayerIsRepeatedDownToLayerFive) {
    // Three layers given: the subgrade continues as layers 3 to 5, 999 in thick each.
    json three = referenceInput();
    three["layers"].erase(2);
    three["layers"].erase(2);
    three["bond"] = {1, 1};
    three["points"] = json::parse(R"([{"x": 0, "y": 0, "depth": 0, "layer": 1},
                                       {"x": 2, "y": 1, "depth": 14, "layer": 3},
                                       {"x": 2, "y": 1, "depth": 1100, "layer": 3}])");
    json five = three;
    json deep = three["layers"][2];
    deep["thickness"] = 999;
    five["layers"] = {three["layers"][0], three["layers"][1], deep, deep, three["layers"][2]};
    five["bond"] = {1, 1, 1};
    five["points"][2]["layer"] = 4;
    const CliRun short3 = run(three, " --json");
    const CliRun full5 = run(five, " --json");
    ASSERT_EQ(short3.status, 0) << short3.err;
    ASSERT_EQ(full5.status, 0) << full5.err;
    EXPECT_EQ(short3.out, full5.out);
}

// An incompressible soil (Poisson's ratio 0.5, as the materials allow) deflects 2 (1 - nu^2) q a /
// E under the centre of a load: 1.5 x 100 x 5 / 30000 = 0.025 in.
TEST_F(ResponsesCommand, IncompressibleLayersAreAccepted) {
    const json input =
        json::parse(R"({"layers": [{"modulus": 30000, "poisson": 0.5, "thickness": 6},
                                                  {"modulus": 30000, "poisson": 0.5}],
                                       "bond": [1],
                                       "loads": [{"pressure": 100, "radius": 5, "x": 0, "y": 0}],
                                       "points": [{"x": 0, "y": 0, "depth": 0, "layer": 1}]})");
    const CliRun r = run(input, " --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(json::parse(r.out)["DispZ"][0].get<double>(), -0.025, 1e-9);
}

TEST_F(ResponsesCommand, BadInputNamesTheEntry) {
    const json base = referenceInput();
    const json removed;  // the entry is taken out
    const struct {
        std::string entry;  // a JSON pointer into the reference input
        json value;
        std::string message;
    } cases[] = {
        {"/layers/1/modulus", removed, "layer 2: \"modulus\" is missing."},
        {"/layers/0/modulus", 0, "layer 1: modulus must be greater than 0 psi (got 0)."},
        // Moduli, radii and coordinates beyond what the solver handles: no endless call, no numbers
        // that are not numbers.
        {"/layers/0/modulus", 1e60,
         "layer 1: modulus must lie between 100 and 1e+08 psi (got 1e+60)."},
        {"/layers/1/modulus", 3e-319,
         "layer 2: modulus must lie between 100 and 1e+08 psi (got 3.00002e-319)."},
        {"/loads/0/radius", 101, "load 1: radius must lie between 0.1 and 50 in (got 101)."},
        {"/points/0/x", 1e9, "point 1: x must lie between -1000 and 1000 in (got 1e+09)."},
        {"/layers/2/poisson", 0.51,
         "layer 3: Poisson's ratio must lie between 0 and 0.5 (got 0.51)."},
        {"/layers/3/poisson", 0, "layer 4: Poisson's ratio must lie between 0 and 0.5 (got 0)."},
        {"/layers/1/thickness", -2, "layer 2: thickness must be greater than 0 in (got -2)."},
        {"/layers/4/thickness", 50,
         "layer 5: the bottom layer is semi-infinite and takes no thickness."},
        {"/layers/0/modulus", "stiff", "layer 1: \"modulus\" must be a number."},
        {"/layers", json::array({base["layers"][0]}),
         "\"layers\" must list 2 to 5 layers (found 1)."},
        {"/bond", removed, "\"bond\" is missing."},
        {"/bond", json::array({1, 1}), "\"bond\" must list 3 bond factors (found 2)."},
        {"/bond/1", 2, "bond factor 2 must lie between 0 (full slip) and 1 (full bond) (got 2)."},
        {"/loads/1/radius", 0, "load 2: radius must be greater than 0 in (got 0)."},
        {"/loads/0/y", removed, "load 1: \"y\" is missing."},
        {"/loads/0/pressure", -100, "load 1: pressure must be greater than 0 psi (got -100)."},
        {"/loads", std::vector<json>(31, base["loads"][0]),
         "\"loads\" must list 1 to 30 loads (found 31)."},
        {"/points", json::array(), "\"points\" must list 1 to 50 points (found 0)."},
        {"/points", std::vector<json>(51, base["points"][0]),
         "\"points\" must list 1 to 50 points (found 51)."},
        {"/points/3/layer", 6, "point 4: layer must be a whole number from 1 to 5."},
        {"/points/0/layer", 0, "point 1: layer must be a whole number from 1 to 5."},
        {"/points/0/layer", 1.5, "point 1: layer must be a whole number from 1 to 5."},
        {"/points/1/depth", 6.5, "point 2: depth 6.5 in does not lie in layer 1 (0 to 6 in)."},
        {"/points/2/depth", 0, "point 3: depth 0 in does not lie in layer 2 (6 to 14 in)."},
        {"/points/3", json::parse(R"({"x": 0, "y": 0, "depth": 35, "layer": 5})"),
         "point 4: depth 35 in does not lie in layer 5 (below 36 in)."},
    };
    for (const auto& c : cases) {
        json input = base;
        const json::json_pointer entry(c.entry);
        if (c.value.is_null())
            input[entry.parent_pointer()].erase(entry.back());
        else
            input[entry] = c.value;
        const CliRun r = run(input);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, "ardelon-cli: in.json: " + c.message + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(ResponsesCommand, InterfaceDepthsAndTheSubgradeTopAreAccepted) {
    json input = referenceInput();
    input["points"] = json::parse(R"([{"x": 1, "y": 1, "depth": 14, "layer": 2},
                                       {"x": 1, "y": 1, "depth": 14, "layer": 3},
                                       {"x": 1, "y": 1, "depth": 36, "layer": 5},
                                       {"x": 1, "y": 1, "depth": 36.01, "layer": 5}])");
    const CliRun r = run(input);
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(ResponsesCommand, OnlyGivesTheNamedRowsWithTheFullValues) {
    const CliRun full = run(referenceInput(), " --json");
    const CliRun some = run(referenceInput(), " --only DispZ,EpsZ --json");
    ASSERT_EQ(some.status, 0) << some.err;
    const json rows = json::parse(some.out), all = json::parse(full.out);
    ASSERT_EQ(rows.size(), 2u) << some.out;
    EXPECT_EQ(rows["DispZ"], all["DispZ"]);
    EXPECT_EQ(rows["EpsZ"], all["EpsZ"]);

    const CliRun text = run(referenceInput(), " --only DispZ");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(contains(text.out, "(initial integration step 0.013228)\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "  DispZ            22.103 milli-in\n")) << text.out;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 2 + 4 * 3) << text.out;

    for (const char* bad : {"DispZ,Deflection", "dispz", "DispZ,"}) {
        const CliRun refused = run(referenceInput(), std::string(" --only '") + bad + "'");
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_TRUE(contains(refused.err, "--only: unknown response \"")) << refused.err;
        EXPECT_EQ(refused.out, "") << bad;
    }
}

TEST_F(ResponsesCommand, UnreadableInputIsBadInput) {
    writeText(dir / "broken.json", "{\"layers\": [");
    const CliRun broken = runCli("responses broken.json", dir);
    EXPECT_EQ(broken.status, 2);
    EXPECT_TRUE(contains(broken.err, "ardelon-cli: broken.json: not a valid JSON document"))
        << broken.err;
    const CliRun missing = runCli("responses nowhere.json", dir);
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "ardelon-cli: Cannot open \"nowhere.json\".\n");
}

TEST_F(ResponsesCommand, ResponsesThatAreNotNumbersAreAFailure) {
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
