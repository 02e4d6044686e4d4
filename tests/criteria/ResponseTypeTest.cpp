#include <gtest/gtest.h>

#include "criteria/ResponseType.h"

namespace ardelon {
namespace {

TEST(ResponseType, UnitLabelFollowsTheGroupOfTheType) {
    EXPECT_EQ(criterionUnitLabel(-1), "");
    for (int t : {0, 1, 2})
        EXPECT_EQ(criterionUnitLabel(t), "psi");
    for (int t : {3, 4, 5})
        EXPECT_EQ(criterionUnitLabel(t), "microstrain");
    EXPECT_EQ(criterionUnitLabel(6), "milli-inch");
    EXPECT_EQ(criterionUnitLabel(7), "milli-inch");  // hidden for the distribution type
}

TEST(ResponseType, ResultListsNameTypesZeroToSix) {
    EXPECT_EQ(responseName(0).name, "Horizontal Stress");
    EXPECT_EQ(responseName(2).units, "psi");
    EXPECT_EQ(responseName(5).name, "Principal Strain");
    EXPECT_EQ(responseName(5).units, "microstrain");
    EXPECT_EQ(responseName(6).name, "Vertical Deflection");
    EXPECT_EQ(responseName(6).units, "milli-in");
    EXPECT_TRUE(responseName(7).name.empty());
    EXPECT_TRUE(responseName(-1).units.empty());
}

}  // namespace
}  // namespace ardelon
