#pragma once
// Half-up rounding on the decimal digits of a non-negative value, as the engineer reads them.
//
// The digits are those of the shortest decimal text that reads back as the same double, so
// 12.345 rounds to 12.35 (its binary value lies a hair below, but the value typed was 12.345).
// Negative values are rounded on their magnitude and keep their sign.

namespace ardelon {

// Adds 1 to the units when the tenths digit is 5 or more and drops the fraction.
double roundHalfUpWhole(double value);
// Adds 0.01 when the thousandths digit is 5 or more and drops the digits beyond the hundredths.
double roundHalfUpTwoDecimals(double value);

}  // namespace ardelon
