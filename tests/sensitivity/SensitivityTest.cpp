// Sensitivity measures from the cycles of a run: the estimators on data whose answer is known,
// and a run in which a single input varies.

#include <gtest/gtest.h>

#include <cmath>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisRun.h"
#include "reliability/SolverResponseModel.h"
#include "sensitivity/Sensitivity.h"

namespace ardelon {
namespace {

// Sums of a few hundred squares: binary noise only.
constexpr double kSumTolerance = 1e-12;

// The charts name the inputs as an engineer does, with the layers' materials.
TEST(SensitivityEstimators, InputsHavePlainNames) {
    CStenorDoc work;
    work.layerCountIndex = 2;              // four layers: the fourth is the subgrade
    work.materialIndex = {0, 6, 6, 0, 0};  // AC, Gran Base, Gran Base
    const std::pair<const char*, const char*> cases[] = {
        {"E1", "AC modulus E1"},       {"H2", "Gran Base thickness H2"},
        {"E4", "Subgrade modulus E4"}, {"WheelLoad", "Wheel load"},
        {"Season", "Season"},          {"Configuration", "Axle configuration"}};
    for (const auto& [input, plain] : cases)
        EXPECT_EQ(plainInputName(work, input), plain);
}

TEST(SensitivityEstimators, RankCorrelationOfKnownSeries) {
    struct Case {
        std::vector<double> x, y;
        double rho;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4}, {1, 8, 27, 64}, 1.0},                  // any increasing relation
        {{1, 2, 3, 4}, {9, 7, 5, -2}, -1.0},                  // any decreasing one
        {{1, 2, 2, 3}, {1, 2, 3, 4}, 4.5 / std::sqrt(22.5)},  // tied x share rank 2.5
        {{5, 5, 5, 5}, {1, 2, 3, 4}, 0.0},                    // a constant input tells nothing
        {{1}, {1}, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(rankCorrelation(c.x, c.y), c.rho, kSumTolerance);
}

TEST(SensitivityEstimators, SharesOfAnAdditiveModel) {
    // y = a + b over a balanced 2 × 2 design, 100 cycles each: each input explains half of the
    // variance; the correction takes (k - 1) / (n - k) of the within-bin sum from each.
    std::vector<double> a, b, y, constant;
    for (int i = 0; i < 400; ++i) {
        a.push_back(i % 2), b.push_back((i / 2) % 2), constant.push_back(3);
        y.push_back(a.back() + b.back());
    }
    const double expected = (100 - 100.0 / 398) / 200;
    EXPECT_NEAR(firstOrderShare(a, y, true), expected, kSumTolerance);
    EXPECT_NEAR(firstOrderShare(b, y, false), expected, kSumTolerance);  // ties keep bins whole
    EXPECT_EQ(firstOrderShare(constant, y, false), 0.0);
    EXPECT_EQ(firstOrderShare(a, a, true), 1.0);
    EXPECT_EQ(firstOrderShare(a, constant, true), 0.0);  // no variance to explain
}

TEST(Sensitivity, ModuliAreStandardisedWithinTheirSeason) {
    // The response follows the season only; the layer-1 modulus differs by season but, within a
    // season, varies without effect. Unstandardised it would take the season's share.
    CStenorDoc work;
    work.criteria[2].active = 1;
    work.criteria[2].responseType = HorizontalStrain;
    AnalysisResults results;
    for (int i = 0; i < 800; ++i) {
        CycleRecord& r = results.cycleRecords.emplace_back();
        r.sample.season = i % 4;
        r.sample.modulus = {1e6 * (r.sample.season + 1) + 1000.0 * ((i / 4) % 7), 1, 1, 1, 1};
        r.criticalValue[0] = 10.0 * r.sample.season;
    }
    const std::vector<CriterionSensitivity> measures = runSensitivity(work, results);
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_EQ(measures[0].inputs[0].input, "Season");
    EXPECT_EQ(measures[0].inputs[0].share, 1.0);
    EXPECT_EQ(measures[0].inputs[1].input, "E1");
    EXPECT_LE(measures[0].inputs[1].share, 0.02);
}

TEST(Sensitivity, OnlyTheVaryingThicknessDrivesTheResponses) {
    CStenorDoc work;  // 10 in. AC over soil
    work.modulusCov = {0, 0, 0, 0, 0};
    work.thicknessCov = {10, 0, 0, 0};
    work.seasonWeeks = {52, 0, 0, 0, 0};
    work.axleTypeFraction = {1, 0, 0, 0};
    for (int k = 8; k < kBinCount; ++k)
        work.loadCdf[Single][static_cast<std::size_t>(k)] = 1.0;
    for (auto [slot, type] : {std::pair{2, HorizontalStrain}, std::pair{3, VerticalStrain}}) {
        work.criteria[slot].active = 1;
        work.criteria[slot].responseType = type;
        work.criteria[slot].threshold = 100;
    }
    const AnalysisRunOptions options{
        .cycles = 1000, .seed = 11, .threads = 1, .keepCycleRecords = true};
    const AnalysisRunOutcome outcome = runAnalysis(work, layeredElasticResponses(), options);
    ASSERT_EQ(outcome.status, AnalysisStatus::Completed) << outcome.refusal.text;

    const std::vector<CriterionSensitivity> measures = runSensitivity(work, outcome.results);
    ASSERT_EQ(measures.size(), 2u);
    for (const CriterionSensitivity& criterion : measures) {
        std::vector<std::string> names;
        for (const InputSensitivity& input : criterion.inputs) {
            names.push_back(input.input);
            if (input.input == "H1") {
                EXPECT_GE(input.share, 0.95) << criterion.slot;
                EXPECT_GT(std::abs(*input.rankCorrelation), 0.99) << criterion.slot;
            } else {
                EXPECT_LE(input.share, 0.02) << criterion.slot << " " << input.input;
            }
        }
        // Ranked by share; the inputs without effect keep their order.
        EXPECT_EQ(names, (std::vector<std::string>{"H1", "E1", "E2", "Season", "Configuration",
                                                   "WheelLoad"}));
        EXPECT_FALSE(criterion.inputs[3].rankCorrelation.has_value());  // seasons have no order
    }
}

}  // namespace
}  // namespace ardelon
