#pragma once
// The design report as a PDF file: the summary page, the inputs, the two result lists and the
// charts of the run, drawn with Qt as vector graphics. The desktop's "Export PDF Report..." and
// `ardelon-cli analyze --pdf` both call `writePdfReport`. The interface is free of Qt, so the
// command-line tool needs no Qt headers; without a running Qt application (the command line)
// one is started on the offscreen platform.

#include <string>

#include "figures/FigureData.h"
#include "project/ProjectFile.h"
#include "reports/DesignReport.h"
#include "trials/TrialTable.h"

namespace ardelon::charts {

// Writes `report` and the charts of `figures` to `path`, exactly as named. The file is written
// under a temporary name beside it and renamed when complete, so a failure leaves no partial
// report and keeps any previous file; the message names the path and the reason.
FileResult writePdfReport(const DesignReport& report, const RunFigures& figures, int unitSystem,
                          const std::string& path);

// One criterion's response distribution in each compared design.
struct DistributionOverlay {
    std::vector<std::string> designs;
    std::vector<ResponseDistribution> figures;  // one per design, the first's limits marked
};

// Writes the comparison of trial designs: the side-by-side table, the paired differences and
// the overlaid distributions, under `heading` ("Trial Designs"); `footer` runs along the foot of
// every page. Written as safely as the design report.
FileResult writeTrialsPdf(const std::string& heading, const TrialTable& sideBySide,
                          const std::vector<TrialTable>& differences,
                          const std::vector<DistributionOverlay>& overlays, int unitSystem,
                          const std::string& footer, const std::string& path);

}  // namespace ardelon::charts
