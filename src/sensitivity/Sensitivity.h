#pragma once
// Which inputs drive each verdict: measures computed from the cycles of one Monte Carlo run
// (its own samples; no further solver calls).
//
// For every evaluated criterion location the run's critical values y are set against each input
// x of the cycles: the layer moduli (each standardised within its season, since the seasonal
// means differ), the thicknesses, the season, the axle configuration and the wheel load.
//
// - Rank correlation: Spearman's rho, the Pearson correlation of the ranks (ties share their
//   mean rank). Season and configuration have no order, so they get none.
// - Share: the first-order variance share Var(E[y | x]) / Var(y), estimated from the given data
//   by binning x (equal-count bins that never split equal values; one bin per category) and
//   taking the correlation ratio with Kelley's bias correction,
//     share = (SS_between - (k - 1) SS_within / (n - k)) / SS_total, clamped to [0, 1],
//   so an input without effect scores near 0 rather than (k - 1) / n.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"

namespace ardelon {

// Continuous inputs are split into this many bins at most, with at least this many cycles each.
inline constexpr int kMaxSensitivityBins = 50;
inline constexpr int kMinCyclesPerSensitivityBin = 50;

struct InputSensitivity {
    std::string input;  // "E1" ... "E5", "H1" ... "H4", "Season", "Configuration", "WheelLoad"
    std::optional<double> rankCorrelation;  // none for season and configuration
    double share = 0.0;
};

struct CriterionSensitivity {
    int slot = 0;
    // E1..En, H1..Hn-1, Season, Configuration, WheelLoad of an n-layer structure, ranked by
    // share (largest first; equal shares keep that order).
    std::vector<InputSensitivity> inputs;
};

// The input as an engineer names it: "AC modulus E1", "Subgrade modulus E4", "AC thickness H1",
// "Wheel load", "Season", "Axle configuration" (the layers' materials from `work`).
std::string plainInputName(const CStenorDoc& work, const std::string& input);

// Spearman's rank correlation; 0 when either series is constant or shorter than 2.
double rankCorrelation(const std::vector<double>& x, const std::vector<double>& y);
// The bias-corrected first-order share of y's variance explained by x. `categorical` puts each
// distinct value in a bin of its own; otherwise equal-count bins as above.
double firstOrderShare(const std::vector<double>& x, const std::vector<double>& y,
                       bool categorical);

// The measures of every evaluated location of a run of `work` whose cycle records were kept, in
// slot order. Cycles whose critical value is not finite are left out of that location's measures.
std::vector<CriterionSensitivity> runSensitivity(const CStenorDoc& work,
                                                 const AnalysisResults& results);

}  // namespace ardelon
