#pragma once
// One analysis of a project as `analyze` runs it, and its results as JSON; shared by `analyze`
// and `batch` so that a batch row prints exactly what `analyze --json` prints.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisRun.h"
#include "sensitivity/Sensitivity.h"

namespace ardelon::cli {

struct ProjectAnalysis {
    CStenorDoc work;  // the Output and Design module's working copy after the run
    AnalysisRunOutcome outcome;
};

// Prepares the project as View Output does, runs the analysis and throws CommandError when it
// is refused (bad input; a raw-data file that cannot be written is a failure) or interrupted.
// `source` names the project in messages.
ProjectAnalysis analyzeProject(const CStenorDoc& project, const AnalysisRunOptions& options,
                               const std::string& source);

// {"seed", "cycles", "conventionalDesign": [...], "percentileResponses": [...]}.
nlohmann::json analysisJson(std::uint32_t seed, int cycles, const CStenorDoc& work,
                            const AnalysisRunOutcome& outcome);

// [{"layer", "location", "responseType", "inputs": [{"input", "rankCorrelation", "share"}, ...]},
//  ...], one entry per evaluated criterion location.
nlohmann::json sensitivityJson(const CStenorDoc& work,
                               const std::vector<CriterionSensitivity>& measures);

// Refuses (bad input) `--pdf` when this program was built without the desktop's Qt libraries.
void refusePdfWithoutQt(const std::string& pdfPath);
// Refuses (bad input) a design life that is not a positive, finite number of years.
void checkDesignLife(const std::optional<double>& lifeYears);

}  // namespace ardelon::cli
