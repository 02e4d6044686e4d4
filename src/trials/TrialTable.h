#pragma once
// Trials side by side, as the command line, the workbook's "Trials" sheet, the PDF report and
// the desktop's Trials view show them: one column per trial and a row for the cost, the total
// asphalt thickness, the settled verdicts and every result row; and the paired differences of
// two trials row by row.

#include <string>
#include <vector>

#include "trials/DesignComparison.h"
#include "trials/Trial.h"

namespace ardelon {

struct TrialTable {
    std::vector<std::string> headings;           // "Result", then the trials' names
    std::vector<std::vector<std::string>> rows;  // the row's name, then one cell per trial
    // The cheapest trial whose every judged row passes (index into the trials; -1: none).
    int cheapestPassing = -1;
};

// True when every row with a target has a settled Pass (transfer-function rows without a
// design life have none).
bool trialPasses(const Trial& trial);
int cheapestPassingTrial(const std::vector<Trial>& trials);

TrialTable sideBySide(const std::vector<Trial>& trials);

// The paired differences of `second` against `first`, one row each: the row's name, both
// percentiles, the difference first − second, its interval and which is better.
TrialTable differenceTable(const Trial& first, const Trial& second,
                           const std::vector<RowDifference>& differences, double confidence);

// "Layer 1 Bottom, Horizontal Strain" and, for a strain-distribution level, " (95th)".
std::string resultRowName(const CStenorDoc& inputs, int slot, int level);

// 1234567.891 -> "1,234,567.89".
std::string groupedMoney(double value);

}  // namespace ardelon
