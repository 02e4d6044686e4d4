#pragma once
// Unit conversions. Project numbers are English (inches, psi, degrees F) except the fields held
// in display units; these factors are the ones every module uses, to the last digit.

namespace ardelon::units {

inline constexpr double kPsiToMpa = 0.00689476;
inline constexpr double kMpaToPsi = 145.0376807894691;
inline constexpr double kInchToCm = 2.54;
inline constexpr double kCmToInch = 0.39370078740157477;
inline constexpr double kFahrenheitToCelsiusScale = 0.5555555555555556;  // 5/9

inline double fahrenheitToCelsius(double f) {
    return (f - 32.0) * kFahrenheitToCelsiusScale;
}

}  // namespace ardelon::units
