#pragma once
// The hint a number field shows when the pointer rests on it: what the quantity is, its unit in
// the project's unit system and the values the form takes, e.g. "Layer 1 thickness, in.: 1 to
// 999". Each dialog class gives the hint of its fields with `hint(Control)`, built from the same
// bounds its refusals use, so a hint never promises a range the form does not hold to.

#include <optional>
#include <string>
#include <string_view>

namespace ardelon {

struct FieldHint {
    std::string text;  // empty for a control that is no number field
};

// The values a field takes: both bounds included; a missing bound is open. `aboveLow` makes the
// lower bound exclusive (a step must be larger than 0).
struct HintRange {
    std::optional<double> low;
    std::optional<double> high;
    bool aboveLow = false;
};

inline constexpr HintRange kAnyNumber{};
inline constexpr HintRange kNotNegative{0.0, std::nullopt};
inline constexpr HintRange kPercentRange{0.0, 100.0};

// "<quantity>, <unit>: <low> to <high>" ("Layer 1 thickness, in.: 1 to 999"); without a unit
// "<quantity>: ..."; an open range reads "<low> or more", "more than <low>", "at most <high>" or
// "any number". A `note` follows in parentheses ("any number (tension negative)").
FieldHint fieldHint(std::string_view quantity, std::string_view unit, HintRange range,
                    std::string_view note = {});

}  // namespace ardelon
