#include "project/NumberField.h"

#include <gtest/gtest.h>

namespace ardelon {
namespace {

TEST(IntegerField, AcceptsWholeNumbersWithinRange) {
    auto v = parseIntegerField(" 500000 ", 1, 500000);
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(*v.value, 500000);
    EXPECT_EQ(*parseIntegerField("-7").value, -7);
}

TEST(IntegerField, RefusesTextWithTheFrameworkMessages) {
    for (const char* text : {"12.5", "", "abc", "4294967296"})
        EXPECT_EQ(parseIntegerField(text).message, "Please enter an integer.") << text;
    EXPECT_EQ(parseIntegerField("0", 1, 500000).message,
              "Please enter an integer between 1 and 500000.");
    EXPECT_EQ(parseIntegerField("100000001", 1, 100000000).message,
              "Please enter an integer between 1 and 100000000.");
}

TEST(NumberField, AcceptsDecimalAndExponentText) {
    EXPECT_EQ(*parseNumberField("2.83e-06").value, 2.83e-06);
    EXPECT_EQ(*parseNumberField("+3.5").value, 3.5);
    EXPECT_EQ(*parseNumberField("-110").value, -110.0);
}

TEST(NumberField, RefusesTextAndOutOfRangeValues) {
    for (const char* text : {"1,5", "nan", "inf"})
        EXPECT_EQ(parseNumberField(text).message, "Please enter a number.") << text;
    EXPECT_EQ(parseNumberField("10.5", 0, 10).message, "Please enter a number between 0 and 10.");
    EXPECT_TRUE(parseNumberField("10", 0, 10).ok());
    EXPECT_TRUE(parseNumberField("0", 0, 10).ok());
}

TEST(NumberField, FormatsTheShortestRoundTripText) {
    EXPECT_EQ(formatFieldNumber(522958), "522958");
    EXPECT_EQ(formatFieldNumber(12.5), "12.5");
    EXPECT_EQ(formatFieldNumber(0.1), "0.1");
}

}  // namespace
}  // namespace ardelon
