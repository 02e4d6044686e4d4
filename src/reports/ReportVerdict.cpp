#include "reports/ReportVerdict.h"

#include <cstdio>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

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

// "95 % interval 91.87 to 93.29 %"
std::string percentInterval(const SettledInterval& i, double confidence) {
    return confidenceText(confidence) + " interval " + percentIntervalText(i);
}

// "95 % interval 38.7 to 39.6 years"
std::string yearsInterval(const SettledInterval& i, double confidence) {
    return confidenceText(confidence) + " interval " + yearsIntervalText(i);
}

struct VerdictCounts {
    int checked = 0;
    int pass = 0;
    int fail = 0;
};

VerdictCounts countVerdicts(const ResultLists& lists) {
    VerdictCounts n;
    const auto add = [&n](Verdict v) {
        ++n.checked;
        n.pass += v == Verdict::Pass ? 1 : 0;
        n.fail += v == Verdict::Fail ? 1 : 0;
    };
    for (const PercentileRow& r : lists.percentile)
        add(r.settled.verdict);
    for (const TransferFunctionRow& r : lists.transferFunction) {
        if (r.lifeChecked)
            add(r.settledYears.verdict);
    }
    return n;
}

std::string rowsText(int count) {
    return std::to_string(count) + (count == 1 ? " row" : " rows");
}

// "Layer 1 Bottom, Horizontal Strain: years to D = 1.0 38.7 to 39.6 (95 % interval), design life
// 40 years"
std::string lifeSentence(const CStenorDoc& work, const TransferFunctionRow& row,
                         const VerdictRules& rules) {
    return figureRowName(work, row.slot).title + ": " + formatYears(row.yearsToDamage10) +
           " years to D = 1.0 (" + yearsInterval(row.settledYears, rules.confidence) +
           "), design life " + plain(rules.designLifeYears.value_or(0.0)) + " years";
}

}  // namespace

std::string percentIntervalText(const SettledInterval& i) {
    return twoDecimals(i.low) + " to " + twoDecimals(i.high) + " %";
}

std::string yearsIntervalText(const SettledInterval& i) {
    return formatYears(i.low) + " to " + formatYears(i.high) + " years";
}

std::string overallVerdict(const ResultLists& lists) {
    const VerdictCounts n = countVerdicts(lists);
    if (n.checked == 0)
        return "No criterion checked";
    if (n.fail > 0)
        return "Fail";
    return n.pass == n.checked ? "Pass" : "Undecided";
}

std::string overallVerdictStatement(const ResultLists& lists) {
    const VerdictCounts n = countVerdicts(lists);
    const std::string at = " at " + confidenceText(lists.rules.confidence) + " confidence";
    if (n.checked == 0) {
        return "No criterion checked: no percentile row, and no transfer-function row has a "
               "design life to be judged against.";
    }
    if (n.fail > 0) {
        return "Fail: " + std::to_string(n.fail) + " of " + rowsText(n.checked) +
               " checked settled Fail" + at + ".";
    }
    if (n.pass == n.checked && n.checked == 1)
        return "Pass: the only row checked settled Pass" + at + ".";
    if (n.pass == n.checked)
        return "Pass: all " + rowsText(n.checked) + " checked settled Pass" + at + ".";
    return "Undecided: " + std::to_string(n.checked - n.pass) + " of " + rowsText(n.checked) +
           " checked are not settled" + at +
           " and none fails. Run more cycles (until settled) before relying on this design.";
}

double reportTargetValue(const CStenorDoc& work, const PercentileRow& row) {
    if (row.level >= 0)
        return row.targetValue;  // microstrain in every unit system
    const int type = work.criteria[static_cast<std::size_t>(row.slot)].responseType;
    return reportResponseValue(type, work.unitSystem, row.targetValue);
}

std::string verdictSentence(const CStenorDoc& work, const PercentileRow& row, double confidence) {
    const FigureRowName name = figureRowName(work, row.slot);
    std::string line = name.title;
    if (row.level >= 0)
        line += " at the " +
                std::string(kDistributionLevelNames[static_cast<std::size_t>(row.level)]) +
                " percentile";
    line += ": " + plain(row.actualPercentile) + " % of loads within " +
            plain(reportTargetValue(work, row)) + " " + name.units + " (" +
            percentInterval(row.settled, confidence) + "), target above " +
            plain(row.targetPercentile) + " %";
    return line;
}

std::vector<std::string> verdictLines(const CStenorDoc& work, const ResultLists& lists) {
    std::vector<std::string> lines{overallVerdictStatement(lists)};
    for (const PercentileRow& r : lists.percentile) {
        if (r.settled.verdict != Verdict::Pass) {
            lines.push_back(std::string(verdictText(r.settled.verdict)) + ": " +
                            verdictSentence(work, r, lists.rules.confidence));
        }
    }
    for (const TransferFunctionRow& r : lists.transferFunction) {
        if (r.lifeChecked && r.settledYears.verdict != Verdict::Pass) {
            lines.push_back(std::string(verdictText(r.settledYears.verdict)) + ": " +
                            lifeSentence(work, r, lists.rules));
        }
    }
    return lines;
}

}  // namespace ardelon
