#include "output/RunNotes.h"

#include <cstdio>

namespace ardelon {

std::string elapsedText(long long seconds) {
    if (seconds < 0)
        seconds = 0;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

std::string runProgressText(int done, int total, long long elapsedSeconds) {
    return std::to_string(done) + " of " + std::to_string(total) + " cycles done, " +
           elapsedText(elapsedSeconds) + " elapsed";
}

std::string completedRunText(int cycles, std::uint32_t seed, long long elapsedSeconds) {
    return "Results of " + std::to_string(cycles) + " cycles with seed " + std::to_string(seed) +
           " (run time " + elapsedText(elapsedSeconds) + ")";
}

}  // namespace ardelon
