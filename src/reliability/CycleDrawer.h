#pragma once
// The draws of the Monte Carlo run, cycle after cycle, in the run's fixed order.

#include <cstdint>

#include "project/CStenorDoc.h"
#include "reliability/CycleSample.h"
#include "reliability/MonteCarloSampler.h"

namespace ardelon {

inline constexpr double kThicknessFloorInches = 1.0;
inline constexpr double kModulusFloorPsi = 1000.0;

// Draws cycle after cycle in the run's fixed order: season; E1, E2 from one normal pair; E3, E4
// from the next; E5 from the first deviate of a third; the moduli below the last layer copied from
// it; H1, H2 and H3, H4 from two more pairs; the floors; the configuration; the wheel load.
class CycleDrawer {
  public:
    // `work` must outlive the drawer; its thickness COVs below the last layer must already be 0.
    CycleDrawer(const CStenorDoc& work, std::uint32_t seed);
    CycleSample next();

  private:
    const CStenorDoc& work_;
    MonteCarloSampler sampler_;
    double load_ = 0.0;
    bool loadDrawn_ = false;
};

}  // namespace ardelon
