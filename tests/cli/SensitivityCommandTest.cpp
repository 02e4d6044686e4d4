// ardelon-cli analyze --sensitivity: the inputs ranked per criterion, beside unchanged lists.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "cli/CliTestSupport.h"

namespace ardelon::testing {
namespace {

using SensitivityCommand = CliTest;

TEST_F(SensitivityCommand, JsonRanksTheInputsOfEveryEvaluatedLocation) {
    const std::string project = quoted(example("perpetual-interstate.json"));
    const std::string run = "analyze " + project + " --seed 3 --cycles 300 --json";
    const CliRun plain = runCli(run);
    const CliRun ranked = runCli(run + " --sensitivity");
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    nlohmann::json json = nlohmann::json::parse(ranked.out);
    const nlohmann::json measures = json["sensitivity"];
    json.erase("sensitivity");
    EXPECT_EQ(json, nlohmann::json::parse(plain.out));  // the lists do not change

    // Four layers: four moduli, three thicknesses and the season, configuration and load.
    const std::set<std::string> names = {
        "E1", "E2", "E3", "E4", "H1", "H2", "H3", "Season", "Configuration", "WheelLoad"};
    ASSERT_EQ(measures.size(), 4u);
    EXPECT_EQ(measures[2]["layer"], 2);
    EXPECT_EQ(measures[2]["location"], "Bottom");
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
