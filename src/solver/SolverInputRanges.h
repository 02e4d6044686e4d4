#pragma once
// The inputs the layered elastic solver accepts: each quantity bounded by what a pavement can be,
// with a wide margin, so that every real structure passes and no input can send the integration
// over m into an endless march (a modulus of 1e60 psi, a radius a hundred times the top layer, a
// point a billion inches away) or produce responses that are not numbers.
//
//   modulus          100 psi to 1e8 psi  wet clay is about 1 000 psi, steel 3e7 psi
//   Poisson's ratio  0.05 to 0.5         pavement materials lie between 0.15 and 0.5
//   thickness        1 in to 1000 in     the structure dialog takes 1 to 999 in per layer, and
//                                        the analysis raises thinner draws to 1 in
//   load radius      0.1 in to 50 in     a truck tire's contact circle has 3 to 14 in
//   pressure         1 psi to 1000 psi   truck tires carry 80 to 150 psi, aircraft 250 psi
//   plan x and y     -1000 in to 1000 in an axle group spans a few feet
//   depth            0 in to 5000 in     the deepest interface of five 999-in. layers is 3996 in
//   bond factor      0 to 1              full slip to full bond
//
// The bounds of radius and thickness also bound their ratio: lengths are normalised by the top
// layer's thickness, and a radius beyond about 60 times that thickness leaves the integration
// without a usable first step; 50 in over 1 in keeps clear of it.
//
// Lengths are in inches and stresses in psi, as the analysis passes them.

#include <string>

#include "solver/LayerSystem.h"

namespace ardelon {

struct SolverInputRange {
    const char* name;  // as a message names the quantity: "modulus"
    double low;        // both bounds included
    double high;
    const char* unit;  // "psi", "in" or "" for a ratio
};

inline constexpr SolverInputRange kModulusRange{"modulus", 100.0, 1e8, "psi"};
inline constexpr SolverInputRange kPoissonRange{"Poisson's ratio", 0.05, 0.5, ""};
inline constexpr SolverInputRange kThicknessRange{"thickness", 1.0, 1000.0, "in"};
inline constexpr SolverInputRange kRadiusRange{"radius", 0.1, 50.0, "in"};
inline constexpr SolverInputRange kPressureRange{"pressure", 1.0, 1000.0, "psi"};
inline constexpr SolverInputRange kPlanCoordinateRange{"", -1000.0, 1000.0, "in"};
inline constexpr SolverInputRange kDepthRange{"depth", 0.0, 5000.0, "in"};
inline constexpr SolverInputRange kBondRange{"bond factor", 0.0, 1.0, ""};

// Empty when `value` lies in `range` (a NaN never does), else "<entry>: <name> must lie between
// <low> and <high> <unit> (got <value>)." `name` overrides the range's own name when given.
std::string checkSolverInput(const SolverInputRange& range, double value, const std::string& entry,
                             const char* name = nullptr);

// Checks a whole call: moduli, Poisson's ratios and thicknesses of the five layers ("layer 2"),
// the three bond factors ("interface 1"),
// radius, pressure and position of each load ("load 1"), position and depth of each point
// ("point 3"). Empty when every entry lies in its range, else the message of the first one.
std::string checkSolverInputs(const LayerSystem& system, const CircularLoad* loads, int loadCount,
                              const EvaluationPoint* points, int pointCount);

}  // namespace ardelon
