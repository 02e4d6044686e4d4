#pragma once
// The Boussinesq half-space under a uniform circular load, in the six quantities P0 to P5 that the
// closing of layer-1 points combines into stresses and displacements (lengths normalised by the
// thickness of layer 1). With R the distance from a load element to the point at depth z and plan
// distance r from the load centre, and x the component of the element-to-point plan vector along
// the load-centre-to-point direction, each an integral over the loaded circle times q / (2 pi):
//   P0 = z / R^3,  P0 + P1 = 3 z^3 / R^5,  r P2 = x / (R (R + z)),  r P3 = z x / R^3,
//   P4 = 3 z^2 x / R^5,  P5 = 1 / R.
// On the axis they are closed form. Off the axis one integration is done in closed form, along a
// chord of the circle (P0, P1, P5) or along a ray from the point (P2 to P4), and the other by
// adaptive Gauss-Kronrod quadrature (7/15 points): over the chord coordinate s = -a cos(t), which
// removes the square-root ends of the chords, split where the chord passes under the point, and
// over the angle phi of a rim point seen from the load centre. The panel with the largest error
// estimate is halved until the estimates sum to 1e-9 of each integral. A point shallow under the
// edge of a wide load needs this: there the integrands peak over a width of the depth, far below
// the step of a fixed grid (a 500-interval Simpson grid was 2 % of q off at a radius 20 times the
// depth). Pi is exact here, so that the quadrature meets the closed form on the axis.

#include <array>

namespace ardelon::layered {

class HalfSpaceQuadrature {
  public:
    // P0 to P5 at depth z > 0 and plan distance r >= 0 from a load of radius a and pressure q.
    std::array<double, 6> quantities(double z, double r, double a, double q) const;
};

inline std::array<double, 6> halfSpaceQuantities(double z, double r, double a, double q) {
    return HalfSpaceQuadrature().quantities(z, r, a, q);
}

}  // namespace ardelon::layered
