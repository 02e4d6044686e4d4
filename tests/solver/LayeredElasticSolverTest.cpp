#include "solver/LayeredElasticSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "solver/SolverTestSupport.h"

namespace ardelon::testing {
namespace {

// The reference values are stated to this many significant digits.
constexpr int kFourSignificant = 4;
constexpr int kFiveSignificant = 5;

constexpr double kMicro = 1e6;

ResponseTable solve(const LayerSystem& system, const std::vector<CircularLoad>& loads,
                    const std::vector<EvaluationPoint>& points) {
    LayeredElasticSolver solver;
    return solver.computeResponses(system, loads.data(), static_cast<int>(loads.size()),
                                   points.data(), static_cast<int>(points.size()));
}

const std::vector<CircularLoad> kDual(std::begin(kDualWheels), std::end(kDualWheels));

TEST(HomogeneousSystem, ReproducesTheHalfSpace) {
    const std::vector<CircularLoad> load = {{100.0, 5.0, 0.0, 0.0}};
    const auto t =
        solve(homogeneousSystem(), load, {{0, 0, 0, 1}, {5, 0, 0, 1}, {0, 0, 5, 1}, {0, 0, 12, 3}});
    // The vertical stress at the surface, under the load and on its edge, is checked exactly below.
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaX, 0), 85.0, kFiveSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaY, 0), 85.0, kFiveSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(DispZ, 0), -0.01755, kFourSignificant));
    // On the edge of the loaded circle.
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaX, 1), 35.0, kFiveSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaY, 1), 50.0, kFiveSignificant));
    // On the axis: q (1 - z^3 / (a^2 + z^2)^1.5), in layer 1 closed form, in layer 3 integrated.
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaZ, 2), 64.645, kFiveSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaZ, 3), 21.347, kFiveSignificant));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.at(InitialStep, i), 0.1);
}

TEST(LayeredReference, MatchesThePublishedValues) {
    const auto t =
        solve(referenceSystem(), kDual, {{0, 0, 0, 1}, {0, 0, 6, 1}, {0, 0, 6, 2}, {0, 0, 36, 4}});
    // The first step resolves the bending of layer 4 over the softer subgrade: its bottom lies at
    // 6 top-layer thicknesses and it is twice as stiff, so 0.1 / (6 x 2^(1/3)).
    EXPECT_DOUBLE_EQ(t.at(InitialStep, 0), 0.1 / (6.0 * std::cbrt(2.0)));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(DispZ, 0), -0.02210, kFourSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(EpsX, 1) * kMicro, -134.7, kFourSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(EpsZ, 2) * kMicro, 469.1, kFourSignificant));
    EXPECT_TRUE(agreesToSignificantDigits(t.at(SigmaZ, 3), 2.359, kFourSignificant));
    // Compression-positive stresses: the surface under the wheel carries the contact pressure.
    EXPECT_NEAR(t.at(SigmaZ, 0), 100.0, 1e-9);
}

// A point 300 in away (50 layer-1 thicknesses) limits the step of every point to 0.55 / (r + a):
// J0(m r) J1(m a) turns through 2 pi (r + a) per unit of m.
TEST(Points, SurfacePointIgnoresItsLayerNumberAndAFarPointCapsTheStep) {
    const auto t = solve(referenceSystem(), kDual,
                         {{4, 3, 0, 1}, {4, 3, 0, 2}, {4, 3, 0, 3}, {4, 3, 0, 5}, {300, 0, 0, 1}});
    for (int row = 0; row < kResponseRows; ++row) {
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(t.at(row, i), t.at(row, 0)) << "row " << row;
    }
    EXPECT_EQ(t.at(InitialStep, 0), 0.55 / (50.0 + 5.0 / 6.0));
}

// On the rim of a loaded circle at the surface the vertical stress is half the pressure; columns
// beyond the points of the call are left as they were.
TEST(Calls, SurfaceEdgeOfTheCircleTakesTheEdgeValueAndLaterColumnsAreLeftAlone) {
    LayeredElasticSolver solver;
    ResponseTable t;
    t.values.fill(-7.0);
    const CircularLoad wheel{100.0, 5.0, 0.0, 0.0};
    const EvaluationPoint rim{0, 5, 0, 1};
    solver.computeResponses(referenceSystem(), &wheel, 1, &rim, 1, t);
    EXPECT_EQ(t.at(SigmaZ, 0), 50.0);
    EXPECT_EQ(t.at(TauXZ, 0), 0.0);
    EXPECT_EQ(t.at(TauYZ, 0), 0.0);
    for (int row = 0; row < kResponseRows; ++row) {
        for (int i = 1; i < kMaxPoints; ++i)
            ASSERT_EQ(t.at(row, i), -7.0);
    }
}

TEST(Calls, RepeatedCallsOfOneSolverPerThreadGiveTheFreshSolversResult) {
    const std::vector<EvaluationPoint> points = {{0, 0, 0, 1}, {3, 1, 6, 1}, {6.75, 0, 36.01, 5}};
    LayerSystem slip = referenceSystem();
    slip.bond = {0, 1, 1};
    const auto bonded = solve(referenceSystem(), kDual, points);
    const auto slipping = solve(slip, kDual, points);
    std::vector<ResponseTable> results(4);
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; ++k) {
        threads.emplace_back([&, k] {
            LayeredElasticSolver solver;
            // Each call in between solves the other system: nothing of it may stay behind.
            for (int repeat = 0; repeat < 5; ++repeat) {
                solver.computeResponses(k % 2 ? referenceSystem() : slip, kDual.data(), 1,
                                        points.data(), 2);
                results[k] = solver.computeResponses(k % 2 ? slip : referenceSystem(), kDual.data(),
                                                     2, points.data(), 3);
            }
        });
    }
    for (auto& t : threads)
        t.join();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(results[k], k % 2 ? slipping : bonded) << k;
}

}  // namespace
}  // namespace ardelon::testing
