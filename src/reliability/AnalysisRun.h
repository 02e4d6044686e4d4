#pragma once
// The Monte Carlo reliability analysis of a design: N cycles, each drawing a season, the layer
// moduli and thicknesses, an axle configuration and a wheel load, computing the responses at five
// plan positions under every evaluated criterion location, and counting exceedances and fatigue or
// rutting damage per criterion. After the last cycle the counts become the two result lists.
//
// Parallel and reproducible: the samples of every cycle are drawn on the calling thread in cycle
// order, the response computations of a block of cycles run on all worker threads (one response
// model each), and the cycles are evaluated and written in cycle order. The lists, counts, damage
// sums and raw-data file are therefore bit-identical for any number of threads.

#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/CycleDrawer.h"
#include "reliability/CycleEvaluation.h"
#include "reliability/CycleGeometry.h"
#include "reliability/CycleSample.h"
#include "reliability/RawDataFile.h"
#include "reliability/ResponseModel.h"
#include "reliability/ResultLists.h"
#include "reliability/SequentialStopping.h"

namespace ardelon {

// ---- The run --------------------------------------------------------------------------------

// Why a run cannot start, with the caption of the message that says so.
struct AnalysisRefusal {
    std::string caption;
    std::string text;
};

inline constexpr std::string_view kTooManyLocationsCaption = "Too Many Criteria";
inline constexpr std::string_view kEmptyLoadDistributionCaption = "Load Spectra Missing";
inline constexpr std::string_view kCyclesCaption = "Monte Carlo Cycles";
// The fewest cycles a run takes; the most are what a whole number of 32 bits holds.
inline constexpr int kMinCycles = 1;
inline constexpr std::string_view kCyclesTooFewText =
    "Please enter a number of Monte Carlo cycles of at least 1.";
inline constexpr std::string_view kRawDataCaption = "Raw Data File";

// The checks made before any cycle: at most ten evaluated locations, a load distribution for every
// configuration the draw can pick, at least one cycle.
std::optional<AnalysisRefusal> checkAnalysisInputs(const CStenorDoc& work, int cycles);

struct AnalysisRunOptions {
    int cycles = 5000;
    std::uint32_t seed = 1;
    int threads = 0;            // 0: one per core
    std::string rawDataPath{};  // empty: no raw-data file
    std::time_t startTime = 0;  // the date line of the raw-data file
    // Called on the calling thread after every block of evaluated cycles: (cycles done, N).
    std::function<void(int, int)> progress{};
    const std::atomic<bool>* cancel = nullptr;  // set from anywhere to stop the run
    // Keep every cycle's draws, critical values and damage in results.cycleRecords.
    bool keepCycleRecords = false;
    // Asked after every evaluated cycle with the counts so far and the cycles evaluated; true
    // ends the run there as Stopped (a search whose candidate is already settled). Cycles are
    // drawn and computed in blocks, so a stop saves the blocks after the current one.
    std::function<bool(const AnalysisResults&, int)> stopWhen{};
    // Called after every evaluated cycle, in cycle order, with the counts so far and the cycle's
    // number (1 to N): what a comparison of designs reads each cycle's exceedances from.
    std::function<void(const AnalysisResults&, int)> cycleEvaluated{};
    int blockCycles = 256;  // cycles computed in parallel before they are evaluated in order
    // Run until settled: `cycles` is then the most cycles. After every block the lists of the
    // cycles so far (exactly as a fixed run of that many cycles gives them) are passed here; true
    // ends the run at that block as Completed, its results those of a fixed run of
    // results.cycles cycles. At most kMaxSettleCycles cycles.
    std::function<bool(const ResultLists&)> settledWhen{};
    VerdictRules verdicts{};  // the rules of the lists' settled verdicts
};

inline constexpr std::string_view kSolverFailureCaption = "Layered Elastic Analysis";

// Stopped: ended early by stopWhen; the results hold the counts of results.cyclesRun cycles and
// no lists. Failed: a response computation failed or was not finite (refusal says which cycle).
enum class AnalysisStatus { Completed, Refused, Cancelled, Stopped, Failed };

struct AnalysisRunOutcome {
    AnalysisStatus status = AnalysisStatus::Refused;
    AnalysisRefusal
        refusal;  // Refused or Failed: why (also a raw-data file that cannot be written)
    AnalysisResults results;
    ResultLists lists;
};

// Runs the analysis on the working copy `work` (the Output and Design module's): on completion it
// stores the damage per million of each slot, the zeroed thickness COVs below the last layer and
// the last cycle's points and responses in `work`, and writes the raw-data file. A refused or
// cancelled run changes nothing and leaves no raw-data file.
AnalysisRunOutcome runAnalysis(CStenorDoc& work, const ResponseModelFactory& models,
                               const AnalysisRunOptions& options);

// The worker threads a run uses when `asked` for (0 or less: one per core, at least one).
int workerThreadCount(int asked);

// Sets the thickness COVs of the layers below the last one to 0 (they have no thickness).
void zeroThicknessCovBelowLastLayer(CStenorDoc& work);

}  // namespace ardelon
