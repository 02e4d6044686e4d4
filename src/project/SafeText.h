#pragma once
// Text that comes from outside (file names, plan cells, option values) as the program shows it
// back or stores it in documents: always valid UTF-8, never a terminal control sequence, never a
// megabyte of echo.

#include <cstddef>
#include <string>
#include <string_view>

namespace ardelon {

// Echoed text keeps at most this many characters, then "...".
inline constexpr std::size_t kEchoedCharacters = 120;

bool isValidUtf8(std::string_view text);

// `text` with every byte that is not part of a well-formed UTF-8 sequence replaced by U+FFFD.
std::string repairedUtf8(std::string_view text);

// As repairedUtf8, and every character XML 1.0 does not allow (controls other than tab, line
// feed and carriage return; U+FFFE, U+FFFF) replaced by U+FFFD, so a workbook stays well formed.
std::string xmlSafeText(std::string_view text);

// As repairedUtf8, with control characters (C0, DEL, C1, line ends included) shown as '?' and
// cut after `maxCharacters` characters with "..." appended.
std::string echoedText(std::string_view text, std::size_t maxCharacters = kEchoedCharacters);

}  // namespace ardelon
