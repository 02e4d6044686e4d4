// Text from outside as it is echoed or stored: valid UTF-8, no control characters, cut short.
#include "project/SafeText.h"

#include <gtest/gtest.h>

namespace ardelon {
namespace {

TEST(SafeText, RepairsMasksAndCuts) {
    const struct {
        std::string text;
        bool valid;
        std::string repaired, xml, echoed;
    } cases[] = {
        {"plain", true, "plain", "plain", "plain"},
        {"caf\xc3\xa9", true, "caf\xc3\xa9", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"caf\xe9", false, "caf\xef\xbf\xbd", "caf\xef\xbf\xbd", "caf\xef\xbf\xbd"},
        {"\x1b[31mred\n", true, "\x1b[31mred\n", "\xef\xbf\xbd[31mred\n", "?[31mred?"},
        {"\xc2\x9b"
         "1m\x7f",
         true,
         "\xc2\x9b"
         "1m\x7f",
         "\xc2\x9b"
         "1m\x7f",
         "?1m?"},
        {"\xc0\xaf", false, "\xef\xbf\xbd\xef\xbf\xbd", "\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd"},  // overlong '/'
        {"\xed\xa0\x80", false, "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},                                // surrogate
        {"\xef\xbf\xbe", true, "\xef\xbf\xbe", "\xef\xbf\xbd", "\xef\xbf\xbe"},  // U+FFFE
        {"\xf0\x9f\x98", false, "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // cut short
        {"tab\there", true, "tab\there", "tab\there", "tab?here"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidUtf8(c.text), c.valid) << c.text;
        EXPECT_EQ(repairedUtf8(c.text), c.repaired) << c.text;
        EXPECT_EQ(xmlSafeText(c.text), c.xml) << c.text;
        EXPECT_EQ(echoedText(c.text), c.echoed) << c.text;
    }
    EXPECT_EQ(echoedText(std::string(1000000, 'x')), std::string(kEchoedCharacters, 'x') + "...");
    EXPECT_EQ(echoedText("\xc3\xa9\xc3\xa9\xc3\xa9", 2), "\xc3\xa9\xc3\xa9...");
}

}  // namespace
}  // namespace ardelon
