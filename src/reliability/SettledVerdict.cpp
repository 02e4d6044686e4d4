#include "reliability/SettledVerdict.h"

#include <algorithm>
#include <cmath>

#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

constexpr double kPriorWeightCycles = 100.0;
constexpr double kTightestNearCycles = 5000.0;

double logBeta(double a, double b) {
    return std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
}

// log of the beta-binomial mixture likelihood ratio of `below` of `cycles` against p.
class PercentileMixture {
  public:
    PercentileMixture(int below, int cycles, double priorMean)
        : s_(below),
          f_(cycles - below),
          a_(kPriorWeightCycles * priorMean),
          b_(kPriorWeightCycles * (1.0 - priorMean)),
          logMarginal_(logBeta(a_ + s_, b_ + f_) - logBeta(a_, b_)) {}

    double logRatio(double p) const {
        const double successes = s_ > 0 ? s_ * std::log(p) : 0.0;
        const double failures = f_ > 0 ? f_ * std::log1p(-p) : 0.0;
        return logMarginal_ - successes - failures;
    }

  private:
    double s_, f_, a_, b_, logMarginal_;
};

// The p between `inside` (ratio below the bound) and `outside` where the ratio meets the bound.
double boundary(const PercentileMixture& m, double bound, double inside, double outside) {
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (inside + outside);
        (m.logRatio(mid) < bound ? inside : outside) = mid;
    }
    return inside;
}

}  // namespace

std::string_view verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "Pass";
        case Verdict::Fail:
            return "Fail";
        default:
            return "Undecided";
    }
}

std::string_view verdictWord(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "pass";
        case Verdict::Fail:
            return "fail";
        default:
            return "undecided";
    }
}

SettledInterval percentileVerdict(int below, int cycles, double targetPercent, double confidence) {
    SettledInterval out;
    if (cycles <= 0) {
        out.high = 100.0;
        return out;
    }
    below = std::clamp(below, 0, cycles);
    const double bound = std::log(1.0 / (1.0 - confidence));
    const double target = targetPercent / 100.0;
    const PercentileMixture m(below, cycles, std::clamp(target, 0.01, 0.99));
    const double observed = static_cast<double>(below) / cycles;
    out.low = below == 0 ? 0.0 : 100.0 * boundary(m, bound, observed, 0.0);
    out.high = below == cycles ? 100.0 : 100.0 * boundary(m, bound, observed, 1.0);
    if (!(target < 1.0)) {
        out.verdict = Verdict::Fail;  // no percentile lies above 100
    } else if (target < 0.0) {
        out.verdict = Verdict::Pass;
    } else if (m.logRatio(target) >= bound) {
        out.verdict = observed > target ? Verdict::Pass : Verdict::Fail;
    }
    return out;
}

SettledInterval damageInterval(const DamageSums& damage, double confidence) {
    SettledInterval out{damage.perMillion, damage.perMillion, Verdict::Undecided};
    const double n = damage.cycles;
    if (n < 2)
        return {0.0, INFINITY, Verdict::Undecided};
    // Each cycle added x / n, so the mean square of x is n × the sum of the squared shares.
    const double variance = std::max(
        0.0, n / (n - 1) * (n * damage.shareSquareSum - damage.perMillion * damage.perMillion));
    const double alpha = 1.0 - confidence;
    const double rho2 =
        (-2.0 * std::log(alpha) + std::log(-2.0 * std::log(alpha) + 1.0)) / kTightestNearCycles;
    const double spread = n * rho2 + 1.0;
    const double half = std::sqrt(variance) * std::sqrt(2.0 * spread / (n * n * rho2) *
                                                        std::log(std::sqrt(spread) / alpha));
    out.low = std::max(0.0, damage.perMillion - half);
    out.high = damage.perMillion + half;
    return out;
}

SettledInterval yearsVerdict(const DamageSums& damage, const TrafficGrowth& traffic,
                             DamageLevel level, double confidence,
                             std::optional<double> designLifeYears) {
    const SettledInterval d = damageInterval(damage, confidence);
    SettledInterval out;
    // More damage a year, fewer years.
    out.low = yearsUntilDamage(level, traffic, d.high);
    out.high = yearsUntilDamage(level, traffic, d.low);
    if (designLifeYears) {
        if (out.low > *designLifeYears)
            out.verdict = Verdict::Pass;
        else if (out.high < *designLifeYears)
            out.verdict = Verdict::Fail;
    }
    return out;
}

std::string confidenceText(double confidence) {
    std::string text = formatSignificant(confidence * 100.0);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text + " %";
}

std::string settledText(const SettledInterval& settled) {
    return std::string(verdictText(settled.verdict)) + " [" + formatYears(settled.low) + ", " +
           formatYears(settled.high) + "]";
}

}  // namespace ardelon
