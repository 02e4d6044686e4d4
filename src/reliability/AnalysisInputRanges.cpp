#include "reliability/AnalysisInputRanges.h"

#include <algorithm>

#include "project/ShownUnits.h"
#include "project/Units.h"
#include "reliability/CycleDrawer.h"
#include "solver/SolverInputRanges.h"

namespace ardelon {
namespace {

constexpr std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// The run raises its draws to floors (NaN included); only values above them reach the solver.
double raised(double value, double floor) {
    return value >= floor ? value : floor;
}

std::string field(const char* name, int index, const std::string& what) {
    return std::string(name) + "[" + std::to_string(index) + "] (" + what + ")";
}

}  // namespace

std::string analysisInputRangeProblem(const CStenorDoc& work) {
    const int layers = std::clamp(work.layerCountIndex, 0, 3) + 2;
    // The season draw never reads Spring 2's weeks: it takes what is left of the year, so its
    // moduli can always be drawn; the other seasons only when they have weeks.
    for (int s = 0; s < kSeasonCount; ++s) {
        if (s != Spring2 && work.seasonWeeks[at(s)] <= 0)
            continue;
        for (int l = 0; l < layers; ++l) {
            const std::string entry = "seasonalModulus[" + std::to_string(l) + "][" +
                                      std::to_string(s) + "] (layer " + std::to_string(l + 1) +
                                      ", " + std::string(kSeasonNames[at(s)]) + ")";
            const double psi = raised(work.seasonalModulus[at(l)][at(s)], kModulusFloorPsi);
            if (auto p = checkSolverInput(kModulusRange, psi, entry); !p.empty())
                return p;
        }
    }
    for (int l = 0; l < kLayerCount; ++l) {
        const std::string entry = field("poisson", l, "layer " + std::to_string(l + 1));
        if (auto p = checkSolverInput(kPoissonRange, work.poisson[at(l)], entry); !p.empty())
            return p;
    }
    for (int i = 0; i < 3; ++i) {
        const std::string entry = field("slipValue", i, "interface " + std::to_string(i + 1));
        if (auto p = checkSolverInput(kBondRange, work.slipValue[at(i)], entry); !p.empty())
            return p;
    }
    const double toInches = heldInEnglish(work) ? 1.0 : units::kCmToInch;
    for (int l = 0; l + 1 < layers; ++l) {
        const std::string entry = field("thickness", l, "layer " + std::to_string(l + 1));
        const double inches = raised(work.thickness[at(l)] * toInches, kThicknessFloorInches);
        if (auto p = checkSolverInput(kThicknessRange, inches, entry); !p.empty())
            return p;
    }
    return {};
}

}  // namespace ardelon
