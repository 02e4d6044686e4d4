// The run with the layered elastic solver itself.

#include <gtest/gtest.h>

#include <cmath>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisRun.h"
#include "reliability/SolverResponseModel.h"
#include "solver/LayeredElasticSolver.h"

namespace ardelon {
namespace {

// Without variability, with one season and one load bin every cycle is the same solver call:
// its responses, computed here directly, decide every count and the damage.
TEST(SolverAnalysis, FixedStructureAndLoadMatchADirectSolverCall) {
    CStenorDoc work;  // 10 in. AC over soil
    work.modulusCov = {0, 0, 0, 0, 0};
    work.thicknessCov = {0, 0, 0, 0};
    work.seasonWeeks = {52, 0, 0, 0, 0};
    work.axleTypeFraction = {1, 0, 0, 0};
    for (int k = 8; k < kBinCount; ++k)
        work.loadCdf[Single][static_cast<std::size_t>(k)] = 1.0;

    // Bin 8: 17000 lb on four tires, two wheels 13.5 in. apart.
    const double radius = std::sqrt(17000.0 / 4 * MonteCarloSampler::kContactAreaFactor);
    const std::array<CircularLoad, 2> wheels{{{100, radius, 0, 0}, {100, radius, 13.5, 0}}};
    // The run's points: the deflection criterion's five at the surface, then the strain
    // criterion's five at the bottom of the AC (the march follows the points of the call).
    std::array<EvaluationPoint, 10> points{};
    for (int j = 0; j < 10; ++j) {
        points[static_cast<std::size_t>(j)] = {
            kEvaluationPlanPositions[static_cast<std::size_t>(j % 5)][0],
            kEvaluationPlanPositions[static_cast<std::size_t>(j % 5)][1], j < 5 ? 0.0 : 10.0, 1};
    }
    LayerSystem system;
    system.modulus = {522958, 12000, 12000, 12000, 12000};
    system.thickness = {10, 999, 999, 999};
    system.poisson = work.poisson;
    system.bond = {1, 1, 1};
    LayeredElasticSolver solver;
    const ResponseTable direct =
        solver.computeResponses(system, wheels.data(), 2, points.data(), 10);
    double tensile = 0.0;  // most tensile horizontal strain at the bottom of the AC
    int first = -1;
    for (int j = 0; j < 5; ++j) {
        const double e = std::min(direct.at(EpsX, 5 + j), direct.at(EpsY, 5 + j));
        if (e < tensile)
            tensile = e;
    }
    ASSERT_LT(tensile, 0.0);
    // A threshold a hair less tensile than the worst point: every cycle exceeds.
    const double threshold = tensile * 1e6 * 0.999;
    for (int j = 0; j < 5 && first < 0; ++j) {
        if (std::min(direct.at(EpsX, 5 + j), direct.at(EpsY, 5 + j)) * 1e6 < threshold)
            first = j;
    }
    auto& c = work.criteria[2];
    c = {.active = 1,
         .responseType = HorizontalStrain,
         .threshold = threshold,
         .k1 = work.transferCoefficient[0],
         .k2 = work.transferCoefficient[1],
         .useTransferFunction = 1};
    work.criteria[0] = {.active = 1, .responseType = VerticalDeflection};  // the surface points

    const int n = 6;
    const AnalysisRunOptions options{.cycles = n, .threads = 2};
    const auto out = runAnalysis(work, layeredElasticResponses(), options);
    ASSERT_EQ(out.status, AnalysisStatus::Completed);
    EXPECT_EQ(out.results.exceedCount[2], n);
    const double strain = std::min(direct.at(EpsX, 5 + first), direct.at(EpsY, 5 + first));
    const double nf = c.k1 * std::pow(1.0 / std::fabs(strain), c.k2);
    // Six equal terms summed against one product: a few units in the last place.
    EXPECT_NEAR(out.results.damagePerMillion[2], 1e6 / nf, 1e6 / nf * 1e-12);
    for (int j = 0; j < 5; ++j) {
        // The run's table of the last cycle is the direct call's, whole.
        EXPECT_NEAR(work.output.responses.at(EpsX, 5 + j), direct.at(EpsX, 5 + j),
                    std::fabs(direct.at(EpsX, 5 + j)) * 1e-12)
            << j;
    }
}

}  // namespace
}  // namespace ardelon
