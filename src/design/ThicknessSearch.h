#pragma once
// The least-cost thickness search: the cheapest grid candidate whose analysis passes every
// criterion.
//
// Every candidate is the project with its thicknesses, analysed as the Output and Design module
// analyses it, with the same seed and number of cycles (common random numbers), so candidates
// differ only by their thicknesses. A candidate passes when every percentile row reads "Pass" and,
// with a design life, every transfer-function row lasts at least that many years to D = 1.0.
//
// Method. The search assumes that, at and above the response peak of each varied layer (see
// ResponsePeak.h), a thicker layer never raises a critical response, so that a candidate thinner
// than a failing one fails and one thicker than a passing one passes. It first walks the pass/fail
// boundary line by line along the last varied layer (from the thickest candidate still cheaper
// than the best pass found, down to the first failure), then visits the candidates in order of
// preference and stops at the first that passes, skipping those the assumption settles as fails.
// Once a pass is known, a candidate is analysed only after the thickest candidates above it that
// are still open (cheaper than the best pass, neither analysed nor settled): a failure among them
// settles it and everything below, a pass lowers the best. Near the boundary, where candidates are
// slow to settle, this analyses each boundary candidate once instead of a line of thinner ones
// first. Candidates below a peak are always analysed. A failing analysis stops as soon as a row's
// exceedances exceed what its target allows (or the damage already falls short of the design
// life). Candidates are analysed one after the other, each on all threads, so the answer and the
// trace do not depend on the number of threads.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/CandidateRows.h"
#include "design/DesignGrid.h"
#include "project/CStenorDoc.h"
#include "reliability/AnalysisRun.h"
#include "reliability/ResponseModel.h"

namespace ardelon {

// What the search assumes, as the command's help and the desktop form state it.
inline constexpr std::string_view kThicknessSearchAssumption =
    "The search assumes that a thicker layer never raises a critical response at and above the "
    "thickness where that layer's critical responses peak at mean inputs (a thin asphalt layer "
    "bends more as it thickens up to that peak). Candidates thinner than a peak are always "
    "analysed; above the peaks, a candidate thinner than a failing one is taken to fail.";

struct ThicknessSearchProgress {
    int candidatesEvaluated = 0;
    int candidateCount = 0;  // the grid: the most the search can evaluate
    std::int64_t cyclesRun = 0;
};

struct ThicknessSearchOptions {
    std::vector<VaryRange> vary;
    std::optional<double> designLifeYears;
    int cycles = 5000;
    std::uint32_t seed = 1;
    int threads = 0;
    int blockCycles = 64;     // small blocks waste few cycles when a failing candidate stops
    bool exhaustive = false;  // analyse every candidate fully (the reference of the search)
    bool earlyStop = true;    // stop a candidate's run as soon as it is settled as a fail
    // Run each candidate until every row's verdict settles (Pass or Fail at `confidence`), as
    // soon as one row settles Fail, or at the cap (searchCycleCap); a candidate still undecided
    // there is called by its point estimates.
    bool untilSettled = false;
    int maxCycles = 0;  // the cap; 0: twice `cycles`
    double confidence = kDefaultConfidence;
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const ThicknessSearchProgress&)> progress;
};

// One analysed candidate, as the trace lists it.
struct EvaluatedCandidate {
    DesignCandidate candidate;
    bool pass = false;
    int cyclesRun = 0;  // fewer than N when the run stopped early
    bool stopped = false;
    // Per percentile row: the actual percentile over the cycles run.
    std::vector<double> actualPercentile;
    // Per transfer-function row: years to D = 1.0 (damage scaled to N when stopped early).
    std::vector<double> yearsToDamage10;
    std::vector<std::string> failedCriteria;  // what it fails (empty when it passes)
    // Its call is settled: a row settled Fail, or every row with a target settled Pass.
    bool settled = false;
};

enum class ThicknessSearchStatus { Found, NoPassingCandidate, Refused, Cancelled, Failed };

struct ThicknessSearchResult {
    ThicknessSearchStatus status = ThicknessSearchStatus::Refused;
    std::string message;  // Refused or Failed: why
    int candidateCount = 0;
    std::int64_t cyclesRun = 0;
    std::vector<EvaluatedCandidate> evaluated;  // in the order they were analysed
    std::vector<double> monotoneFromThickness;  // per varied layer: the peak found
    // Found: the winner; NoPassingCandidate: the thickest candidate (every varied layer at its
    // maximum), analysed in full, with the criteria it fails.
    std::optional<EvaluatedCandidate> best;
    CStenorDoc bestWork;  // the analysed working copy of `best`
    AnalysisRunOutcome bestOutcome;
    std::vector<std::string> percentileRowNames;  // the rows of list 2, named
    std::vector<std::string> transferRowNames;    // the rows of list 1, named
};

// The most cycles of a candidate run until settled: maxCycles, or by default twice N (a candidate
// still undecided after N cycles gets as many again, and is then called by its estimates: close
// calls, which more cycles would mostly leave undecided too, cost at most 2N each).
int searchCycleCap(const ThicknessSearchOptions& options);

// The project with a candidate's thicknesses: with Temperature Correction on, the asphalt moduli
// of the first varied layer and every layer below follow the new thicknesses as the Structure
// module sets them (moduli entered by hand, correction off, are kept). This is the project that
// -o saves and "Use This Design" hands back.
CStenorDoc candidateProject(const CStenorDoc& project, const std::array<double, kThicknessCount>& t,
                            const std::vector<VaryRange>& vary);

// The working copy a candidate is analysed on: candidateProject as the module receives it, with
// the module's rounding.
CStenorDoc candidateWork(const CStenorDoc& project, const std::array<double, kThicknessCount>& t,
                         const std::vector<VaryRange>& vary);

// Searches `project` (as read or as the module holds it). Refuses a grid that checkDesignGrid
// refuses, a design life that is not positive, a project where no criterion can fail and a
// project the analysis refuses.
ThicknessSearchResult searchThicknesses(const CStenorDoc& project,
                                        const ThicknessSearchOptions& options,
                                        const ResponseModelFactory& models);

}  // namespace ardelon
