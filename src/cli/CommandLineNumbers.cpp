#include "cli/CommandLineNumbers.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "project/SafeText.h"

namespace ardelon::cli {
namespace {

bool digit(char ch) {
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

// [-]digits[.digits] or [-].digits, then an optional exponent.
bool decimalSyntax(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (i < t.size() && digit(t[i]))
        ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && digit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < t.size() && digit(t[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == t.size();
}

}  // namespace

std::optional<double> decimalNumber(std::string_view text) {
    if (!decimalSyntax(text))
        return std::nullopt;
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);  // underflow gives 0 or subnormal
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> decimalWholeNumber(std::string_view text) {
    const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), digit))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void checkOptionValues(CLI::App& app) {
    for (CLI::Option* option : app.get_options()) {
        if (option->get_type_size_max() == 0)
            continue;  // a flag
        // "INT", or "INT:INT in [1 - 256]" with a range check.
        const std::string type = option->get_type_name();
        const bool whole = type.starts_with("INT") || type.starts_with("UINT");
        const bool real = type.starts_with("FLOAT");
        option->check(CLI::Validator(
            [whole, real](std::string& value) -> std::string {
                if (value.empty())
                    return "the value is empty";
                if ((whole && !decimalWholeNumber(value)) || (real && !decimalNumber(value)))
                    return "\"" + echoedText(value) + "\" is not a decimal number";
                return {};
            },
            "", "value"));
    }
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; }))
        checkOptionValues(*sub);
}

}  // namespace ardelon::cli
