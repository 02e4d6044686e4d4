#pragma once
// The result lists as ardelon-cli prints them: aligned tables, or JSON.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisRun.h"

namespace ardelon::cli {

// Both lists as titled tables, columns padded to their widest text.
std::string resultListTables(const ResultLists& lists);

// Seed, cycles and both lists with every row's numbers, texts and 95 % intervals.
nlohmann::json resultsJson(std::uint32_t seed, int cycles, const CStenorDoc& work,
                           const AnalysisRunOutcome& outcome);

}  // namespace ardelon::cli
