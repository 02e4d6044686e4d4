#include "project/Rounding.h"

#include <gtest/gtest.h>

namespace ardelon {
namespace {

TEST(RoundHalfUpWhole, RoundsOnTheTenthsDigit) {
    EXPECT_EQ(roundHalfUpWhole(12.5), 13.0);
    EXPECT_EQ(roundHalfUpWhole(12.49), 12.0);
    EXPECT_EQ(roundHalfUpWhole(522957.5), 522958.0);
    EXPECT_EQ(roundHalfUpWhole(0.0), 0.0);
    EXPECT_EQ(roundHalfUpWhole(99.96), 100.0);
    EXPECT_EQ(roundHalfUpWhole(7.0), 7.0);
}

TEST(RoundHalfUpTwoDecimals, RoundsOnTheDecimalDigitsAsTyped) {
    EXPECT_EQ(roundHalfUpTwoDecimals(12.346), 12.35);
    // 12.345 is stored a hair below 12.345; the digits read 12.345, so it rounds up.
    EXPECT_EQ(roundHalfUpTwoDecimals(12.345), 12.35);
    EXPECT_EQ(roundHalfUpTwoDecimals(1.005), 1.01);
    EXPECT_EQ(roundHalfUpTwoDecimals(12.344999), 12.34);
    EXPECT_EQ(roundHalfUpTwoDecimals(999.01), 999.01);
    EXPECT_EQ(roundHalfUpTwoDecimals(9.995), 10.0);
    EXPECT_EQ(roundHalfUpTwoDecimals(25.4), 25.4);
    EXPECT_EQ(roundHalfUpTwoDecimals(0.004), 0.0);
}

TEST(RoundHalfUp, NegativeValuesRoundOnTheirMagnitude) {
    EXPECT_EQ(roundHalfUpWhole(-12.5), -13.0);
    EXPECT_EQ(roundHalfUpTwoDecimals(-0.125), -0.13);
}

TEST(RoundHalfUp, VeryLargeAndTinyValues) {
    EXPECT_EQ(roundHalfUpWhole(5.5e15), 5.5e15);
    EXPECT_EQ(roundHalfUpTwoDecimals(2.83e-06), 0.0);
    EXPECT_EQ(roundHalfUpTwoDecimals(0.005), 0.01);
}

}  // namespace
}  // namespace ardelon
