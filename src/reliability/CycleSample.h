#pragma once
// The draws of one Monte Carlo cycle, and what a run can keep of every cycle for figures and
// sensitivity measures.

#include <array>

#include "project/CStenorDoc.h"
#include "solver/LayerSystem.h"

namespace ardelon {

// The ten locations whose five points fill the solver's 50 evaluation points.
inline constexpr int kPointsPerLocation = 5;
inline constexpr int kMaxEvaluatedLocations = kMaxPoints / kPointsPerLocation;

// The draws of one cycle.
struct CycleSample {
    int season = 0;
    std::array<double, kLayerCount> modulus{};        // psi, after copying and the floor
    std::array<double, kThicknessCount> thickness{};  // in., after the floor
    int configuration = Single;
    double loadPerTire = 0.0;  // lb

    bool operator==(const CycleSample&) const = default;
};

// One evaluated cycle: its draws, the load bin the wheel load came from, and per evaluated
// location (in slot order) the critical value in the criterion's units and the damage per
// million axle groups the cycle added (0 when it added none).
struct CycleRecord {
    CycleSample sample;
    int loadBin = 0;
    std::array<double, kMaxEvaluatedLocations> criticalValue{};
    std::array<double, kMaxEvaluatedLocations> damagePerMillion{};

    bool operator==(const CycleRecord&) const = default;
};

// The weight bin (0 to 55) of an axle group carrying `loadPerTire` on each of `tires` tires.
int loadBinOf(double loadPerTire, int tires);

}  // namespace ardelon
