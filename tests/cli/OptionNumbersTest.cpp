// Numbers as every input of the command-line tool reads them: decimal notation only.
#include <gtest/gtest.h>

#include "cli/CommandLineNumbers.h"

namespace ardelon::cli {
namespace {

TEST(DecimalNumber, TakesDecimalNotationOnly) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"4", 4.0},      {"-0.5", -0.5},  {".5", 0.5},     {"5.", 5.0}, {"1e-308", 1e-308},
        {"2E3", 2000.0}, {"1e+2", 100.0}, {"4e-400", 0.0}, {"0x4", {}}, {"0x1p3", {}},
        {"+4", {}},      {" 4", {}},      {"4 ", {}},      {"", {}},    {".", {}},
        {"-", {}},       {"1e", {}},      {"inf", {}},     {"nan", {}}, {"1e400", {}},
        {"4,5", {}},     {"1.2.3", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalNumber(c.text), c.value) << c.text;
}

TEST(DecimalNumber, WholeNumbersAreDigitsWithAnOptionalMinus) {
    const struct {
        const char* text;
        std::optional<std::int64_t> value;
    } cases[] = {
        {"0", 0},
        {"-12", -12},
        {"4294967295", 4294967295},
        {"+1", {}},
        {" 1", {}},
        {"1.0", {}},
        {"0x10", {}},
        {"", {}},
        {"-", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalWholeNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace ardelon::cli
