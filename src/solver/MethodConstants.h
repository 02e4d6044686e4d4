#pragma once
// The constants of the layered elastic method, as its published tables give them: pi is taken as
// 3.141592 throughout (the half-space quadrature of layer-1 points excepted), series are summed
// until a term of magnitude at most 1e-5, and exponentials whose exponent has a magnitude of 20 or
// more are taken as zero.

#include <cmath>

namespace ardelon::layered {

inline constexpr double kPi = 3.141592;
inline constexpr double kTwoOverPi = 0.6366199048125918;
inline constexpr double kOneOverPi = 0.3183099524062959;
inline constexpr double kQuarterPi = 0.785398;
inline constexpr double kTwoPiOverThree = 2.0943946666666666;
inline constexpr double kFourPiOverThree = 4.188789333333333;
// Series stop after the first term whose magnitude is at most this.
inline constexpr double kSeriesTermLimit = 1e-5;
// Above this argument the Bessel functions use their leading asymptotic forms.
inline constexpr double kBesselSeriesLimit = 16.0;
// exp(x) with |x| at or beyond this is taken as 0: the term is below double precision of the sum.
inline constexpr double kExponentCutoff = 20.0;

// Stresses below this are negligible for the principal values.
inline constexpr double kNegligibleStress = 0.00001;

inline double cutExp(double x) {
    return (x > -kExponentCutoff && x < kExponentCutoff) ? std::exp(x) : 0.0;
}

}  // namespace ardelon::layered
