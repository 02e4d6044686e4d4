#include <gtest/gtest.h>

#include <utility>

#include "project/Rounding.h"
#include "structure/AcTemperature.h"

namespace ardelon {
namespace {

// The pavement temperature of the worked example is quoted to three decimals.
constexpr double kQuotedTemperatureTolerance = 0.0005;
// The hand-worked moduli are quoted to a tenth of a psi; half a psi is far below any rounding the
// modules show.
constexpr double kWholePsi = 0.5;
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
    // The other grades have curves of their own. At 5 in. under 70 F air the pavement is at
    // 70 (1 + 1/9) - 34/9 + 6 = 80 F; the moduli worked by hand from each grade's curve
    // E = a exp(-k Tp) at 80 F, to the psi.
    EXPECT_NEAR(pavementTemperature(70, depth), 80.0, kQuotedTemperatureTolerance);
    const std::pair<int, double> byGrade[] = {
        {kPg70, 539374.3}, {kPg64, 351641.8}, {kPg58, 155136.4}, {kPg46, 104050.5}};
    for (const auto& [grade, modulus] : byGrade)
        EXPECT_NEAR(acModulusFromTemperature(70, depth, grade), modulus, kWholePsi) << grade;
}

TEST(AcTemperature, ColdAndHotSeasonsStayWithinTheAsphaltLimits) {
    EXPECT_EQ(acModulusFromTemperature(-60, 1.0, kPg70), 4000000.0);
    EXPECT_EQ(acModulusFromTemperature(150, 1.0, kPg46), 50000.0);
    // Between the limits the curve itself is returned: 40 F air at 3 in. gives 46.857 F in the
    // pavement and 1664478 psi.
    EXPECT_NEAR(acModulusFromTemperature(40, 3.0, kPg70), 1664478.2, kWholePsi);
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
