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
#include "reliability/SettledVerdict.h"

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
    std::string thickness;         // "8 in.", "20.32 cm" or "semi-infinite"
    double thicknessInches = 0.0;  // 0 for the bottom layer
};

// One percentile row of the verdict: what it checks, how it went, and its settled verdict with
// the interval that decides it.
struct ReportVerdictRow {
    int slot = 0;
    int level = -1;      // 0 to 4 for the levels of a strain distribution
    std::string name;    // "Layer 1 Top, Vertical Deflection" (+ " at the 95th percentile")
    std::string target;  // "15 milli-in at 85 %"
    std::string actual;  // the Actual Percentile as the list prints it
    Verdict settled = Verdict::Undecided;
    std::string verdict;   // "Pass", "Fail", "Undecided"
    std::string interval;  // percentIntervalText
};

// A transfer-function row's life: years to D = 0.1 and 1.0, the interval of the latter, and its
// settled verdict against the design life when one is given.
struct ReportLife {
    std::string name;
    std::string years01;
    std::string years10;
    std::string interval;  // yearsIntervalText
    std::string verdict;   // "Pass", "Fail", "Undecided"; empty without a design life
};

struct DesignReport {
    ReportDetails details;
    std::string projectName;  // the project file's name, or "(not saved)"
    std::string date;         // the run's date
    std::string units;        // "English" or "Metric"
    std::vector<ReportLayer> layers;
    std::string overallVerdict;    // "Pass", "Fail", "Undecided", "No criterion checked"
    std::string overallStatement;  // overallVerdictStatement
    std::string confidence;        // "95 %"
    std::vector<ReportVerdictRow> verdicts;
    std::vector<ReportLife> lives;
    double designLifeYears = 0.0;  // 0: none given (the run's verdict rules hold it)
    std::string cost;              // costText
    std::vector<std::pair<std::string, std::string>> runRecord;
    std::vector<ReportTable> inputs;
    ReportTable transferFunctionList;
    ReportTable percentileList;
    // The trials kept with the project, side by side (no rows: none kept).
    ReportTable trials;
};

// `details` fills the first page's texts; the rows are judged by the run's verdict rules (its
// confidence, and its design life for the transfer-function rows).
DesignReport buildDesignReport(const CStenorDoc& work, const AnalysisResults& results,
                               const RunInfo& run, const ReportDetails& details);

}  // namespace ardelon
