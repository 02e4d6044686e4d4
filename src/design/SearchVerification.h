#pragma once
// Verification of a search's winner on fresh random numbers: seed + 1 and four times the cycles
// (or, with until-settled, until every row settles, at most four times the most cycles). Every
// row with a target is judged by its settled verdict at the search's confidence: percentile rows
// against their target percentiles and, with a design life, transfer-function rows' years to
// D = 1.0 against the life. The winner is robust only when every such row is settled Pass.
// Otherwise the rows that are not are named, and thicker candidates are verified in order of
// preference until one is robust (at most a few).

#include <optional>
#include <string>
#include <vector>

#include "design/ThicknessSearch.h"

namespace ardelon {

struct VerifiedRow {
    std::string name;
    bool life = false;    // a transfer-function row judged against the design life
    double target = 0.0;  // target percentile, or the design life in years
    double actual = 0.0;  // actual percentile, or years to D = 1.0
    SettledInterval settled;
    // How far the interval lies from the target: its low end minus the target (percentage
    // points, or years); negative when the interval reaches below the target.
    double margin = 0.0;
};

// How many thicker candidates the verification tries for one that settles every row.
inline constexpr int kMaxCandidatesTried = 4;

struct SearchVerification {
    bool completed = false;  // false: cancelled or failed (message says why)
    std::string message;
    std::uint32_t seed = 0;
    int cycles = 0;  // cycles run on the winner
    double confidence = kDefaultConfidence;
    std::vector<VerifiedRow> rows;
    bool robust = false;
    std::vector<std::string> marginal;  // the rows not settled Pass
    // The next thicker candidate: the most preferred grid candidate at least as thick in every
    // varied layer and thicker in one (none when the winner is the thickest).
    std::optional<DesignCandidate> nextThicker;
    // The first thicker candidate, in order of preference, whose verification settles every row
    // Pass (none when none of the candidates tried does).
    std::optional<DesignCandidate> nextSettled;
    int candidatesTried = 0;
};

// The rows of one verification run of `work` (a candidate's working copy).
std::vector<VerifiedRow> verifiedRows(const ThicknessSearchResult& search,
                                      const AnalysisRunOutcome& outcome,
                                      std::optional<double> designLifeYears);

SearchVerification verifyWinner(const CStenorDoc& project, const ThicknessSearchOptions& options,
                                const ThicknessSearchResult& search,
                                const ResponseModelFactory& models);

}  // namespace ardelon
