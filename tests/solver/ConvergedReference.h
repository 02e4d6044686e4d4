#pragma once
// A slow, converged evaluation of the layered elastic responses, for the solver's tests only.
//
// It integrates the same Burmister kernels over the transform parameter m, but independently of
// the solver's march: adaptive Gauss-Kronrod (7/15 points, bisection until the two rules agree to
// 1e-8 of the panel's absolute integral, or to 1e-12 of the largest response of its kind) over
// panels that double in width from m = 0 up to a width resolving the oscillation of
// J0(m r) J1(m a) (half a period) and the decay over the point's depth, then run at that width
// until exp(-m d) of the point's decay length d is below e^-36. Bessel functions: power series in
// extended precision up to 20, Hankel's expansion summed to its smallest term above. Every point
// of layer 1 integrates its whole field (half-space and correction), so the closed-form half-space
// of the solver is not used; surface points add the half-space of layer 1 from the
// elliptic-integral forms of the surface deflection.
//
// It costs some hundred thousand kernel evaluations for an offset of 500 in. over a 1 in. top.

#include <array>

#include "solver/LayerSystem.h"

namespace ardelon::testing {

ResponseTable convergedResponses(const LayerSystem& system, const CircularLoad* loads,
                                 int loadCount, const EvaluationPoint* points, int pointCount);

// The homogeneous half-space under one circular load, in closed form, where it has one: on the
// load axis at any depth, and anywhere on the surface. Compression-positive stresses, deflection
// negated as the solver reports it. Rows SigmaX, SigmaY, SigmaZ, DispZ, DispX; `onAxis` chooses.
struct HalfSpaceValues {
    double sigmaX, sigmaY, sigmaZ, dispZ, dispX;
};
HalfSpaceValues boussinesqOnAxis(double depth, double radius, double pressure, double modulus,
                                 double poisson);
HalfSpaceValues boussinesqAtSurface(double x, double radius, double pressure, double modulus,
                                    double poisson);

// The six half-space quantities P0 to P5 of the solver's closing of layer-1 points (see
// solver/HalfSpaceQuadrature.h), by direct integration of the point-load kernels over the loaded
// circle: polar coordinates about the point's plan position, adaptive Gauss-Kronrod over the
// distance inside over the direction (the tangent rays of an outside point mapped so that the
// chord length is smooth), to about 1e-11 of each quantity's scale.
std::array<double, 6> boussinesqQuantities(double depth, double offset, double radius,
                                           double pressure);

}  // namespace ardelon::testing
