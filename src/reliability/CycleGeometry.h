#pragma once
// Where a cycle is evaluated: the criterion locations a run evaluates, the wheels of each axle
// configuration, and the solver call of one cycle.

#include <array>
#include <span>

#include "project/CStenorDoc.h"
#include "reliability/CycleSample.h"
#include "solver/LayerSystem.h"

namespace ardelon {

// The last slot a run evaluates and the lists report: the top of layer 5 (slots 13 and 14, the
// middle and bottom of the semi-infinite layer, have no depth).
inline constexpr int kLastReportedSlot = 12;
// Slot 12 (top of layer 5) is evaluated this far below the last interface.
inline constexpr double kLayer5TopOffsetInches = 0.01;

// The slots a run evaluates, in slot order: active (= 1), at a location with a depth (slots 0 to
// 12; the middle and bottom of the semi-infinite layer 5 have none) and with a response type 0 to
// 7. Each gets five points, one raw-data column and its rows in the lists.
struct EvaluatedSlots {
    std::array<int, kSlotCount> slot{};
    int count = 0;
};
bool isEvaluatedSlot(const CriterionSlot& criterion, int slot);
EvaluatedSlots evaluatedSlots(const CriterionSlots& criteria);

// The wheels of a configuration (x, y in inches) and the five plan positions of a location.
std::span<const std::array<double, 2>> wheelLayout(int configuration);
inline constexpr std::array<std::array<double, 2>, kPointsPerLocation> kEvaluationPlanPositions{
    {{0, 0}, {6.75, 0}, {0, 27}, {6.75, 27}, {6.75, 54}}};

// Depth (in.) and layer number of slot 0 to 12 for the cycle's thicknesses.
double slotDepth(int slot, const std::array<double, kThicknessCount>& thickness);
int slotLayerNumber(int slot);

// Everything one solver call of a cycle needs; each point asks only for what its criterion reads.
struct CycleGeometry {
    LayerSystem system;
    std::array<CircularLoad, 6> loads{};
    int loadCount = 0;
    std::array<EvaluationPoint, kMaxPoints> points{};
    int pointCount = 0;
};
CycleGeometry cycleGeometry(const CycleSample& sample, const CStenorDoc& work,
                            const EvaluatedSlots& slots);

}  // namespace ardelon
