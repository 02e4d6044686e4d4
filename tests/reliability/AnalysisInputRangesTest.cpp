#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "reliability/AnalysisInputRanges.h"
#include "support/ExampleProjects.h"

namespace ardelon {
namespace {

struct RangeCase {
    const char* name;
    std::function<void(CStenorDoc&)> edit;
    std::string problem;  // empty: the run may start
};

class AnalysisInputRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(AnalysisInputRanges, NameTheFieldOutsideTheSolversRange) {
    CStenorDoc work = testing::perpetualInterstateExample();
    GetParam().edit(work);
    EXPECT_EQ(analysisInputRangeProblem(work), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Project, AnalysisInputRanges,
    ::testing::Values(
        RangeCase{"Example", [](CStenorDoc&) {}, ""},
        // Below the floors the run raises them to 1000 psi and 1 in.: not refused.
        RangeCase{"ModuliAndThicknessesBelowTheFloors",
                  [](CStenorDoc& d) {
                      d.seasonalModulus[0][0] = std::nan("");
                      d.seasonalModulus[1][2] = 0;
                      d.thickness[0] = -3;
                  },
                  ""},
        RangeCase{"StiffTopLayerInFall", [](CStenorDoc& d) { d.seasonalModulus[0][1] = 1e60; },
                  "seasonalModulus[0][1] (layer 1, Fall): modulus must lie between 100 and 1e+08 "
                  "psi (got 1e+60)."},
        // A season without weeks is never drawn, except Spring 2, which takes the rest of the year.
        RangeCase{"SeasonWithoutWeeks",
                  [](CStenorDoc& d) {
                      d.seasonWeeks = {26, 0, 20, 6, 0};
                      d.seasonalModulus[2][1] = 1e60;
                  },
                  ""},
        RangeCase{"SpringTwoWithoutWeeks", [](CStenorDoc& d) { d.seasonalModulus[3][4] = 1e9; },
                  "seasonalModulus[3][4] (layer 4, Spring 2): modulus must lie between 100 and "
                  "1e+08 psi (got 1e+09)."},
        RangeCase{"LayerBelowTheStructure", [](CStenorDoc& d) { d.seasonalModulus[4][0] = 1e60; },
                  ""},
        RangeCase{"Poisson", [](CStenorDoc& d) { d.poisson[4] = -1.85e62; },
                  "poisson[4] (layer 5): Poisson's ratio must lie between 0.05 and 0.5 (got "
                  "-1.85e+62)."},
        RangeCase{"Bond", [](CStenorDoc& d) { d.slipValue[2] = 2; },
                  "slipValue[2] (interface 3): bond factor must lie between 0 and 1 (got 2)."},
        RangeCase{"MetricThickness",
                  [](CStenorDoc& d) {
                      d.valuesInEnglish = 0;
                      d.thickness = {20.32, 15.24, 30.48, 999};
                      d.thickness[2] = 2600;
                  },
                  "thickness[2] (layer 3): thickness must lie between 1 and 1000 in (got "
                  "1023.62)."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ardelon
