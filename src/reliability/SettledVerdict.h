#pragma once
// The settled verdict of a result row: Pass or Fail only when the row's confidence interval lies
// wholly on one side of its target, Undecided while the interval still contains it.
//
// The intervals are confidence sequences: they hold at the stated confidence at every cycle count
// simultaneously, not only at one fixed count. A run may therefore look at its rows as often as it
// likes (a run until settled looks after every block) without raising the chance of a wrong
// settled verdict, and a fixed run and a run until settled that end after the same cycles give the
// same verdict.
//
// Percentile rows. Every cycle either stays below the row's limit or not (a Bernoulli trial of the
// row's true percentile p). The interval is the set of p where the beta-binomial mixture
// likelihood ratio stays below 1 / (1 − confidence); by Ville's inequality the true p leaves it
// at some cycle count with probability at most 1 − confidence. The mixing prior is centred on the
// target with a weight of 100 cycles, which keeps the interval tight where verdicts are decided.
//
// Transfer-function rows. Damage per million axle groups is the mean of the cycles' damage, and
// years to a damage level fall as the damage grows, so an interval for the mean damage maps
// endpoint for endpoint onto an interval for the years. The mean's interval is the asymptotic
// confidence sequence of the normal mixture with the cycles' sample standard deviation (valid as
// the cycle count grows, like every interval built on a standard error), tuned to be tightest near
// 5000 cycles.

#include <optional>
#include <string>
#include <string_view>

#include "reliability/ResultFormat.h"

namespace ardelon {

enum class Verdict { Pass, Fail, Undecided };

inline constexpr double kDefaultConfidence = 0.95;
inline constexpr double kMinConfidence = 0.5;
inline constexpr double kMaxConfidence = 0.9999;

// "Pass", "Fail", "Undecided" (the lists) and "pass", "fail", "undecided" (JSON).
std::string_view verdictText(Verdict verdict);
std::string_view verdictWord(Verdict verdict);

// An interval of a percentage or of years, and the verdict it gives against its target.
struct SettledInterval {
    double low = 0.0;
    double high = 0.0;
    Verdict verdict = Verdict::Undecided;
};

// A percentile row: `below` of `cycles` cycles stayed below the limit; the row passes when its
// percentile lies above `targetPercent` (a tie fails, so a target of 100 can never pass).
SettledInterval percentileVerdict(int below, int cycles, double targetPercent, double confidence);

// The damage of a transfer-function row as the run sums it: the damage per million axle groups
// (the mean of the cycles' damage) and the sum of the squares of the cycles' shares of it (each
// cycle adds its damage divided by the cycle count).
struct DamageSums {
    double perMillion = 0.0;
    double shareSquareSum = 0.0;
    int cycles = 0;
};

// The interval of the damage per million axle groups (low at least 0).
SettledInterval damageInterval(const DamageSums& damage, double confidence);

// The interval of the years to `damageLevel`; with a design life, the verdict against it (Pass
// when the whole interval lasts longer than the life). Without one the verdict is Undecided.
SettledInterval yearsVerdict(const DamageSums& damage, const TrafficGrowth& traffic,
                             DamageLevel level, double confidence,
                             std::optional<double> designLifeYears);

// "95 %", "99.5 %": a confidence as the outputs name it.
std::string confidenceText(double confidence);

// "Pass [95.312, 96.104]": the verdict and its interval as the lists show them.
std::string settledText(const SettledInterval& settled);

}  // namespace ardelon
