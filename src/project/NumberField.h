#pragma once
// The number-entry rules of the dialogs' edits: text that is not a number, and numbers outside a
// field's range, are refused with the framework's own texts and the application title as caption.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace ardelon {

inline constexpr std::string_view kEnterNumber = "Please enter a number.";
inline constexpr std::string_view kEnterInteger = "Please enter an integer.";

// Either the value the field holds or the message that refuses the text.
template <typename T>
struct FieldValue {
    std::optional<T> value;
    std::string message;  // empty when value is set

    bool ok() const { return value.has_value(); }
};

// A whole number that fits in 32 bits, within [minimum, maximum] when both are given:
// "Please enter an integer." / "Please enter an integer between 1 and 500000.".
FieldValue<int> parseIntegerField(std::string_view text, std::optional<int> minimum = {},
                                  std::optional<int> maximum = {});
// A finite number, within [minimum, maximum] when both are given:
// "Please enter a number." / "Please enter a number between 0 and 10.".
FieldValue<double> parseNumberField(std::string_view text, std::optional<double> minimum = {},
                                    std::optional<double> maximum = {});

// A number as an edit shows it: the shortest text that reads back as the same value ("12.5",
// "522958", "1e-05").
std::string formatFieldNumber(double value);

}  // namespace ardelon
