#include "project/Rounding.h"

#include <gtest/gtest.h>

#include <utility>

namespace ardelon {
namespace {

// Half up on the magnitude, decided on the digits as typed.
TEST(RoundHalfUp, WholeAndTwoDecimalValues) {
    const std::pair<double, double> whole[] = {
        {12.5, 13},   {12.49, 12}, {522957.5, 522958}, {0.0, 0},
        {99.96, 100}, {7.0, 7},    {-12.5, -13},       {5.5e15, 5.5e15},
    };
    for (const auto& [value, rounded] : whole)
        EXPECT_EQ(roundHalfUpWhole(value), rounded) << value;
    const std::pair<double, double> twoDecimals[] = {
        {12.346, 12.35},
        {12.345, 12.35},  // stored a hair below 12.345; the digits read 12.345, so
                          // it rounds up
        {1.005, 1.01},
        {12.344999, 12.34},
        {999.01, 999.01},
        {9.995, 10.0},
        {25.4, 25.4},
        {0.004, 0.0},
        {-0.125, -0.13},
        {2.83e-06, 0.0},
        {0.005, 0.01},
    };
    for (const auto& [value, rounded] : twoDecimals)
        EXPECT_EQ(roundHalfUpTwoDecimals(value), rounded) << value;
}

}  // namespace
}  // namespace ardelon
