#pragma once
// The call contract of the layered elastic solver: the layered half-space, the circular surface
// loads, the evaluation points and the table of responses.
//
// Units are consistent: the analysis passes inches and psi, so stresses come back in psi, strains
// in inch per inch and displacements in inches. Stresses are compression-positive; displacements
// are reported negated (a downward deflection gives a negative DispZ).

#include <array>

#include "solver/ResponseTable.h"

namespace ardelon {

inline constexpr int kMaxLoads = 30;

struct LayerSystem {
    std::array<double, 5> modulus{};    // layers 1 to 5; layer 5 is semi-infinite
    std::array<double, 4> thickness{};  // layers 1 to 4
    std::array<double, 5> poisson{};
    std::array<double, 3> bond{};  // interfaces 1 to 3: 1 = full bond, 0 = full slip
};

struct CircularLoad {
    double pressure = 0.0;  // uniform contact pressure, positive downward
    double radius = 0.0;
    double x = 0.0;
    double y = 0.0;
};

struct EvaluationPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;  // downward from the surface
    int layer = 1;       // 1 to 5: the layer whose material governs the point
    // The rows the caller needs here; the others are left not-a-number.
    ResponseMask responses = kAllResponses;
};

}  // namespace ardelon
