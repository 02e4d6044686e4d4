#pragma once
// The principal values of a stress state, by the trigonometric roots of its characteristic cubic.

#include <array>

#include "solver/MethodConstants.h"

namespace ardelon::layered {

// Principal stresses of a compression-positive stress state, sorted largest first; zero when the
// stress state is negligible; sigma x, y, z unsorted when the characteristic cubic has p >= 0.
std::array<double, 3> principalStresses(double sx, double sy, double sz, double tyz, double txz,
                                        double txy);

}  // namespace ardelon::layered
