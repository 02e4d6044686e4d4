#include "reliability/ResultFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace ardelon {
namespace {

TEST(FormatSignificant, FiveSignificantDigitsTable) {
    const std::pair<double, const char*> cases[] = {
        {3.14159, "3.1416"},
        {100, "100."},
        {0, "0."},
        {-70, "-70."},
        {12345.6, "12346"},
        {0.05, "5.e-002"},
        {123456.7, "1.2346e+005"},
        {99.98, "99.98"},
        {0.5, "0.5"},
        {0.1, "0.1"},
        {0.099999, "9.9999e-002"},
        {0.0999999, "0.1"},
        {99999.4, "99999"},
        {99999.7, "1.e+005"},
        {-0.00123456, "-1.2346e-003"},
        {1e-20, "1.e-020"},
        {2.5e300, "2.5e+300"},
        {50, "50."},
        {12.34567, "12.346"},
        {1.00001, "1."},
        {95, "95."},
        {INFINITY, "Infinite"},  // non-finite values read as words
        {-INFINITY, "-Infinite"},
        {std::nan(""), "Undefined"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatSignificant(value), text) << value;
}

// The yearly damage is A = axle groups per day × damage per million × 0.000365. Growing traffic
// compounds year by year; without growth damage accumulates linearly (the compound formula would
// give 0 / 0), and a growth too small to change 1 + r in double precision must still tend to the
// linear time, not to "Infinite" (log10(1 + r) would be 0 or off by several percent). No damage,
// no traffic, or traffic that dies out before reaching D never reaches it (+infinity).
TEST(YearsToDamage, CompoundLinearAndNeverReached) {
    // The logarithms lose a few ulps against the hand values: 1e-12 years is far below the
    // report's two decimals. At r = 1e-14 the compounding itself shortens the time by about 1e-14
    // relative; 1e-9 years allows for that and still catches the error of log10(1 + r).
    constexpr double kLogRoundOff = 1e-12, kLinearRoundOff = 1e-15, kTinyGrowthEffect = 1e-9;
    struct Case {
        double damage;
        int axleGroupsPerDay;
        double growthPercent, damagePerMillion;
        std::optional<double> years;
        double tolerance;
    };
    const Case cases[] = {
        {0.1, 1000, 4, 0.5, 0.5527963241410372, kLogRoundOff},  // A = 0.1825, r = 0.04
        {1.0, 1000, 4, 0.5, 5.052863975451925, kLogRoundOff},
        {0.1, 1000, 0, 2, 0.1 / 0.73, kLinearRoundOff},  // A = 0.73
        {1.0, 1000, 0, 2, 1.0 / 0.73, kLinearRoundOff},
        {1.0, 1000, 1e-15, 2, 1.0 / 0.73, kLinearRoundOff},
        {1.0, 1000, 1e-12, 2, 1.0 / 0.73, kTinyGrowthEffect},
        {0.1, 1000, -50, 0.5, 0.461904104316818, kLogRoundOff},  // a decline that reaches D
        {0.1, 1000, 4, 0, std::nullopt, 0},
        {0.1, 1000, 4, -1, std::nullopt, 0},  // defensive: a negative damage
        {0.1, 0, 4, 0.5, std::nullopt, 0},
        {1.0, 1000, -50, 0.5, std::nullopt, 0},  // total 0.365 < 1.0
    };
    for (const Case& c : cases) {
        const double years = yearsUntilDamage(
            DamageLevel{c.damage}, {static_cast<double>(c.axleGroupsPerDay), c.growthPercent},
            c.damagePerMillion);
        SCOPED_TRACE(::testing::Message() << "D " << c.damage << " growth " << c.growthPercent
                                          << " damage " << c.damagePerMillion);
        if (c.years) {
            EXPECT_NEAR(years, *c.years, c.tolerance);
        } else {
            EXPECT_EQ(years, INFINITY);
        }
    }
    // The lists show the years with five significant digits, a level never reached as a word.
    EXPECT_EQ(formatYears(yearsUntilDamage(kDamage01, {1000, 4}, 10)), "2.7926e-002");
    EXPECT_EQ(formatYears(yearsUntilDamage(kDamage10, {1000, -50}, 1)), "Infinite");
}

// Interval bounds from the closed forms below, to round-off.
constexpr double kIntervalTolerance = 1e-9;

TEST(WilsonInterval, ClosedFormsAtTheEndsAndInTheMiddle) {
    const double z2 = 1.959963984540054 * 1.959963984540054;
    // None of 10: [0, z²/(n + z²)]; the ends at 0 % and 100 % are exact, never a round-off
    // beside them that could miss the estimate itself.
    const PercentInterval none = wilsonInterval95(0, 10);
    EXPECT_EQ(none.low, 0.0);
    EXPECT_NEAR(none.high, 100.0 * z2 / (10 + z2), kIntervalTolerance);
    // All of 10: [n/(n + z²), 1].
    const PercentInterval all = wilsonInterval95(10, 10);
    EXPECT_NEAR(all.low, 100.0 * 10 / (10 + z2), kIntervalTolerance);
    EXPECT_EQ(all.high, 100.0);
    // Half of 100 is symmetric about 50 %: 50 ± 100 z √(0.25/100 + z²/40000) / (1 + z²/100).
    const PercentInterval half = wilsonInterval95(50, 100);
    const double h = 100.0 * 1.959963984540054 * std::sqrt(0.0025 + z2 / 40000) / (1 + z2 / 100);
    EXPECT_NEAR(half.low, 50 - h, kIntervalTolerance);
    EXPECT_NEAR(half.high, 50 + h, kIntervalTolerance);
    EXPECT_NEAR(half.low, 40.383, 1e-3);  // the textbook value
}

}  // namespace
}  // namespace ardelon
