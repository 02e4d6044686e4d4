#pragma once
// What the workbook records about the run it reports, beyond the inputs and the counts, and how
// the Output and Design module asks its host to write that workbook.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"
#include "reliability/AnalysisResults.h"
#include "reliability/ResponseModel.h"
#include "reliability/ResultLists.h"

namespace ardelon {

inline constexpr const char* kReportFileFilter =
    "Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||";
inline constexpr const char* kReportInitialName = "*.xlsx";

struct RunInfo {
    std::string projectFileName;  // empty: a project not yet saved
    std::time_t startTime = 0;    // when the run started
    std::uint32_t seed = 0;
    int threads = 0;  // worker threads used
    double elapsedSeconds = 0.0;
    // The response model of the run, for the strains-with-depth charts; none: no such charts.
    ResponseModelFactory models;
    // The confidence and design life the run's rows were judged by.
    VerdictRules verdicts;
};

inline constexpr const char* kPdfReportFileFilter =
    "PDF Files (*.pdf) |*.pdf|All Files (*.*) |*.*||";
inline constexpr const char* kPdfReportInitialName = "*.pdf";

// Writes the PDF design report of the working copy (its report texts in `work.reportDetails`),
// its last run's `results` and `run` to `path`; a failure comes back as the message to show.
using PdfReportExporter =
    std::function<FileResult(const CStenorDoc& work, const AnalysisResults& results,
                             const std::string& path, const RunInfo& run)>;

// Writes the formatted workbook of the working copy `work`, its last run's `results` and `run`
// to `path`; a failure comes back as the message to show.
using ReportExporter =
    std::function<FileResult(const CStenorDoc& work, const AnalysisResults& results,
                             const std::string& path, const RunInfo& run)>;

}  // namespace ardelon
