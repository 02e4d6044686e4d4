#pragma once
// Shared structures and the significant-digit comparison of the solver tests.

#include <gtest/gtest.h>

#include <cmath>

#include "solver/LayerSystem.h"

namespace ardelon::testing {

// True when `actual` agrees with `expected` to the given number of significant digits, i.e. it
// lies within half a unit of the last digit that `expected` states.
inline ::testing::AssertionResult agreesToSignificantDigits(double actual, double expected,
                                                            int digits) {
    const double exponent = std::floor(std::log10(std::abs(expected)));
    const double halfUnit = 0.5 * std::pow(10.0, exponent - digits + 1);
    if (std::abs(actual - expected) <= halfUnit)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " differs from " << expected << " in the first " << digits
           << " significant digits (allowed " << halfUnit << ")";
}

// The homogeneous check structure: every layer 50,000 psi, Poisson's ratio 0.35, 5 in thick.
inline LayerSystem homogeneousSystem() {
    LayerSystem s;
    s.modulus = {50000, 50000, 50000, 50000, 50000};
    s.poisson = {0.35, 0.35, 0.35, 0.35, 0.35};
    s.thickness = {5, 5, 5, 5};
    s.bond = {1, 1, 1};
    return s;
}

// The layered reference structure: a stiff asphalt layer over softening layers, all bonded.
inline LayerSystem referenceSystem() {
    LayerSystem s;
    s.modulus = {500000, 50000, 30000, 20000, 10000};
    s.poisson = {0.35, 0.40, 0.40, 0.45, 0.45};
    s.thickness = {6, 8, 10, 12};
    s.bond = {1, 1, 1};
    return s;
}

// A single axle: two 100 psi wheels of radius 5 in, 13.5 in apart along x.
inline constexpr CircularLoad kDualWheels[2] = {{100.0, 5.0, 0.0, 0.0}, {100.0, 5.0, 13.5, 0.0}};

}  // namespace ardelon::testing
