#include "project/NumberField.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace ardelon {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

FieldValue<int> parseIntegerField(std::string_view text, std::optional<int> minimum,
                                  std::optional<int> maximum) {
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    long long value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || value < INT_MIN ||
        value > INT_MAX) {
        return {std::nullopt, std::string(kEnterInteger)};
    }
    if (minimum && maximum && (value < *minimum || value > *maximum)) {
        return {std::nullopt, "Please enter an integer between " + std::to_string(*minimum) +
                                  " and " + std::to_string(*maximum) + "."};
    }
    return {static_cast<int>(value), {}};
}

FieldValue<double> parseNumberField(std::string_view text, std::optional<double> minimum,
                                    std::optional<double> maximum) {
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
        return {std::nullopt, std::string(kEnterNumber)};
    }
    if (minimum && maximum && (value < *minimum || value > *maximum)) {
        return {std::nullopt, "Please enter a number between " + formatFieldNumber(*minimum) +
                                  " and " + formatFieldNumber(*maximum) + "."};
    }
    return {value, {}};
}

std::string formatFieldNumber(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return {};
    return std::string(buffer, end);
}

}  // namespace ardelon
