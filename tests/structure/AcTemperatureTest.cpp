#include <gtest/gtest.h>

#include <cmath>

#include "project/Rounding.h"
#include "structure/AcTemperature.h"

namespace ardelon {
namespace {

// The pavement temperature of the worked example is quoted to three decimals.
constexpr double kQuotedTemperatureTolerance = 0.0005;
// Depths are sums and thirds of thicknesses: exact but for the last binary digit.
constexpr double kDepthTolerance = 1e-12;

constexpr int kPg82 = 0, kPg76 = 1, kPg70 = 2, kPg64 = 3, kPg58 = 4, kPg52 = 5, kPg46 = 6;

TEST(AcTemperature, TenInchLayerAtSeventyDegreesGivesTheNewProjectModulus) {
    const double depth = evaluationDepths({10, 999, 999, 999})[0];
    EXPECT_NEAR(pavementTemperature(70, depth), 80.909, kQuotedTemperatureTolerance);
    EXPECT_EQ(roundHalfUpWhole(acModulusFromTemperature(70, depth, kPg70)), 522958.0);
}

TEST(AcTemperature, GradesShareCurvesInTwoGroups) {
    const double depth = 5.0;
    for (double air : {20.0, 55.0, 70.0, 95.0}) {
        const double e70 = acModulusFromTemperature(air, depth, kPg70);
        EXPECT_EQ(acModulusFromTemperature(air, depth, kPg82), e70);
        EXPECT_EQ(acModulusFromTemperature(air, depth, kPg76), e70);
        EXPECT_EQ(acModulusFromTemperature(air, depth, kPg52),
                  acModulusFromTemperature(air, depth, kPg46));
    }
    // The other grades have curves of their own.
    const double tp = pavementTemperature(70, depth);
    EXPECT_DOUBLE_EQ(acModulusFromTemperature(70, depth, kPg64), 7351157 * std::exp(-0.038 * tp));
    EXPECT_DOUBLE_EQ(acModulusFromTemperature(70, depth, kPg58), 5677719 * std::exp(-0.045 * tp));
    EXPECT_DOUBLE_EQ(acModulusFromTemperature(70, depth, kPg46), 4841000 * std::exp(-0.048 * tp));
}

TEST(AcTemperature, ColdAndHotSeasonsStayWithinTheAsphaltLimits) {
    EXPECT_EQ(acModulusFromTemperature(-60, 1.0, kPg70), 4000000.0);
    EXPECT_EQ(acModulusFromTemperature(150, 1.0, kPg46), 50000.0);
    // Between the limits the curve itself is returned.
    EXPECT_DOUBLE_EQ(acModulusFromTemperature(40, 3.0, kPg70),
                     8187876 * std::exp(-0.034 * pavementTemperature(40, 3.0)));
}

TEST(AcTemperature, EvaluationDepthsAreOneThirdIntoEachLayer) {
    const auto z = evaluationDepths({6, 9, 3, 999});
    const double expected[] = {2.0, 9.0, 16.0, 18.0 + 333.0};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(z[i], expected[i], kDepthTolerance) << "layer " << i + 1;
}

// Inputs beyond the curves' range take the nearest value that has one; they must not give
// not-a-number.
TEST(AcTemperature, DepthAboveTheSurfaceAndGradeOutsideTheListUseTheNearestValid) {
    // Above the surface the surface temperature holds; the modulus of a layer 1 typed as -12 in.
    // (z = -4 in., where the relationship has no value) is checked with the thickness edit.
    EXPECT_EQ(pavementTemperature(70, -20.0), pavementTemperature(70, 0.0));
    EXPECT_EQ(acModulusFromTemperature(70, 4, -3), acModulusFromTemperature(70, 4, kPg82));
    EXPECT_EQ(acModulusFromTemperature(70, 4, 12), acModulusFromTemperature(70, 4, kPg46));
}

}  // namespace
}  // namespace ardelon
