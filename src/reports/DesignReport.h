#pragma once
// The design report as plain data: every text and number the PDF report shows, computed here
// from the module's working copy, the last run and its record, so that the page drawing holds
// no engineering rule and the content can be tested without a drawing library.

#include <string>
#include <utility>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/RunInfo.h"

namespace ardelon {

// A titled table of texts.
struct ReportTable {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// A layer of the cross-section, top down.
struct ReportLayer {
    int layer = 1;
    std::string material;
    std::string thickness;          // "8 in.", "20.32 cm" or "semi-infinite"
    double thicknessInches = 0.0;   // 0 for the bottom layer
};

// One percentile row of the verdict: what it checks, how it went, and the verdict in words.
struct ReportVerdictRow {
    std::string name;    // "Layer 1 Top, Vertical Deflection" (+ " at the 95th percentile")
    std::string target;  // "15 milli-in at 85 %"
    std::string actual;  // the Actual Percentile as the list prints it
    std::string verdict;  // rowVerdictText
    bool pass = false;
};

// A transfer-function row's life: years to D = 0.1 and 1.0, and against the design life.
struct ReportLife {
    std::string name;
    std::string years01;
    std::string years10;
    std::string againstDesignLife;  // "meets 40 years", "short of 40 years"; empty without one
};

struct DesignReport {
    ReportDetails details;
    std::string projectName;  // the project file's name, or "(not saved)"
    std::string date;         // the run's date
    std::string units;        // "English" or "Metric"
    std::vector<ReportLayer> layers;
    std::string overallVerdict;
    std::vector<ReportVerdictRow> verdicts;
    std::vector<ReportLife> lives;
    double designLifeYears = 0.0;  // 0: none given
    std::string cost;              // costText
    std::vector<std::pair<std::string, std::string>> runRecord;
    std::vector<ReportTable> inputs;
    ReportTable transferFunctionList;
    ReportTable percentileList;
    // The trials kept with the project, side by side (no rows: none kept).
    ReportTable trials;
};

// `details` fills the first page's texts; `designLifeYears` > 0 checks every transfer-function
// row's years to D = 1.0 against it.
DesignReport buildDesignReport(const CStenorDoc& work, const AnalysisResults& results,
                               const RunInfo& run, const ReportDetails& details,
                               double designLifeYears = 0.0);

}  // namespace ardelon
