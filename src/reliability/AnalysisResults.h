#pragma once
// The counts and damage of one Monte Carlo run, per criterion slot.

#include <array>
#include <vector>

#include "project/Enumerations.h"
#include "reliability/CycleSample.h"

namespace ardelon {

struct AnalysisResults {
    int cycles = 0;  // N of the run the counts belong to
    // Cycles in which the threshold was exceeded at one or more of the slot's points (types 0-6).
    std::array<int, kSlotCount> exceedCount{};
    // Accumulated damage per million axle groups (types 3 and 4).
    std::array<double, kSlotCount> damagePerMillion{};
    // The sum of the squares of what each cycle added to damagePerMillion: the spread of the
    // cycles' damage behind the interval of the years.
    std::array<double, kSlotCount> damageShareSquareSum{};
    // Per level (95th, 85th, 75th, 65th, 55th) and slot: cycles whose level limit was exceeded
    // (type 7).
    std::array<std::array<int, kSlotCount>, kDistributionLevels> limitExceedCount{};
    // The critical value of the current cycle of each evaluated slot, in slot order.
    std::array<double, kSlotCount> cycleValues{};
    // The damage per million the current cycle added, per evaluated slot in slot order.
    std::array<double, kSlotCount> cycleDamage{};
    int cyclesRun = 0;  // cycles evaluated (N unless the run was stopped early)
    // Every cycle, when the run was asked to keep them.
    std::vector<CycleRecord> cycleRecords;
    int loadCount = 0;
    int pointCount = 0;

    bool operator==(const AnalysisResults&) const = default;
};

}  // namespace ardelon
