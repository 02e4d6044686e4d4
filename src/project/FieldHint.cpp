#include "project/FieldHint.h"

#include <cmath>

#include "project/NumberField.h"

namespace ardelon {
namespace {

// Whole bounds are written out ("100000000", "4294967295"), others as the edits show numbers.
std::string boundText(double value) {
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return std::to_string(static_cast<long long>(value));
    return formatFieldNumber(value);
}

std::string rangeText(const HintRange& range) {
    if (range.low && range.high)
        return boundText(*range.low) + " to " + boundText(*range.high);
    if (range.low)
        return (range.aboveLow ? "more than " : "") + boundText(*range.low) +
               (range.aboveLow ? "" : " or more");
    if (range.high)
        return "at most " + boundText(*range.high);
    return "any number";
}

}  // namespace

FieldHint fieldHint(std::string_view quantity, std::string_view unit, HintRange range,
                    std::string_view note) {
    std::string text(quantity);
    if (!unit.empty())
        text += ", " + std::string(unit);
    text += ": " + rangeText(range);
    if (!note.empty())
        text += " (" + std::string(note) + ")";
    return {text};
}

}  // namespace ardelon
