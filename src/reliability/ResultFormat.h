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

// Years until the accumulated damage reaches `damageLevel` when the first year's damage is
// A = axleGroupsPerDay × damagePerMillion × 0.000365 and traffic grows by growthPercent a year,
// compounded: log10(1 + r D / A) / log10(1 + r). Zero growth gives D / A. When the damage never
// reaches the level (no damage, or traffic shrinking too fast) the result is +infinity.
double yearsUntilDamage(double axleGroupsPerDay, double damagePerMillion, double growthPercent,
                        double damageLevel);

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
