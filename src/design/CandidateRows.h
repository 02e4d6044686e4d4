#pragma once
// The rows a candidate is judged by: their names in the trace, the exceedance count at which a
// percentile row fails, and when a run until settled can stop.

#include <cstddef>
#include <string>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/ResultLists.h"

namespace ardelon {

// "Layer 4 Top Vertical Strain": the criterion of a slot as the trace and messages name it.
std::string criterionName(const CStenorDoc& work, int slot);
// Row `row` of the percentile list fails with this many exceedances or more (cycles + 1: never).
int exceedancesThatFail(const CStenorDoc& work, int cycles, std::size_t row);
// The exceedances a run counted for a percentile row.
int exceedancesOf(const AnalysisResults& r, const PercentileRow& row);
// A candidate's run until settled can end: a row settled Fail, or every row settled Pass.
bool decided(const ResultLists& lists);

// Why a search of `work` could pass any candidate: empty when some row can fail (a percentile
// row, or a transfer-function row with a design life), else the refusal.
std::string nothingCanFail(const CStenorDoc& work, bool designLife);

}  // namespace ardelon
