#pragma once
// Verification of a search's winner on fresh random numbers: seed + 1 and four times the cycles.
// For every percentile row, the actual percentile and the lower bound of its 95 % Wilson interval
// against the target; the winner is robust when every lower bound reaches its target.

#include <optional>
#include <string>
#include <vector>

#include "design/ThicknessSearch.h"

namespace ardelon {

struct VerifiedRow {
    std::string name;
    double targetPercentile = 0.0;
    double actualPercentile = 0.0;
    double lowerBound95 = 0.0;
    bool reached = false;  // lowerBound95 >= targetPercentile
};

struct SearchVerification {
    bool completed = false;  // false: cancelled or failed (message says why)
    std::string message;
    std::uint32_t seed = 0;
    int cycles = 0;
    std::vector<VerifiedRow> rows;
    bool robust = false;
    std::vector<std::string> marginal;  // the rows whose lower bound falls short
    // The next thicker candidate: the most preferred grid candidate at least as thick in every
    // varied layer and thicker in one (none when the winner is the thickest).
    std::optional<DesignCandidate> nextThicker;
};

SearchVerification verifyWinner(const CStenorDoc& project, const ThicknessSearchOptions& options,
                                const ThicknessSearchResult& search,
                                const ResponseModelFactory& models);

}  // namespace ardelon
