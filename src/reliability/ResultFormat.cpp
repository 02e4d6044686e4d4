#include "reliability/ResultFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace ardelon {
namespace {

// Drops the zeros that end the decimals of `mantissa`, keeping the point.
std::string trimDecimals(std::string_view mantissa) {
    std::string text(mantissa);
    if (text.find('.') == std::string::npos)
        return text;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    return text;
}

}  // namespace

std::string formatSignificant(double value) {
    if (std::isnan(value))
        return "Undefined";
    if (std::isinf(value))
        return value > 0 ? "Infinite" : "-Infinite";
    char buffer[64];
    // The exponent of the value once rounded to five significant digits decides the notation.
    std::snprintf(buffer, sizeof buffer, "%.4e", value);
    const std::string_view scientific(buffer);
    const auto ePos = scientific.find('e');
    const int exponent = std::atoi(buffer + ePos + 1);
    const int digitsBeforePoint = value == 0.0 ? 0 : (exponent >= 0 ? exponent + 1 : 0);
    if (exponent >= -1 && digitsBeforePoint <= 5) {
        std::snprintf(buffer, sizeof buffer, "%.*f", 5 - digitsBeforePoint, value);
        return trimDecimals(buffer);
    }
    std::string mantissa = trimDecimals(scientific.substr(0, ePos));
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "e%c%03d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return mantissa + exponentText;
}

double yearsUntilDamage(DamageLevel level, const TrafficGrowth& traffic, double damagePerMillion) {
    const double firstYearDamage = traffic.axleGroupsPerDay * damagePerMillion * 0.000365;
    if (!(firstYearDamage > 0.0))
        return INFINITY;
    const double ratio = level.value / firstYearDamage;
    const double growth = traffic.growthPercent * 0.01;
    if (growth == 0.0)
        return ratio;
    // Shrinking traffic whose total damage stays below the level never reaches it.
    if (!(growth * ratio > -1.0) || !(growth > -1.0))
        return INFINITY;
    // log10(1 + r·D/A) / log10(1 + r): the base of the logarithms cancels, and log1p keeps the
    // digits of a small growth r that 1 + r would lose.
    const double years = std::log1p(growth * ratio) / std::log1p(growth);
    return std::isfinite(years) ? years : INFINITY;
}

PercentInterval wilsonInterval95(int successes, int trials) {
    if (trials <= 0)
        return {0.0, 100.0};
    constexpr double z = 1.959963984540054;
    const double n = trials;
    // At 0 and N the closed forms [0, z²/(n+z²)] and [n/(n+z²), 1] hold exactly; the general
    // formula leaves round-off there (4e-17 instead of 0) that can miss the estimate itself.
    if (successes <= 0)
        return {0.0, 100.0 * z * z / (n + z * z)};
    if (successes >= trials)
        return {100.0 * n / (n + z * z), 100.0};
    const double p = successes / n;
    const double z2n = z * z / n;
    const double centre = (p + z2n / 2.0) / (1.0 + z2n);
    const double half = z / (1.0 + z2n) * std::sqrt(p * (1.0 - p) / n + z2n / (4.0 * n));
    // The interval always contains p; the clamps only guard round-off.
    return {std::min(p, std::max(0.0, centre - half)) * 100.0,
            std::max(p, std::min(1.0, centre + half)) * 100.0};
}

std::string formatYears(double years) {
    return std::isinf(years) && years > 0 ? kInfiniteYears : formatSignificant(years);
}

}  // namespace ardelon
