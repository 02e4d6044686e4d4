#pragma once
// The special functions of the layered elastic method: J0 and J1 by their power series up to an
// argument of 16 and Hankel's expansion above, a vectorised block of the series, and the
// hypergeometric series of the surface deflection under a circular load.

#include "solver/MethodConstants.h"

namespace ardelon::layered {

// The series stop after the first term of magnitude at most termLimit: the classical
// kSeriesTermLimit, or kFineSeriesTermLimit where the responses are small remainders; with the
// fine limit Hankel's expansion above 16 runs to x^-7 as well, its phase with pi exact.
// J1(x) of a load radius: series up to 16, Hankel's asymptotic expansion above.
double besselJ1(double x, double termLimit = kSeriesTermLimit);
// J0(x) and J1(x) of a plan distance: series up to 16, Hankel's asymptotic expansion above.
void besselJ0J1(double x, double& j0, double& j1, double termLimit = kSeriesTermLimit);
// Hankel's expansion of J0 and J1 for x > 16 to the terms in x^-3 (relative error below 2e-6;
// the leading terms alone are off by 1/(8x), almost 1 % at 16), given amplitude = sqrt(2/(pi x)),
// c = cos(x - pi/4) and s = sin(x - pi/4).
// The same given t = 1 / x.
inline void besselAsymptoticOfInverse(double t, double amplitude, double c, double s, double& j0,
                                      double& j1) {
    const double tt = t * t;
    const double p0 = 1.0 - 0.0703125 * tt, q0 = t * (-0.125 + 0.0732421875 * tt);
    const double p1 = 1.0 + 0.1171875 * tt, q1 = t * (0.375 - 0.1025390625 * tt);
    j0 = amplitude * (p0 * c - q0 * s);
    j1 = amplitude * (p1 * s + q1 * c);
}
// The same to the terms in x^-7 (relative error below 2e-9 at 16), for the Bessel functions summed
// to kFineSeriesTermLimit: the shorter form's error jumps where a distance leaves the series, and
// a response that is a small remainder of its integrand shows that jump.
inline void besselAsymptoticFineOfInverse(double t, double amplitude, double c, double s,
                                          double& j0, double& j1) {
    const double tt = t * t;
    const double p0 = 1.0 - tt * (0.0703125 - tt * (0.112152099609375 - tt * 0.5725014209747314));
    const double q0 =
        t * (-0.125 + tt * (0.0732421875 - tt * (0.2271080017089844 - tt * 1.727727502584457)));
    const double p1 = 1.0 + tt * (0.1171875 - tt * (0.144195556640625 - tt * 0.6765925884246826));
    const double q1 =
        t * (0.375 - tt * (0.1025390625 - tt * (0.2775764465332031 - tt * 1.993531733751297)));
    j0 = amplitude * (p0 * c - q0 * s);
    j1 = amplitude * (p1 * s + q1 * c);
}
inline void besselAsymptotic(double x, double amplitude, double c, double s, double& j0, double& j1,
                             double termLimit = kSeriesTermLimit) {
    if (termLimit < kSeriesTermLimit)
        besselAsymptoticFineOfInverse(1.0 / x, amplitude, c, s, j0, j1);
    else
        besselAsymptoticOfInverse(1.0 / x, amplitude, c, s, j0, j1);
}
// J0 and J1 of `count` arguments, all at most 16, by the series above. The arguments are taken
// in blocks whose terms are summed side by side (each argument still stops at its own term), so
// the loop vectorises; the results equal besselJ0J1's up to rounding in the last bits.
void besselSeriesBlock(const double* x, double* j0, double* j1, int count,
                       double termLimit = kSeriesTermLimit);
// besselJ1 of `count` arguments, four side by side, each result equal to besselJ1's bit for bit.
void besselJ1Block(const double* x, double* j1, int count, double termLimit = kSeriesTermLimit);
// The hypergeometric series F(alpha, 1/2; gamma; x) of the surface deflection of a circular load.
double hypergeometricHalf(double alpha, double gamma, double x);

}  // namespace ardelon::layered
