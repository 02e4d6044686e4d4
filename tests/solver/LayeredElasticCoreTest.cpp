#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "solver/LayeredElasticCore.h"
#include "solver/SolverTestSupport.h"

namespace ardelon::layered {
namespace {

// The Bessel series stop at a term of 1e-5; their sums agree with the exact functions to this.
constexpr double kSeriesAccuracy = 2e-5;
// The leading asymptotic forms are within about 1 % of the exact values at 16; they are checked
// against their own closed form (with pi = 3.141592) evaluated in double precision.
constexpr double kRoundOff = 1e-12;
// The principal stresses use 2 pi / 3 and 4 pi / 3 derived from pi = 3.141592, which moves the
// roots by a few millionths of the deviatoric stress.
constexpr double kPrincipalAccuracy = 5e-5;
// The interface equations are solved by elimination; residuals are round-off.
constexpr double kResidual = 1e-10;

// Exact at 0; the series up to 16; the asymptotic forms just above, against their own closed form.
TEST(Bessel, SeriesUpToSixteenAndAsymptoticFormsAbove) {
    struct Case {
        double x, j0, j1, tolerance;
    };
    for (const Case c : {Case{0.0, 1.0, 0.0, 0.0},
                         {1.0, 0.7651976865579666, 0.44005058574493355, kSeriesAccuracy},
                         {5.0, -0.17759677131433813, -0.3275791375914642, kSeriesAccuracy},
                         {16.0, -0.17489907399898344, 0.09039717566433643, kSeriesAccuracy},
                         {16.0000001, -0.1756834315372696, 0.09446732602014751, kRoundOff}}) {
        double j0 = -1, j1 = -1;
        besselJ0J1(c.x, j0, j1);
        EXPECT_NEAR(j0, c.j0, c.tolerance) << c.x;
        EXPECT_NEAR(j1, c.j1, c.tolerance) << c.x;
        EXPECT_NEAR(besselJ1(c.x), c.j1, c.tolerance) << c.x;
    }
}

TEST(Bessel, BlockSeriesAgreesWithTheSingleSeries) {
    // The block form multiplies by reciprocal factors instead of dividing: the sums differ from
    // the term-by-term ones only by rounding (terms up to 1e5 cancel near x = 16).
    constexpr double kBlockRounding = 1e-10;
    std::vector<double> x;
    for (int k = 0; k <= 36; ++k)
        x.push_back(16.0 * k / 36.0);  // an odd count: a partial block
    std::vector<double> j0(x.size()), j1(x.size());
    besselSeriesBlock(x.data(), j0.data(), j1.data(), static_cast<int>(x.size()));
    for (std::size_t k = 0; k < x.size(); ++k) {
        double e0, e1;
        besselJ0J1(x[k], e0, e1);
        EXPECT_NEAR(j0[k], e0, kBlockRounding) << x[k];
        EXPECT_NEAR(j1[k], e1, kBlockRounding) << x[k];
    }
    EXPECT_EQ(j0[0], 1.0);
    EXPECT_EQ(j1[0], 0.0);
}

TEST(Hypergeometric, SurfaceDeflectionSeries) {
    // F(-1/2, 1/2; 1; k^2) = (2/pi) E(k) inside the loaded circle, F(1/2, 1/2; 2; .) outside.
    // The series stops at a term of 1e-5; near the rim its slowly shrinking tail adds up to more.
    constexpr double kTruncation = 2e-5;
    constexpr double kTruncationNearRim = 5e-5;
    EXPECT_NEAR(hypergeometricHalf(-0.5, 1.0, 0.25), 0.9342154576676941, kTruncation);
    EXPECT_NEAR(hypergeometricHalf(-0.5, 1.0, 0.81), 0.7459255110255973, kTruncationNearRim);
    EXPECT_NEAR(hypergeometricHalf(0.5, 2.0, 0.25), 1.0346316184453668, kTruncation);
    EXPECT_EQ(hypergeometricHalf(-0.5, 1.0, 0.0), 1.0);
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

TEST(HalfSpace, AxisValuesAreBoussinesq) {
    const double z = 1.3, a = 0.8, q = 100.0;
    const auto p = halfSpaceQuantities(z, 0.0, a, q);
    const double rho = std::sqrt(z * z + a * a);
    EXPECT_NEAR(p[0] + p[1], q * (1.0 - z * z * z / (rho * rho * rho)), kRoundOff);
    EXPECT_NEAR(p[5], q * (rho - z), kRoundOff);
    EXPECT_EQ(p[4], 0.0);
}

TEST(HalfSpace, QuadratureJoinsTheAxisSolution) {
    // Just off the axis the 500-interval quadrature must meet the closed form.
    constexpr double kQuadratureAccuracy = 2e-4;
    const double z = 0.9, a = 1.1, q = 100.0;
    const auto axis = halfSpaceQuantities(z, 0.0, a, q);
    const auto near = halfSpaceQuantities(z, 1e-4, a, q);
    for (int k : {0, 1, 5}) {
        EXPECT_NEAR(near[k], axis[k], kQuadratureAccuracy * q) << "P" << k;
    }
}

TEST(Coefficients, HomogeneousSystemNeedsNoCorrection) {
    const LayerSystem s = testing::homogeneousSystem();
    const NormalisedLayers n = normaliseLayers(s.modulus, s.thickness, s.poisson, s.bond);
    const double m = 0.5, nu = 0.35;
    LayerCoefficients c;
    solveCoefficients(m, n, CoefficientSolution::General, c);
    EXPECT_NEAR(c.B[0], 0.0, kResidual);
    EXPECT_NEAR(c.D[0], 0.0, kResidual);
    for (int layer = 1; layer < 5; ++layer) {
        // Every layer carries the half-space field, re-referenced to its own top.
        const double shift = std::exp(-m * n.top[layer]);
        EXPECT_NEAR(c.A[layer], 0.0, kResidual);
        EXPECT_NEAR(c.C[layer], 0.0, kResidual);
        EXPECT_NEAR(c.B[layer], 2 * nu * shift, kResidual);
        EXPECT_NEAR(c.D[layer], shift, kResidual);
    }
}

}  // namespace
}  // namespace ardelon::layered
