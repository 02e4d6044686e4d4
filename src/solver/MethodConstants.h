#pragma once
// The constants of the layered elastic method, as its published tables give them: pi is taken as
// 3.141592 throughout (the half-space quadrature of layer-1 points and the Bessel functions of far
// calls excepted), series are summed until a term of magnitude at most 1e-5 (the Bessel series of
// far calls further, see kFineSeriesTermLimit), and exponentials whose exponent has a magnitude of
// 20 or more are taken as zero.

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
// The Bessel series run on to terms of at most this where every response of a call is small
// against the loads' pressure (every point outside every loaded circle). Cut at 1e-5 they are off
// by up to some 1e-6, and that error jumps wherever the argument adds a term: a ragged error in
// J1(m a) and J0, J1 of m r that the march over m cannot average out, and that shows in a far
// response, a small remainder of the oscillating integrand.
inline constexpr double kFineSeriesTermLimit = 1e-12;
// With the fine series, Hankel's forms take the phase x - pi/4 with pi exact: 3.141592 turns it by
// 1.6e-7, which shows in a far response under a wide load (the vertical stress 75 in. off a 23 in.
// load on a 1 in. top over a stiff base moves by half the accuracy target).
inline constexpr double kExactQuarterPi = 0.78539816339744831;
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
