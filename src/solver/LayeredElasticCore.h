#pragma once
// Numerical core of the layered elastic solver: Bessel functions, the layer coefficients of the
// Hankel-transform (Burmister) solution, the closed-form Boussinesq half-space terms and the
// principal values. Lengths are normalised by the thickness of layer 1, so the interface depths
// are z1 = 1 < z2 < z3 < z4 and the transform parameter m is dimensionless.
//
// Constants follow the method's published tables: pi is taken as 3.141592 throughout, series are
// summed until a term of magnitude at most 1e-5, and exponentials whose exponent has a magnitude
// of 20 or more are taken as zero.

#include <array>
#include <cmath>

#include "solver/HalfSpaceQuadrature.h"

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

inline double cutExp(double x);

// J1(x) of a load radius: series up to 16, Hankel's asymptotic expansion above.
double besselJ1(double x);
// J0(x) and J1(x) of a plan distance: series up to 16, Hankel's asymptotic expansion above.
void besselJ0J1(double x, double& j0, double& j1);
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
inline void besselAsymptotic(double x, double amplitude, double c, double s, double& j0,
                             double& j1) {
    besselAsymptoticOfInverse(1.0 / x, amplitude, c, s, j0, j1);
}
// J0 and J1 of `count` arguments, all at most 16, by the series above. The arguments are taken
// in blocks whose terms are summed side by side (each argument still stops at its own term), so
// the loop vectorises; the results equal besselJ0J1's up to rounding in the last bits.
void besselSeriesBlock(const double* x, double* j0, double* j1, int count);
// The hypergeometric series F(alpha, 1/2; gamma; x) of the surface deflection of a circular load.
double hypergeometricHalf(double alpha, double gamma, double x);

// Layer properties in normalised lengths, derived once per call.
struct NormalisedLayers {
    std::array<double, 5> modulus{};
    std::array<double, 5> poisson{};
    std::array<double, 5> top{};         // depth of the top of layer 1..5: 0, z1, z2, z3, z4
    std::array<double, 4> interface {};  // z1..z4
    std::array<double, 4> ratio{};       // R_k = (1 + nu_{k+1}) E_k / ((1 + nu_k) E_{k+1})
    std::array<double, 3> bond{};
};

NormalisedLayers normaliseLayers(const std::array<double, 5>& modulus,
                                 const std::array<double, 4>& thickness,
                                 const std::array<double, 5>& poisson,
                                 const std::array<double, 3>& bond);

// Which interface conditions the coefficients satisfy.
enum class CoefficientSolution {
    // Interfaces 1 to 3 follow their bond factors k: stresses and vertical displacement
    // continuous, radial displacement of the upper face k times that of the lower face.
    General,
    // Interfaces 1 and 2 frictionless, interface 3 bonded (bond factors not read).
    Slip,
};

// The integration constants of every layer at one m. Index 0..4 is layer 1..5. Layer 1 carries
// only the correction to the half-space of layer 1 (B, D); layer 5 has no growing terms (A, C).
struct LayerCoefficients {
    std::array<double, 5> A{}, B{}, C{}, D{};
    double kernel = 0.0;  // K(m): the larger of the deflection brackets either side of interface 1
};

// Solves the 16 interface equations at m (> 0) by block elimination, interface by interface (4 × 4
// blocks, partial pivoting within each), and evaluates K(m). Every matrix entry is a decaying
// exponential times a polynomial in m, so the system stays well scaled at every m.
void solveCoefficients(double m, const NormalisedLayers& layers, CoefficientSolution solution,
                       LayerCoefficients& out);

// Largest magnitude of the 14 coefficients of layers 1 to 4 (the slip scheme's significance).
double largestUpperCoefficient(const LayerCoefficients& c);

// Principal stresses of a compression-positive stress state, sorted largest first; zero when the
// stress state is negligible; sigma x, y, z unsorted when the characteristic cubic has p >= 0.
std::array<double, 3> principalStresses(double sx, double sy, double sz, double tyz, double txz,
                                        double txy);

inline double cutExp(double x) {
    return (x > -kExponentCutoff && x < kExponentCutoff) ? std::exp(x) : 0.0;
}

}  // namespace ardelon::layered
