#pragma once
// Numbers as every input of the command-line tool is read (options, plan cells, --vary ranges):
// decimal only, an optional minus sign, digits with an optional point and exponent ("4",
// "-0.5", "1e-308"); no hexadecimal, no plus sign, no spaces, no "inf" or "nan".

#include <cstdint>
#include <optional>
#include <string_view>

namespace CLI {
class App;
}

namespace ardelon::cli {

// A finite number in decimal notation; values below the smallest normal double are kept
// (1e-308), values beyond the largest are refused.
std::optional<double> decimalNumber(std::string_view text);
// A whole number in decimal digits with an optional minus sign.
std::optional<std::int64_t> decimalWholeNumber(std::string_view text);

// Adds to every option of `app` and its subcommands that takes a value: an empty value is
// refused, and a number option (integer or floating point) takes only the notation above.
void checkOptionValues(CLI::App& app);

}  // namespace ardelon::cli
