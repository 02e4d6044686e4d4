#pragma once
// Where thickening a varied layer stops raising a critical response.
//
// Above a few inches, a thicker layer lowers every critical response. A thin asphalt layer is the
// exception: the tensile strain at its bottom first grows with thickness (the layer starts to bend
// as a plate) and only falls beyond a peak. The thickness search uses monotonic reasoning (a
// design thinner than a failing one fails too) only at and above the peak found here.

#include <atomic>
#include <string>
#include <vector>

#include "design/DesignGrid.h"
#include "project/CStenorDoc.h"
#include "reliability/ResponseModel.h"

namespace ardelon {

// Standard wheel load of the scan: one tire of an 18-kip dual-tire single axle (lb).
inline constexpr double kPeakScanLoadPerTire = 4500.0;

struct ResponsePeaks {
    // Per varied layer (in the order of the ranges): the grid index from which no critical
    // response rises with that layer's thickness.
    std::vector<int> monotoneFrom;
    std::string failure;     // a response computation that failed (then monotoneFrom is empty)
    bool cancelled = false;  // stopped at `cancel` (then monotoneFrom is empty)
};

// Scans each varied layer over its range at mean inputs: every season with weeks, every axle
// configuration with a share, the standard wheel load, the seasons' mean moduli and the mean
// thicknesses, with the other varied layers at their minimum and at their maximum. A response
// counts as rising when it grows by more than a relative 1e-9 (round-off) from one grid thickness
// to the next, in the direction its criterion judges.
// A long scan (a fine grid) stops as soon as `cancel` is set.
ResponsePeaks locateResponsePeaks(const CStenorDoc& work, const std::vector<VaryRange>& vary,
                                  const ResponseModelFactory& models,
                                  const std::atomic<bool>* cancel = nullptr);

}  // namespace ardelon
