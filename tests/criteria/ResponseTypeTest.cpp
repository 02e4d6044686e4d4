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
    const ResponseName expected[] = {
        {"Horizontal Stress", "psi"},       {"Vertical Stress", "psi"},
        {"Principal Stress", "psi"},        {"Horizontal Strain", "microstrain"},
        {"Vertical Strain", "microstrain"}, {"Principal Strain", "microstrain"},
        {"Vertical Deflection", "milli-in"}};
    for (int t = 0; t <= VerticalDeflection; ++t) {
        EXPECT_EQ(responseName(t).name, expected[t].name) << "type " << t;
        EXPECT_EQ(responseName(t).units, expected[t].units) << "type " << t;
        EXPECT_EQ(kResponseTypeNames[t], expected[t].name);
    }
    // The distribution type is offered in the criteria list but has no result-list entry.
    EXPECT_EQ(kResponseTypeNames[HorizontalStrainDistribution], "Horizontal Strain Distribution");
    EXPECT_TRUE(responseName(7).name.empty());
    EXPECT_TRUE(responseName(7).units.empty());
    EXPECT_TRUE(responseName(-1).units.empty());
}

}  // namespace
}  // namespace ardelon
