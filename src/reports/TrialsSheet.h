#pragma once
// The "Trials" sheet of a workbook: trial designs side by side (one column per trial) and, below,
// the paired differences of the later trials against the first.

#include <string>
#include <vector>

#include "project/ProjectFile.h"
#include "reports/ReportWorkbook.h"
#include "trials/TrialTable.h"

namespace ardelon {

inline constexpr const char* kTrialsSheet = "Trials";
// One column of the sheet per trial after the row names: at most 25.
inline constexpr std::size_t kMaxSheetTrials = 25;

ReportSheet trialsSheet(const TrialTable& sideBySide, const std::vector<TrialTable>& differences);

// A workbook of the Trials sheet alone, as `compare --report` writes it.
FileResult writeTrialsWorkbook(const TrialTable& sideBySide,
                               const std::vector<TrialTable>& differences, const std::string& path);

}  // namespace ardelon
