#pragma once
// The result lists as ardelon-cli prints them: aligned tables (JSON: cli/ProjectAnalysis.h).

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisRun.h"

namespace ardelon::cli {

// A titled table, columns padded to their widest text, two spaces apart.
std::string alignedTable(std::string_view title, const std::vector<std::string>& headings,
                         const std::vector<std::vector<std::string>>& rows);

// Both lists as titled tables, columns padded to their widest text.
std::string resultListTables(const ResultLists& lists);

// "Settled verdicts at 95. % confidence: 4 Pass, 0 Fail, 1 Undecided" and a line end.
std::string settledSummary(const ResultLists& lists);

}  // namespace ardelon::cli
