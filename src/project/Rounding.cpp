#include "project/Rounding.h"

#include <charconv>
#include <cmath>
#include <string>

namespace ardelon {
namespace {

// Rounds |value| half up to `decimals` places using its shortest round-trip decimal digits.
double roundHalfUpDigits(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    char buffer[64];
    // Fixed notation with the shortest digits that read back as the same double.
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
    if (ec != std::errc())
        return value;
    std::string text(buffer, end);
    const auto point = text.find('.');
    std::string whole = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    fraction.resize(static_cast<size_t>(decimals) + 1, '0');
    const bool roundUp = fraction[static_cast<size_t>(decimals)] >= '5';
    fraction.resize(static_cast<size_t>(decimals));

    // Add one unit in the last kept place, carrying through the digits.
    std::string digits = whole + fraction;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
    }
    std::string result = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
    if (decimals > 0) {
        result.push_back('.');
        result.append(digits, digits.size() - static_cast<size_t>(decimals));
    }
    double rounded = 0.0;
    std::from_chars(result.data(), result.data() + result.size(), rounded);
    return negative ? -rounded : rounded;
}

}  // namespace

double roundHalfUpWhole(double value) {
    return roundHalfUpDigits(value, 0);
}

double roundHalfUpTwoDecimals(double value) {
    return roundHalfUpDigits(value, 2);
}

}  // namespace ardelon
