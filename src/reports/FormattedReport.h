#pragma once
// The formatted spreadsheet report of a design: four sheets, "Cover", "Performance Summary",
// "Structural Inputs" and "Traffic", holding the inputs of the Output and Design module's
// working copy and the results of its last Monte Carlo run. The desktop's export button and the
// command-line tool both call `exportFormattedReport`, so they produce the same workbook.

#include <optional>
#include <string>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"
#include "reliability/AnalysisResults.h"
#include "reliability/RunInfo.h"
#include "reports/ReportWorkbook.h"

namespace ardelon {

// Writes the report of `work` (the module's working copy: thicknesses of layers 1 to 4 in
// `work.thickness`, in the units `work.valuesInEnglish` states) and `results` (the counts and
// damage of the last run; `results.cycles` is N) to `path`, used exactly as given: a name
// without extension gets none. The file is written under a temporary name in the same folder
// and renamed when complete, so a failure leaves no partial workbook under the chosen name and
// keeps any previous file; the message names the path and the reason.
FileResult exportFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                 const std::string& path);

// The same workbook followed by a "Charts" sheet (response distributions against their limits
// and damage over time for every criterion row, and the load spectra, as native charts) and a
// "Run" sheet (the run's record, the overall verdict, the cost totals and the data tables the
// charts draw). The charts need the run's cycle records.
FileResult exportFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                 const std::string& path, const RunInfo& run);
ReportWorkbook buildFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                    const std::string& reportPath, const RunInfo& run);
// The two sheets added after the four of the report.
void addRunSheets(ReportWorkbook& book, const CStenorDoc& work, const AnalysisResults& results,
                  const RunInfo& run);
// The program's version, as the Run sheet records it.
const char* programVersion();

// The workbook model of the report; `reportPath` is the text of cell A4 of the Cover.
ReportWorkbook buildFormattedReport(const CStenorDoc& work, const AnalysisResults& results,
                                    const std::string& reportPath);

// Material name of a layer (1 to 5) in the report, or empty when the index is outside the
// layer's list: layer 1 "AC" for 0 and "Other" for any other index, layers 2 to 4 the ten
// materials, layer 5 "Gran Base", "Soil", "Rock", "Other".
std::string reportMaterialName(int layer, int materialIndex);

}  // namespace ardelon
