#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "solver/LayeredElasticCore.h"

namespace ardelon::layered {
namespace {

// The Bessel series stop after a term of at most 1e-5, or 1e-12 for far calls; they agree with the
// exact functions to these (the cancellation of the terms near 16, some 1e5 in size, costs a digit
// of the first and the digits below 1e-11 of the second).
constexpr double kSeriesAccuracy = 5e-6;
constexpr double kFineSeriesAccuracy = 1e-10;
// Hankel's expansion to the terms in x^-3 is within 2e-6 of the amplitude above 16 (the phase
// carries pi as 3.141592, 2e-7 off).
constexpr double kAsymptoticAccuracy = 5e-7;
// With the fine series it runs to x^-7, within 2e-9 of the amplitude: what is left is the phase.
constexpr double kFineAsymptoticAccuracy = 5e-8;
// Closed forms evaluated in double precision.
constexpr double kRoundOff = 1e-12;
// The principal stresses use 2 pi / 3 and 4 pi / 3 derived from pi = 3.141592, which moves the
// roots by a few millionths of the deviatoric stress.
constexpr double kPrincipalAccuracy = 5e-5;

// Exact at 0; the series up to 16, to either term limit (scalar and block alike); the asymptotic
// expansion just above and far beyond.
TEST(Bessel, SeriesUpToSixteenAndAsymptoticFormsAbove) {
    struct Case {
        double x, j0, j1, tolerance, fineTolerance;
    };
    for (const Case c :
         {Case{0.0, 1.0, 0.0, 0.0, 0.0},
          {1.0, 0.7651976865579666, 0.44005058574493355, kSeriesAccuracy, kFineSeriesAccuracy},
          {5.0, -0.17759677131433813, -0.3275791375914642, kSeriesAccuracy, kFineSeriesAccuracy},
          {16.0, -0.17489907399898344, 0.09039717566433643, kSeriesAccuracy, kFineSeriesAccuracy},
          {16.0000001, -0.17489908302334561, 0.090397157606414549, kAsymptoticAccuracy,
           kFineAsymptoticAccuracy},
          {20.0, 0.16702466434058344, 0.066833124175849509, kAsymptoticAccuracy,
           kFineAsymptoticAccuracy},
          {100.0, 0.019985850304218542, -0.077145352014113322, kAsymptoticAccuracy,
           kFineAsymptoticAccuracy}}) {
        for (const auto& [limit, tolerance] : {std::pair{kSeriesTermLimit, c.tolerance},
                                               std::pair{kFineSeriesTermLimit, c.fineTolerance}}) {
            double j0 = -1, j1 = -1;
            besselJ0J1(c.x, j0, j1, limit);
            EXPECT_NEAR(j0, c.j0, tolerance) << c.x << " to " << limit;
            EXPECT_NEAR(j1, c.j1, tolerance) << c.x << " to " << limit;
            EXPECT_NEAR(besselJ1(c.x, limit), c.j1, tolerance) << c.x << " to " << limit;
            if (c.x <= kBesselSeriesLimit) {
                besselSeriesBlock(&c.x, &j0, &j1, 1, limit);
                EXPECT_NEAR(j0, c.j0, tolerance) << c.x << " block to " << limit;
                EXPECT_NEAR(j1, c.j1, tolerance) << c.x << " block to " << limit;
            }
        }
    }
}

// The lane paths give the scalar ones' values bit for bit: J1 of a load radius over the series
// and asymptotic ranges, and the interface constants of a panel's nodes (every scheme, bond and
// repeated subgrade, panels of one to six nodes, K(m) of the last).
TEST(LanePaths, EqualTheScalarOnesBitForBit) {
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    std::vector<double> x;
    for (double v = 0.0; v < 24.0; v += 0.37)
        x.push_back(v);
    x.push_back(kBesselSeriesLimit);
    for (const double limit : {kSeriesTermLimit, kFineSeriesTermLimit}) {
        std::vector<double> j1(x.size());
        besselJ1Block(x.data(), j1.data(), static_cast<int>(x.size()), limit);
        for (std::size_t i = 0; i < x.size(); ++i)
            EXPECT_TRUE(same(j1[i], besselJ1(x[i], limit))) << x[i] << " to " << limit;
    }

    struct System {
        std::array<double, 5> modulus;
        std::array<double, 3> bond;
        CoefficientSolution solution;
    };
    for (const System& sys :
         {System{{4e5, 6e5, 3e4, 1e4, 1e4}, {1, 1, 1}, CoefficientSolution::General},
          {{2e6, 3e5, 3e4, 3e4, 3e4}, {1, 0.4, 1}, CoefficientSolution::General},
          {{4e5, 6e5, 3e4, 1e4, 5e3}, {0, 1, 1}, CoefficientSolution::Slip},
          {{1e8, 100, 100, 100, 100}, {0, 1, 1}, CoefficientSolution::Slip}}) {
        NormalisedLayers layers =
            normaliseLayers(sys.modulus, {1.5, 8, 12, 20}, {0.35, 0.35, 0.4, 0.45, 0.45}, sys.bond);
        findHalfSpace(layers, sys.solution);
        for (const int nodes : {1, 2, 5, 6}) {
            const std::array<double, 6> m = {0.013, 0.7, 3.1, 9.9, 27.5, 61.0};
            std::array<LayerCoefficients, 6> batch;
            solveCoefficientsBatch(m.data(), nodes, layers, sys.solution, true, batch.data());
            for (int k = 0; k < nodes; ++k) {
                LayerCoefficients one;
                solveCoefficients(m[k], layers, sys.solution, one);
                for (int layer = 0; layer < 5; ++layer) {
                    EXPECT_TRUE(same(batch[k].A[layer], one.A[layer]) &&
                                same(batch[k].B[layer], one.B[layer]) &&
                                same(batch[k].C[layer], one.C[layer]) &&
                                same(batch[k].D[layer], one.D[layer]))
                        << "layer " << layer + 1 << " at m = " << m[k];
                }
                if (k == nodes - 1) {
                    EXPECT_TRUE(same(batch[k].kernel, one.kernel)) << "K at m = " << m[k];
                }
            }
        }
    }
}

// Sorted most compressive first. Outside a load on the surface of a half-space sigma_r =
// -sigma_theta and sigma_z = 0: the first invariant vanishes but the stresses do not. A hydrostatic
// state comes back exactly as given, negligible invariants give zero exactly, but a vanishing first
// invariant alone is not negligible when the vertical stress is compressive.
TEST(PrincipalStresses, SortedTracelessHydrostaticAndNegligibleStates) {
    struct Case {
        std::array<double, 6> stress;  // sigma x, y, z, tau xy, xz, yz
        std::array<double, 3> principal;
        double scale;  // of the deviatoric stress; 0 for an exact result
    };
    const Case cases[] = {
        {{-5, 30, 10, 0, 0, 0}, {30, 10, -5}, 35},
        {{2, 4, 10, 0, 3, 0}, {11, 4, 1}, 10},  // the 2 x 2 block of sigma_z and tau_xz
        {{0, 0, 0, 0, 0, 2}, {2, 0, -2}, 2},
        {{7.5, 7.5, 7.5, 0, 0, 0}, {7.5, 7.5, 7.5}, 0},
        {{3e-6, -1e-6, 2e-6, 1e-7, 0, 0}, {0, 0, 0}, 0},
        {{-5, 0, 5, 0, 0, 0}, {5, 0, -5}, 5},
    };
    for (const Case& c : cases) {
        const auto [sx, sy, sz, txy, txz, tyz] = c.stress;
        const auto p = principalStresses(sx, sy, sz, txy, txz, tyz);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(p[k], c.principal[k], kPrincipalAccuracy * c.scale) << sx << " " << k;
    }
}

// On the axis the closed form of Boussinesq; just off it the quadrature must meet it (the values
// move by (r / a)^2, 1e-8, away from the axis).
TEST(HalfSpace, AxisValuesAreBoussinesqAndTheQuadratureJoinsThem) {
    constexpr double kQuadratureAccuracy = 1e-7;
    const double z = 0.9, a = 1.1, q = 100.0;
    const auto axis = halfSpaceQuantities(z, 0.0, a, q);
    const double rho = std::sqrt(z * z + a * a);
    EXPECT_NEAR(axis[0] + axis[1], q * (1.0 - z * z * z / (rho * rho * rho)), kRoundOff);
    EXPECT_NEAR(axis[5], q * (rho - z), kRoundOff);
    EXPECT_EQ(axis[4], 0.0);
    const auto near = halfSpaceQuantities(z, 1e-4, a, q);
    for (int k : {0, 1, 5}) {
        EXPECT_NEAR(near[k], axis[k], kQuadratureAccuracy * q) << "P" << k;
    }
}

}  // namespace
}  // namespace ardelon::layered
