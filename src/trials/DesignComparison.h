#pragma once
// Comparing designs with common random numbers: every design is analysed from the same seed
// for the same number of cycles, so cycle k of each draws the same season, moduli, thicknesses
// and load (the draws of a cycle do not depend on the design), and the differences between the
// designs are not blurred by sampling noise. Each row of the later designs is then set against
// the same row of the first design as a paired difference.
//
// Run until settled, every design runs until each of its rows is settled, and those that
// settled sooner are run again to the largest count, so that all end with the same N (a run of
// N cycles until settled equals a fixed run of N cycles); at the most cycles the run ends
// whatever is left undecided.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "project/Enumerations.h"
#include "reliability/RunPreparation.h"
#include "trials/PairedDifference.h"

namespace ardelon {

// Each cycle's exceedances of one design, read as the run evaluates them: per slot, bit 0 for
// the slot's threshold and bit 1 + n for strain-distribution level n.
class CycleExceedances {
  public:
    void clear();
    // Hook for AnalysisRunOptions::cycleEvaluated.
    void observe(const AnalysisResults& results, int cycle);
    int cycles() const { return static_cast<int>(flags_.size()); }
    // Whether cycle `cycle` (0-based) stayed below the limit of a row (level −1: the threshold).
    bool below(int cycle, int slot, int level) const;

  private:
    std::vector<std::array<std::uint8_t, kSlotCount>> flags_;
    std::array<int, kSlotCount> exceed_{};
    std::array<std::array<int, kSlotCount>, kDistributionLevels> levelExceed_{};
};

struct ComparedDesign {
    ProjectRun run;
    CycleExceedances exceedances;
};

// One row set against the same row of the first design: `list` 0 for "Conventional Design with
// Transfer Functions" (its Percent Below Critical), 1 for "Percentile Responses" (its Actual
// Percentile); `row` indexes that list of the later design, `firstRow` the first design's.
struct RowDifference {
    int list = 0;
    int row = 0;
    int firstRow = 0;
    int slot = 0;
    int level = -1;
    double first = 0.0;  // the percentiles, percent
    double second = 0.0;
    PairedInterval paired;
};

// Rows pair when they judge the same location with the same response type and limits.
std::vector<RowDifference> pairedRowDifferences(const ComparedDesign& first,
                                                const ComparedDesign& second, double confidence);

// Runs design `index` with the options given (the seed, cycles and hooks of the comparison).
using DesignRunner = std::function<ProjectRun(std::size_t index, const AnalysisRunOptions&)>;

struct Comparison {
    std::vector<ComparedDesign> designs;
    int cycles = 0;        // the N every design ran
    bool settled = false;  // every row of every design has a settled verdict
    // [i − 1]: design i against the first.
    std::vector<std::vector<RowDifference>> differences;
    // A design whose run did not complete (-1: none); its outcome says why.
    int failed = -1;
};

// Compares `count` designs. `options` holds the seed, the cycles (the most cycles when
// `untilSettled`), the verdict rules and threads; its settledWhen and cycleEvaluated are set here.
Comparison compareDesigns(std::size_t count, const DesignRunner& run, AnalysisRunOptions options,
                          bool untilSettled);

}  // namespace ardelon
