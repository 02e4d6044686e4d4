// The "Charts" and "Run" sheets that follow the four sheets of the report: native charts of the
// response distributions, the damage over time and the load spectra, and the record of the run
// with the data tables those charts draw.

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "figures/FigureData.h"
#include "project/Rounding.h"
#include "output/LaneCost.h"
#include "reliability/ResultLists.h"
#include "reports/FormattedReport.h"

#ifndef ARDELON_VERSION
#define ARDELON_VERSION "unknown"
#endif

namespace ardelon {
namespace {

constexpr const char* kChartsSheet = "Charts";
constexpr const char* kRunSheet = "Run";
constexpr const char* kFooter = "&D @ &T    Page &P of &N Pages";
constexpr int kChartRowStep = 17;  // rows between chart tops on the Charts sheet
constexpr int kChartRowsPerPage = 2;
constexpr char kSecondChartColumn = 'I';

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

const char* kLevelTexts[kDistributionLevels] = {"95th", "85th", "75th", "65th", "55th"};

std::string dateText(std::time_t t) {
    char buffer[64] = "";
    std::tm utc{};
    if (t != 0 && gmtime_r(&t, &utc))
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M UTC", &utc);
    return buffer;
}

// A table of (x, y) points at columns `xColumn`, `xColumn` + 1 from `firstRow`; the series
// that draws it.
ChartSeries putPoints(ReportSheet& sheet, char xColumn, int firstRow, const std::string& name,
                      const std::vector<ChartPoint>& points, bool marksOnly) {
    int row = firstRow;
    for (const ChartPoint& p : points) {
        sheet.number(xColumn, row, p.x, ReportStyle::Right);
        sheet.number(static_cast<char>(xColumn + 1), row, p.y, ReportStyle::Right);
        ++row;
    }
    return ChartSeries{name,     kRunSheet, xColumn,  static_cast<char>(xColumn + 1),
                       firstRow, row - 1,   marksOnly};
}

void putHeadings(ReportSheet& sheet, int row,
                 std::initializer_list<std::pair<char, std::string>> h) {
    for (const auto& [column, text] : h)
        sheet.text(column, row, text, ReportStyle::Center);
}

// Five significant digits without trailing zeros or point: 52.3, 300, 0.0125.
std::string plain(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5g", value);
    return buffer;
}

// The verdict lines: every percentile row passes, or the rows that fail.
std::vector<std::string> verdictLines(const CStenorDoc& work, const ResultLists& lists) {
    std::vector<std::string> failing;
    for (const PercentileRow& r : lists.percentile) {
        if (r.pass)
            continue;
        std::string line = figureRowName(work, r.slot).title;
        if (r.level >= 0)
            line += " at the " + std::string(kLevelTexts[at(r.level)]) + " percentile";
        line += ": " + plain(r.actualPercentile) + " % of loads within " + plain(r.targetValue) +
                ", target above " + plain(r.targetPercentile) + " %";
        failing.push_back(std::move(line));
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

}  // namespace

const char* programVersion() {
    return ARDELON_VERSION;
}

void addRunSheets(ReportWorkbook& book, const CStenorDoc& work, const AnalysisResults& results,
                  const std::string& reportPath, const RunInfo& run) {
    (void)reportPath;
    ReportSheet charts;
    charts.name = kChartsSheet;
    charts.header = "&F";
    charts.footer = kFooter;
    charts.landscape = true;
    charts.fitToPageWidth = true;
    charts.text('A', 1, "Charts", ReportStyle::Title);

    ReportSheet sheet;
    sheet.name = kRunSheet;
    sheet.header = "&F";
    sheet.footer = kFooter;
    sheet.width('A', 'A', 16);
    sheet.width('B', 'K', 13);
    sheet.text('A', 1, "Run", ReportStyle::Title);
    sheet.text('A', 3, "Run Record", ReportStyle::Heading);
    const bool english = work.unitSystem != Metric;
    const std::string projectName =
        run.projectFileName.empty()
            ? std::string("(not saved)")
            : std::filesystem::path(run.projectFileName).filename().string();
    int row = 4;
    const auto record = [&](const char* label, const CellValue& value) {
        sheet.text('A', row, label, ReportStyle::Left);
        if (const double* v = std::get_if<double>(&value))
            sheet.number('C', row, *v, ReportStyle::Left);
        else
            sheet.text('C', row, std::get<std::string>(value), ReportStyle::Left);
        ++row;
    };
    record("Project File", projectName);
    record("Date", dateText(run.startTime));
    record("Units", std::string(english ? "English" : "Metric"));
    record("Monte Carlo Cycles", static_cast<double>(results.cycles));
    record("Seed", static_cast<double>(run.seed));
    record("Worker Threads", static_cast<double>(run.threads));
    record("Elapsed Time, s", std::round(run.elapsedSeconds * 100.0) / 100.0);
    record("Program Version", std::string("Ardelon ") + programVersion());

    const ResultLists lists = buildResultLists(work, results);
    row += 1;
    sheet.text('A', row++, "Overall Verdict", ReportStyle::Heading);
    for (const std::string& line : verdictLines(work, lists))
        sheet.text('A', row++, line, ReportStyle::Left);

    row += 1;
    sheet.text('A', row++, "Cost Analysis", ReportStyle::Heading);
    // Priced at the analysed thicknesses, as the Cost Analysis dialog prices them.
    const bool englishValues = work.valuesInEnglish != 0;
    const std::string per = englishValues ? ", $/lane-mile" : ", $/lane-km";
    const int layers = work.layerCountIndex + 2;
    double total = 0.0;
    for (int layer = 1; layer < layers; ++layer) {
        const auto i = at(layer - 1);
        const double cost = costPerLane(work.thickness[i], work.laneWidth, work.density[i],
                                        work.costPerTon[i], englishValues);
        total += cost;
        record(("Layer " + std::to_string(layer) + " Cost" + per).c_str(),
               roundHalfUpTwoDecimals(cost));
    }
    record(("Total Cost" + per).c_str(), roundHalfUpTwoDecimals(total));

    // The printout holds the record, the verdict and the costs; the data tables stay on screen.
    sheet.printLastRow = row;
    sheet.printLastColumn = 'G';
    sheet.fitToPageWidth = true;
    row += 1;
    sheet.text('A', row++, "Chart Data", ReportStyle::Heading);
    int chartRow = 3;
    const auto distributions = responseDistributions(work, results);
    const auto damage = damageOverTime(work, results);
    for (const ResponseDistribution& d : distributions) {
        row += 1;
        sheet.text('A', row++, "Response distribution: " + d.name.title, ReportStyle::Heading);
        const std::string sense = d.largerExceeds ? "% at or below" : "% at or above";
        putHeadings(sheet, row++,
                    {{'A', d.name.units},
                     {'B', sense},
                     {'D', "Limit"},
                     {'E', "%"},
                     {'G', "Target"},
                     {'H', "%"},
                     {'J', "Mark"},
                     {'K', "%"}});
        ReportChart chart;
        chart.title = d.name.title;
        chart.xTitle = d.name.criterion + ", " + d.name.units;
        chart.yTitle = sense + " of loads";
        chart.yMin = 0.0;
        chart.yMax = 100.0;
        chart.series.push_back(putPoints(sheet, 'A', row, "Distribution", d.curve, false));
        int rows = static_cast<int>(d.curve.size());
        std::vector<ChartPoint> marks;
        const bool levels = d.limits.size() > 1;
        if (!levels) {
            const LimitMark& m = d.limits.front();
            chart.series.push_back(
                putPoints(sheet, 'D', row, "Threshold", {{m.value, 0.0}, {m.value, 100.0}}, false));
            if (!std::isnan(m.targetPercentile) && !d.curve.empty()) {
                chart.series.push_back(putPoints(sheet, 'G', row, "Target percentile",
                                                 {{d.curve.front().x, m.targetPercentile},
                                                  {d.curve.back().x, m.targetPercentile}},
                                                 false));
            }
            marks.push_back({m.value, m.actualPercentile});
        } else {
            for (const LimitMark& m : d.limits)
                marks.push_back({m.value, m.targetPercentile});
        }
        chart.series.push_back(putPoints(
            sheet, 'J', row, levels ? "Allowable strains" : "Actual percentile", marks, true));
        rows = std::max(rows, static_cast<int>(marks.size()));
        row += std::max(rows, 2);
        chart.row = chartRow;
        chart.column = 'A';

        // The damage of the same row beside it.
        for (const DamageOverTime& f : damage) {
            if (f.name.slot != d.name.slot)
                continue;
            row += 1;
            sheet.text('A', row++, "Damage over time: " + f.name.title, ReportStyle::Heading);
            if (f.curve.empty()) {
                sheet.text('A', row++, "No damage: the threshold is never exceeded.",
                           ReportStyle::Left);
                continue;
            }
            putHeadings(sheet, row++,
                        {{'A', "Years"},
                         {'B', "Damage"},
                         {'D', "Years"},
                         {'E', "D"},
                         {'G', "Years"},
                         {'H', "D"}});
            ReportChart damageChart;
            damageChart.title = f.name.title + ": damage";
            damageChart.xTitle = "Years";
            damageChart.yTitle = "Damage";
            damageChart.logY = true;
            const double first = f.curve.front().x, last = f.curve.back().x;
            damageChart.series.push_back(putPoints(sheet, 'A', row, "Damage", f.curve, false));
            damageChart.series.push_back(
                putPoints(sheet, 'D', row, "D = 0.1", {{first, 0.1}, {last, 0.1}}, false));
            damageChart.series.push_back(
                putPoints(sheet, 'G', row, "D = 1.0", {{first, 1.0}, {last, 1.0}}, false));
            row += static_cast<int>(f.curve.size());
            damageChart.row = chartRow;
            damageChart.column = kSecondChartColumn;
            charts.charts.push_back(std::move(damageChart));
        }
        charts.charts.push_back(std::move(chart));
        chartRow += kChartRowStep;
        if (charts.charts.size() > 0 && (chartRow - 3) % (kChartRowStep * kChartRowsPerPage) == 0)
            charts.pageBreaksBeforeRows.push_back(chartRow - 1);
    }

    const LoadSpectraFigure spectra = loadSpectraFigure(work);
    row += 1;
    sheet.text('A', row++, "Load spectra, % of axle groups", ReportStyle::Heading);
    sheet.text('A', row, english ? "Axle Weight, kips" : "Axle Weight, kN", ReportStyle::Center);
    for (int c = 0; c < kConfigurationCount; ++c) {
        sheet.text(static_cast<char>('B' + c), row, std::string(kConfigurationNames[at(c)]),
                   ReportStyle::Center);
    }
    ++row;
    ReportChart spectraChart;
    spectraChart.kind = ChartKind::Columns;
    spectraChart.title = "Load Spectra";
    spectraChart.xTitle = english ? "Axle weight, kips" : "Axle weight, kN";
    spectraChart.yTitle = "% of axle groups";
    for (int k = 0; k < kBinCount; ++k) {
        sheet.text('A', row + k, spectra.binLabels[at(k)], ReportStyle::Center);
        for (int c = 0; c < kConfigurationCount; ++c)
            sheet.number(static_cast<char>('B' + c), row + k, spectra.percent[at(c)][at(k)],
                         ReportStyle::Center);
    }
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (spectra.configurationUsed[at(c)]) {
            spectraChart.series.push_back(ChartSeries{std::string(kConfigurationNames[at(c)]),
                                                      kRunSheet, 'A', static_cast<char>('B' + c),
                                                      row, row + kBinCount - 1, false});
        }
    }
    spectraChart.row = chartRow;
    spectraChart.widthScale = 2.0;  // 56 weight classes need the page's width
    charts.charts.push_back(std::move(spectraChart));

    book.sheets.push_back(std::move(charts));
    book.sheets.push_back(std::move(sheet));
}

}  // namespace ardelon
