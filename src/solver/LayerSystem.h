#pragma once
// The call contract of the layered elastic solver: the layered half-space, the circular surface
// loads, the evaluation points and the table of responses.
//
// Units are consistent: the analysis passes inches and psi, so stresses come back in psi, strains
// in inch per inch and displacements in inches. Stresses are compression-positive; displacements
// are reported negated (a downward deflection gives a negative DispZ).

#include <array>
#include <cstddef>

namespace ardelon {

inline constexpr int kMaxLoads = 30;
inline constexpr int kMaxPoints = 50;
inline constexpr int kResponseRows = 19;

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
};

enum ResponseRow : int {
    SigmaX = 0,
    SigmaY = 1,
    SigmaZ = 2,
    TauYZ = 3,
    TauXZ = 4,
    TauXY = 5,
    Sigma1 = 6,
    Sigma2 = 7,
    Sigma3 = 8,
    Eps1 = 9,
    Eps2 = 10,
    Eps3 = 11,
    DispX = 12,
    DispY = 13,
    DispZ = 14,
    EpsX = 15,
    EpsY = 16,
    EpsZ = 17,
    InitialStep = 18,
};

// The row names, in row order, as tables and files name them.
inline constexpr const char* kResponseRowNames[kResponseRows] = {
    "SigmaX", "SigmaY", "SigmaZ", "TauYZ", "TauXZ",      "TauXY", "Sigma1",
    "Sigma2", "Sigma3", "Eps1",   "Eps2",  "Eps3",       "DispX", "DispY",
    "DispZ",  "EpsX",   "EpsY",   "EpsZ",  "InitialStep"};

// 19 rows of 50 points, row-major: row r of point i stands at index r × 50 + i.
struct ResponseTable {
    std::array<double, kResponseRows * kMaxPoints> values{};

    double& at(int row, int point) {
        return values[static_cast<std::size_t>(row * kMaxPoints + point)];
    }
    double at(int row, int point) const {
        return values[static_cast<std::size_t>(row * kMaxPoints + point)];
    }
    bool operator==(const ResponseTable&) const = default;
};

}  // namespace ardelon
