#pragma once
// The material cost of a layer over a lane, and of a cross-section, as the Cost Analysis dialog,
// the thickness search, the report and the trials price it.

#include <array>

#include "project/CStenorDoc.h"

namespace ardelon {

// Cost of one layer over one mile (English: thickness in., lane width ft, density pcf, dollars
// per ton of 2000 lb) or one km (metric: thickness cm, lane width m, density kg/m3, dollars per
// metric ton) of one lane: thickness × lane width × length × density × cost per ton, with every
// quantity brought to miles (tons per cubic mile) or km (metric tons per cubic km).
double costPerLane(double thickness, double laneWidth, double density, double costPerTon,
                   bool english);

// The cost of a cross-section over one lane-mile or lane-km.
struct LaneCost {
    // Each layer's cost rounded half up to cents; 0 for the layers without a thickness.
    std::array<double, kThicknessCount> layerCost{};
    // The layers' unrounded costs summed, then rounded half up to cents.
    double total = 0.0;
    // Some layer with a thickness has a cost per ton.
    bool priced = false;
};

// Prices layers 1 to `thicknessLayers` (the layers above the last, which have a thickness).
LaneCost laneCost(const std::array<double, kThicknessCount>& thickness, int thicknessLayers,
                  double laneWidth, const std::array<double, kThicknessCount>& density,
                  const std::array<double, kThicknessCount>& costPerTon, bool english);
// The same for a project at its own thicknesses, in its own units.
LaneCost laneCost(const CStenorDoc& project);

}  // namespace ardelon
