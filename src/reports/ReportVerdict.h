#pragma once
// The verdict texts of the report documents (the workbook's Run sheet and the PDF report), in one
// place so that both say the same about every percentile row.

#include <string>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/ResultLists.h"

namespace ardelon {

// "Pass" or "Fail" of one percentile row, with the 95 % Wilson interval of its actual percentile
// over `cycles` cycles: "Pass (95 % interval 91.87 to 93.29 %)".
std::string rowVerdictText(const PercentileRow& row, int cycles);

// The overall verdict: "Pass", "Fail" or "No percentile criterion".
std::string overallVerdict(const ResultLists& lists);

// A percentile row in words, with its units: "Layer 1 Bottom, Tensile Strain at the 95th
// percentile: 98.1 % of loads within 70 microstrain, target above 95 %".
std::string verdictSentence(const CStenorDoc& work, const PercentileRow& row);

// The verdict lines: every percentile row passes, or the rows that fail.
std::vector<std::string> verdictLines(const CStenorDoc& work, const ResultLists& lists);

// The target value of a percentile row in the report's units (see reportResponseValue).
double reportTargetValue(const CStenorDoc& work, const PercentileRow& row);

}  // namespace ardelon
