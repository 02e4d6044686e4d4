#include <gtest/gtest.h>

#include <climits>

#include "reliability/MonteCarloSampler.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

// Every interval contains its own percentage, and the ends are exact at 0 % and 100 %.
TEST(EdgeValues, WilsonIntervalContainsItsEstimate) {
    for (int trials = 1; trials <= 2000; trials += (trials < 50 ? 1 : 37)) {
        for (int successes : {0, 1, trials / 2, trials - 1, trials}) {
            const PercentInterval i = wilsonInterval95(successes, trials);
            const double percent = 100.0 * successes / trials;
            EXPECT_LE(i.low, percent) << successes << " of " << trials;
            EXPECT_GE(i.high, percent) << successes << " of " << trials;
        }
        EXPECT_EQ(wilsonInterval95(0, trials).low, 0.0);
        EXPECT_EQ(wilsonInterval95(trials, trials).high, 100.0);
    }
}

TEST(EdgeValues, SeasonDrawSumsWeeksWithoutOverflow) {
    // 1 + 2147483647 weeks: the second season covers the rest of any year.
    EXPECT_EQ(MonteCarloSampler::pickSeason(0.5, {1, INT_MAX, 0, 0, 0}), 1);
    EXPECT_EQ(MonteCarloSampler::pickSeason(0.5, {0, 0, INT_MAX, INT_MAX, INT_MAX}), 2);
    EXPECT_EQ(MonteCarloSampler::pickSeason(0.99, {INT_MIN, INT_MIN, 0, 0, 0}), 4);
}

}  // namespace
}  // namespace ardelon
