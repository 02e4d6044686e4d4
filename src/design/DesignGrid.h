#pragma once
// The grid of a thickness search: one to three layers above the bottom layer, each varied from a
// minimum to a maximum thickness in steps, in the project's units; and the order in which the
// candidates of the grid compare (least cost, then least total thickness, then the thinner upper
// layer).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/CStenorDoc.h"

namespace ardelon {

inline constexpr int kMaxVariedLayers = 3;
inline constexpr std::int64_t kMaxGridCandidates = 100000;

// One varied layer: thicknesses min, min + step, ... up to max (in. or cm).
struct VaryRange {
    int layer = 1;
    double minThickness = 0.0;
    double maxThickness = 0.0;
    double step = 0.0;
};

// The shallowest varied layer (kThicknessCount + 1 when nothing is varied).
int firstVariedLayer(const std::vector<VaryRange>& vary);

// The default step: 0.5 in. or 1 cm.
double defaultThicknessStep(const CStenorDoc& project);

// Why a grid cannot be searched (empty: it can), naming the layer or the number at fault.
std::string checkDesignGrid(const CStenorDoc& project, const std::vector<VaryRange>& vary);

// Number of thicknesses of one range (the maximum is included when it lies on a step).
int rangeSize(const VaryRange& range);
// The k-th thickness of a range, rounded to 0.0001 so that steps do not accumulate error.
double rangeThickness(const VaryRange& range, int k);

// One grid point: the index along each varied layer's range.
using GridIndex = std::array<int, kMaxVariedLayers>;

struct DesignCandidate {
    GridIndex index{};
    std::array<double, kThicknessCount> thickness{};  // every layer, in. or cm
    double cost = 0.0;
    std::int64_t totalVariedTenThousandths = 0;  // sum of the varied thicknesses × 10000
};

// The cost of a candidate: the cost-analysis total (layers with a thickness, the project's lane
// width, densities and costs per ton, rounded to cents), or the sum of the varied thicknesses when
// every varied layer's cost per ton is zero.
double candidateCost(const CStenorDoc& project, const std::vector<VaryRange>& vary,
                     const std::array<double, kThicknessCount>& thickness);

// True when a is preferred to b: cheaper; then thinner in total; then thinner from the top layer
// down.
bool preferredCandidate(const DesignCandidate& a, const DesignCandidate& b);

// Every candidate of a checked grid, in grid order (the last varied layer fastest).
std::vector<DesignCandidate> gridCandidates(const CStenorDoc& project,
                                            const std::vector<VaryRange>& vary);

}  // namespace ardelon
