#pragma once
// What the report documents say about a design beyond the result lists: the cost of the
// analysed thicknesses and the record of the run, computed once for the workbook and the PDF.

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/RunInfo.h"

namespace ardelon {

// The Cost Analysis totals at the analysed thicknesses, per lane-mile (English values) or per
// lane-km (metric values). A project without any cost per ton is not priced.
struct ReportCost {
    bool priced = false;
    std::string unit;               // "$/lane-mile" or "$/lane-km"
    std::vector<double> layerCost;  // layers above the bottom, rounded to cents
    double total = 0.0;
};
ReportCost reportCost(const CStenorDoc& work);
// "$ 1,234,567.89 per lane-mile", or "not priced".
std::string costText(const ReportCost& cost);

// The run record as (label, text) lines: project file with its folder, date, units, cycles,
// seed, worker threads, elapsed time and program version.
std::vector<std::pair<std::string, std::string>> runRecord(const CStenorDoc& work,
                                                           const AnalysisResults& results,
                                                           const RunInfo& run);
// "2026-12-07 00:14 UTC", or empty for an unknown time.
std::string reportDate(std::time_t t);
// The project's file with its folder, or "(not saved)".
std::string projectPathText(const RunInfo& run);

}  // namespace ardelon
