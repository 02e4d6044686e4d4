#pragma once
// The paired difference of two designs' percentiles from the same Monte Carlo draws.
//
// When two designs are analysed with the same seed, cycle k of each meets the same season,
// moduli, thicknesses and load, so most cycles stay below a row's limit in both or exceed it in
// both. Only the discordant cycles carry the difference: b cycles below in the first design
// only, c in the second only, of n. The difference of the percentiles is 100 (b − c) / n, and
// its variance comes from the discordant cycles alone, far tighter than two separate intervals.
//
// The interval is the paired-proportions interval of Agresti and Min (2005): half a cycle added
// to each of the four cells of the paired table before the Wald interval of the differences of
// the cycles' indicators, mean ± z·sd/√n. The plain Wald interval collapses to a point when
// there are few discordant cycles (the usual case for designs that differ little) and then
// covers the true difference far less often than stated; the adjusted one holds near its rate.

#include <string>
#include <string_view>

namespace ardelon {

enum class PairedVerdict { FirstBetter, SecondBetter, Same, NotSettled };

struct PairedInterval {
    double difference = 0.0;  // first − second, percentage points
    double low = 0.0;
    double high = 0.0;
    PairedVerdict verdict = PairedVerdict::NotSettled;
};

// `firstOnly` cycles stayed below the limit in the first design only, `secondOnly` in the second
// only, of `cycles`. The verdict: FirstBetter or SecondBetter when the interval lies wholly on one
// side of 0, Same when no cycle differs, else NotSettled.
PairedInterval pairedDifference(int firstOnly, int secondOnly, int cycles, double confidence);

// The two-sided normal quantile of a confidence: 1.959964 for 0.95.
double twoSidedNormalQuantile(double confidence);

// "firstBetter", "secondBetter", "same", "notSettled".
std::string_view pairedVerdictWord(PairedVerdict verdict);
// "<first> better", "<second> better", "same in every cycle", "not settled".
std::string pairedVerdictText(PairedVerdict verdict, std::string_view first,
                              std::string_view second);

}  // namespace ardelon
