// What the engineer types: numbers read from an edit, values rounded as typed, file names.
#include <gtest/gtest.h>

#include <utility>

#include "project/FileExtension.h"
#include "project/NumberField.h"
#include "project/Rounding.h"

namespace ardelon {
namespace {

// Half up on the magnitude, decided on the digits as typed.
TEST(RoundHalfUp, WholeAndTwoDecimalValues) {
    const std::pair<double, double> whole[] = {
        {12.5, 13},   {12.49, 12}, {522957.5, 522958}, {0.0, 0},
        {99.96, 100}, {7.0, 7},    {-12.5, -13},       {5.5e15, 5.5e15},
    };
    for (const auto& [value, rounded] : whole)
        EXPECT_EQ(roundHalfUpWhole(value), rounded) << value;
    // 12.345 is stored a hair below 12.345; the digits read 12.345, so it rounds up.
    const std::pair<double, double> twoDecimals[] = {
        {12.346, 12.35},  {12.345, 12.35}, {1.005, 1.01}, {12.344999, 12.34},
        {999.01, 999.01}, {9.995, 10.0},   {25.4, 25.4},  {0.004, 0.0},
        {-0.125, -0.13},  {2.83e-06, 0.0}, {0.005, 0.01},
    };
    for (const auto& [value, rounded] : twoDecimals)
        EXPECT_EQ(roundHalfUpTwoDecimals(value), rounded) << value;
}

TEST(IntegerField, AcceptsWholeNumbersWithinRangeAndRefusesTextWithTheFrameworkMessages) {
    EXPECT_EQ(parseIntegerField(" 500000 ", 1, 500000).value, 500000);
    EXPECT_EQ(parseIntegerField("-7").value, -7);
    for (const char* text : {"12.5", "", "abc", "4294967296"})
        EXPECT_EQ(parseIntegerField(text).message, "Please enter an integer.") << text;
    EXPECT_EQ(parseIntegerField("0", 1, 500000).message,
              "Please enter an integer between 1 and 500000.");
    EXPECT_EQ(parseIntegerField("100000001", 1, 100000000).message,
              "Please enter an integer between 1 and 100000000.");
}

TEST(NumberField, AcceptsDecimalAndExponentTextAndRefusesTextAndOutOfRangeValues) {
    for (auto [text, value] : {std::pair{"2.83e-06", 2.83e-06}, {"+3.5", 3.5}, {"-110", -110.0}})
        EXPECT_EQ(parseNumberField(text).value, value) << text;
    for (const char* text : {"1,5", "nan", "inf"})
        EXPECT_EQ(parseNumberField(text).message, "Please enter a number.") << text;
    EXPECT_EQ(parseNumberField("10.5", 0, 10).message, "Please enter a number between 0 and 10.");
    EXPECT_TRUE(parseNumberField("10", 0, 10).ok());
    EXPECT_TRUE(parseNumberField("0", 0, 10).ok());
}

TEST(NumberField, FormatsTheShortestRoundTripText) {
    for (auto [value, text] : {std::pair{522958.0, "522958"}, {12.5, "12.5"}, {0.1, "0.1"}})
        EXPECT_EQ(formatFieldNumber(value), text);
}

TEST(FileExtension, ChooserFilterGivesTheExtensionOfItsFirstEntry) {
    const std::pair<const char*, const char*> filters[] = {
        {"Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||", ".ad"},
        {"Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||", ".xlsx"},
        {"Load Spectra Files (*.lsf);;All Files (*.*)", ".lsf"},
        {"Ardelon Files (*.ard)", ".ard"},
        {"All Files (*.*)", ""},
        {"No pattern", ""},
    };
    for (const auto& [filter, extension] : filters)
        EXPECT_EQ(chooserExtension(filter), extension) << filter;
}

TEST(FileExtension, NameTypedWithoutOneGetsIt) {
    const std::tuple<const char*, const char*, const char*> names[] = {
        {"/tmp/report1", ".xlsx", "/tmp/report1.xlsx"},
        {"/tmp/report1.xlsx", ".xlsx", "/tmp/report1.xlsx"},
        {"/tmp/report1.csv", ".xlsx", "/tmp/report1.csv"},  // the engineer's own extension
        {"/tmp/v1.2/report1", ".xlsx", "/tmp/v1.2/report1.xlsx"},
        {"/tmp/report1", "", "/tmp/report1"},
        {"", ".xlsx", ""},
    };
    for (const auto& [path, extension, expected] : names)
        EXPECT_EQ(withDefaultExtension(path, extension), expected) << path;
}

}  // namespace
}  // namespace ardelon
