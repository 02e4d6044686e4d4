#pragma once
// What the Output and Design module says about a run: its progress while it goes, and how it
// ended (the seed of completed results, or that a cancelled run kept the previous results).

#include <cstdint>
#include <string>
#include <string_view>

namespace ardelon {

inline constexpr std::string_view kRunCancelledKeptText =
    "Run cancelled. The previous results were kept.";
inline constexpr std::string_view kRunCancelledNoResultsText =
    "Run cancelled. There are no results yet.";

// "0:07", "12:34", "1:02:03".
std::string elapsedText(long long seconds);
// "1200 of 5000 cycles done, 0:07 elapsed"
std::string runProgressText(int done, int total, long long elapsedSeconds);
// "Results of 5000 cycles with seed 1733491200 (run time 0:42)"
std::string completedRunText(int cycles, std::uint32_t seed, long long elapsedSeconds);

}  // namespace ardelon
