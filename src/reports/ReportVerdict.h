#pragma once
// The verdict texts of the report documents (the workbook's Run sheet and the PDF report), in one
// place so that both say the same about every row. The verdicts are the settled ones of the
// result lists: a row passes or fails only when the whole confidence interval of its actual
// percentile (or of its years to D = 1.0, against a design life) lies on one side of its target.

#include <string>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/ResultLists.h"

namespace ardelon {

// The interval that decides a percentile row's settled verdict: "91.87 to 93.29 %".
std::string percentIntervalText(const SettledInterval& interval);

// The interval of a transfer-function row's years to D = 1.0: "38.7 to 39.6 years",
// "41.2 to Infinite years".
std::string yearsIntervalText(const SettledInterval& interval);

// The overall verdict: "Pass" when every checked row (percentile rows, and transfer-function rows
// against a design life) settled Pass, "Fail" when any settled Fail, otherwise "Undecided";
// "No criterion checked" when no row has a target.
std::string overallVerdict(const ResultLists& lists);

// The overall verdict said plainly, with the confidence and the rows that decide it:
// "Undecided: 2 of 7 checked rows are not settled at 95 % confidence and none fails. Run more
// cycles (until settled) before relying on this design."
std::string overallVerdictStatement(const ResultLists& lists);

// A percentile row in words, with its units and its interval: "Layer 1 Bottom, Tensile Strain at
// the 95th percentile: 98.1 % of loads within 70 microstrain (95 % interval 97.52 to 98.61 %),
// target above 95 %".
std::string verdictSentence(const CStenorDoc& work, const PercentileRow& row, double confidence);

// The verdict lines: the overall statement, then every row that is not settled Pass with its
// verdict.
std::vector<std::string> verdictLines(const CStenorDoc& work, const ResultLists& lists);

// The target value of a percentile row in the report's units (see reportResponseValue).
double reportTargetValue(const CStenorDoc& work, const PercentileRow& row);

}  // namespace ardelon
