#include <gtest/gtest.h>

#include "criteria/ResponseType.h"

namespace ardelon {
namespace {

TEST(ResponseType, UnitLabelFollowsTheGroupOfTheType) {
    // Types -1 (none) to 7; the unit of the distribution type is hidden.
    const std::string_view units[] = {
        "",           "psi",       "psi", "psi", "microstrain", "microstrain", "microstrain",
        "milli-inch", "milli-inch"};
    for (int t = -1; t <= 7; ++t)
        EXPECT_EQ(criterionUnitLabel(t), units[t + 1]) << "type " << t;
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
