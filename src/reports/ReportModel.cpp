#include "reports/ReportModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "output/CCostAnalysisDlg.h"
#include "output/LaneCost.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "reports/FormattedReport.h"

namespace ardelon {

ReportCost reportCost(const CStenorDoc& work) {
    // Priced at the analysed thicknesses, as the Cost Analysis dialog prices them.
    ReportCost cost;
    cost.unit = heldInEnglish(work) ? "$/lane-mile" : "$/lane-km";
    const LaneCost lane = laneCost(work);
    const auto layers = static_cast<std::ptrdiff_t>(std::clamp(work.layerCountIndex + 1, 0, 4));
    cost.layerCost.assign(lane.layerCost.begin(), lane.layerCost.begin() + layers);
    cost.total = lane.total;
    cost.priced = lane.priced;
    return cost;
}

std::string costText(const ReportCost& cost) {
    if (!cost.priced)
        return "not priced";
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.2f", cost.total);
    // Thousands separated by commas: 1234567.89 -> 1,234,567.89.
    std::string s = digits;
    const std::size_t point = s.find('.');
    const std::size_t firstDigit = s[0] == '-' ? 1 : 0;
    for (std::size_t i = point; i > firstDigit + 3; i -= 3)
        s.insert(i - 3, ",");
    return "$ " + s + (cost.unit == "$/lane-mile" ? " per lane-mile" : " per lane-km");
}

std::string reportDate(std::time_t t) {
    char buffer[64] = "";
    std::tm utc{};
    if (t != 0 && gmtime_r(&t, &utc))
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M UTC", &utc);
    return buffer;
}

std::string projectPathText(const RunInfo& run) {
    if (run.projectFileName.empty())
        return "(not saved)";
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(run.projectFileName, ec);
    return ec ? run.projectFileName : absolute.lexically_normal().string();
}

std::vector<std::pair<std::string, std::string>> runRecord(const CStenorDoc& work,
                                                           const AnalysisResults& results,
                                                           const RunInfo& run) {
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.2f", std::round(run.elapsedSeconds * 100.0) / 100.0);
    return {{"Project File", projectPathText(run)},
            {"Date", reportDate(run.startTime)},
            {"Units", shownInEnglish(work) ? "English" : "Metric"},
            {"Monte Carlo Cycles", std::to_string(results.cycles)},
            {"Seed", std::to_string(run.seed)},
            {"Worker Threads", std::to_string(run.threads)},
            {"Elapsed Time, s", elapsed},
            {"Program Version", std::string("Ardelon ") + programVersion()}};
}

}  // namespace ardelon
