#include "reports/ReportVerdict.h"

#include <cstdio>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

const char* const kLevelTexts[kDistributionLevels] = {"95th", "85th", "75th", "65th", "55th"};

// Five significant digits without trailing zeros or point: 52.3, 300, 0.0125.
std::string plain(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5g", value);
    return buffer;
}

std::string twoDecimals(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

}  // namespace

std::string rowVerdictText(const PercentileRow& row, int cycles) {
    const PercentInterval i = wilsonInterval95(cycles - row.exceedCount, cycles);
    return std::string(row.pass ? "Pass" : "Fail") + " (95 % interval " + twoDecimals(i.low) +
           " to " + twoDecimals(i.high) + " %)";
}

std::string overallVerdict(const ResultLists& lists) {
    if (lists.percentile.empty())
        return "No percentile criterion";
    for (const PercentileRow& r : lists.percentile) {
        if (!r.pass)
            return "Fail";
    }
    return "Pass";
}

double reportTargetValue(const CStenorDoc& work, const PercentileRow& row) {
    if (row.level >= 0)
        return row.targetValue;  // microstrain in every unit system
    const int type = work.criteria[static_cast<std::size_t>(row.slot)].responseType;
    return reportResponseValue(type, work.unitSystem, row.targetValue);
}

std::string verdictSentence(const CStenorDoc& work, const PercentileRow& row) {
    const FigureRowName name = figureRowName(work, row.slot);
    std::string line = name.title;
    if (row.level >= 0)
        line += " at the " + std::string(kLevelTexts[row.level]) + " percentile";
    line += ": " + plain(row.actualPercentile) + " % of loads within " +
            plain(reportTargetValue(work, row)) + " " + name.units + ", target above " +
            plain(row.targetPercentile) + " %";
    return line;
}

std::vector<std::string> verdictLines(const CStenorDoc& work, const ResultLists& lists) {
    std::vector<std::string> failing;
    for (const PercentileRow& r : lists.percentile) {
        if (!r.pass)
            failing.push_back(verdictSentence(work, r));
    }
    if (lists.percentile.empty())
        return {"No percentile criterion was evaluated."};
    if (failing.empty())
        return {"Pass: every percentile criterion passes."};
    std::vector<std::string> lines{"Fail: " + std::to_string(failing.size()) + " of " +
                                   std::to_string(lists.percentile.size()) +
                                   " percentile rows fail:"};
    lines.insert(lines.end(), failing.begin(), failing.end());
    return lines;
}

}  // namespace ardelon
