#pragma once
// The number texts of the result lists and the years a criterion takes to reach a damage level.

#include <string>

namespace ardelon {

// Five significant digits: fixed notation while the value has 0 to 5 digits before the point
// (0.1 <= |v| < 100000, and 0), otherwise one digit, four decimals and a three-digit exponent.
// Trailing zeros of the decimals go, the point stays: 3.1416, 100., 0., -70., 12346, 5.e-002,
// 1.2346e+005. A value that is not finite reads "Infinite" (or "-Infinite", "Undefined").
std::string formatSignificant(double value);

// The text the lists show for years that never come (no damage): "Infinite".
inline constexpr const char* kInfiniteYears = "Infinite";

// The traffic that accrues a criterion's damage: axle groups a day in the first year, growing by
// growthPercent a year, compounded.
struct TrafficGrowth {
    double axleGroupsPerDay = 0.0;
    double growthPercent = 0.0;
};

// The accumulated damage D the years are counted to: 0.1 or 1.0 in the lists.
struct DamageLevel {
    double value = 0.0;
};
inline constexpr DamageLevel kDamage01{0.1};
inline constexpr DamageLevel kDamage10{1.0};

// Years until the accumulated damage reaches `level` when the first year's damage is
// A = axleGroupsPerDay × damagePerMillion × 0.000365 and traffic grows by r = growthPercent / 100
// a year, compounded: log10(1 + r D / A) / log10(1 + r). Zero growth gives D / A. When the damage
// never reaches the level (no damage, no traffic, or traffic shrinking too fast) the result is
// +infinity.
double yearsUntilDamage(DamageLevel level, const TrafficGrowth& traffic, double damagePerMillion);

// The Wilson score interval at 95 % confidence (z = 1.959963984540054) of a percentage observed as
// `successes` of `trials` Monte Carlo cycles, in percent. It stays within 0 to 100 and is not
// degenerate at 0 % or 100 %, where the normal approximation fails.
struct PercentInterval {
    double low = 0.0;
    double high = 0.0;
};
PercentInterval wilsonInterval95(int successes, int trials);

// formatSignificant, except that +infinity reads "Infinite".
std::string formatYears(double years);

}  // namespace ardelon
