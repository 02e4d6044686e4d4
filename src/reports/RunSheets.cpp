// The "Charts" and "Run" sheets that follow the four sheets of the report: native charts of the
// response distributions, the damage over time, the strains with depth, what governs each
// criterion and the load spectra, and the record of the run with the data tables those charts
// draw.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <utility>

#include "figures/FigureData.h"
#include "output/LaneCost.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "reliability/ResultLists.h"
#include "reports/FormattedReport.h"
#include "reports/ReportModel.h"
#include "reports/ReportVerdict.h"

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
// The colours the desktop draws with: limits and D = 1.0 red, targets and D = 0.1 green.
constexpr unsigned kCurveColour = 0x1F5FA8;
constexpr unsigned kLimitColour = 0xC03030;
constexpr unsigned kTargetColour = 0x3A8A3A;
constexpr unsigned kConfigurationColours[kConfigurationCount] = {0x1F5FA8, 0xC03030, 0x3A8A3A,
                                                                 0xE09020};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A table of (x, y) points at columns `xColumn`, `xColumn` + 1 from `firstRow`; the series
// that draws it.
ChartSeries putPoints(ReportSheet& sheet, char xColumn, int firstRow, const std::string& name,
                      const std::vector<ChartPoint>& points, bool marksOnly, unsigned colour = 0) {
    int row = firstRow;
    for (const ChartPoint& p : points) {
        sheet.number(xColumn, row, p.x, ReportStyle::Right);
        sheet.number(static_cast<char>(xColumn + 1), row, p.y, ReportStyle::Right);
        ++row;
    }
    return ChartSeries{name,     kRunSheet, xColumn,   static_cast<char>(xColumn + 1),
                       firstRow, row - 1,   marksOnly, colour};
}

void putHeadings(ReportSheet& sheet, int row,
                 std::initializer_list<std::pair<char, std::string>> h) {
    for (const auto& [column, text] : h)
        sheet.text(column, row, text, ReportStyle::Center);
}

// Places the charts two to a row, two rows to a printed page.
class ChartGrid {
  public:
    explicit ChartGrid(ReportSheet& sheet) : sheet_(sheet) {}
    void place(ReportChart chart) {
        const int slot = count_++;
        const int gridRow = slot / 2;
        chart.row = 3 + gridRow * kChartRowStep;
        chart.column = slot % 2 == 0 ? 'A' : kSecondChartColumn;
        if (slot % 2 == 0 && gridRow > 0 && gridRow % kChartRowsPerPage == 0)
            sheet_.pageBreaksBeforeRows.push_back(chart.row - 1);
        sheet_.charts.push_back(std::move(chart));
    }
    // A chart across both columns of a row of its own: the load spectra's 56 bins need the width.
    void placeWide(ReportChart chart) {
        count_ += count_ % 2;
        chart.widthScale = 2.1;
        place(std::move(chart));
        ++count_;
    }

  private:
    ReportSheet& sheet_;
    int count_ = 0;
};

// The data tables of the Run sheet, written downward from `row`.
struct ChartData {
    ReportSheet& sheet;
    int row;

    void heading(const std::string& text) {
        row += 1;
        sheet.text('A', row++, text, ReportStyle::Heading);
    }
};

void addDistributionCharts(ChartData& data, ChartGrid& grid, const ResponseDistribution& d,
                           const std::vector<DamageOverTime>& damage) {
    ReportSheet& sheet = data.sheet;
    data.heading("Response distribution: " + d.name.title);
    const std::string sense = d.largerExceeds ? "% of loads at or below" : "% of loads at or above";
    int row = data.row;
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
    chart.yTitle = sense;
    chart.yMin = 0.0;
    chart.yMax = 100.0;
    chart.series.push_back(
        putPoints(sheet, 'A', row, "Distribution", d.curve, false, kCurveColour));
    int rows = static_cast<int>(d.curve.size());
    std::vector<ChartPoint> marks;
    const bool levels = d.limits.size() > 1;
    if (!levels) {
        const LimitMark& m = d.limits.front();
        chart.series.push_back(putPoints(sheet, 'D', row, "Threshold",
                                         {{m.value, 0.0}, {m.value, 100.0}}, false, kLimitColour));
        if (!std::isnan(m.targetPercentile) && !d.curve.empty()) {
            chart.series.push_back(putPoints(
                sheet, 'G', row, "Target percentile",
                {{d.curve.front().x, m.targetPercentile}, {d.curve.back().x, m.targetPercentile}},
                false, kTargetColour));
        }
        marks.push_back({m.value, m.actualPercentile});
    } else {
        for (const LimitMark& m : d.limits)
            marks.push_back({m.value, m.targetPercentile});
    }
    chart.series.push_back(putPoints(
        sheet, 'J', row, levels ? "Allowable strains" : "Actual percentile", marks, true));
    rows = std::max(rows, static_cast<int>(marks.size()));
    data.row = row + std::max(rows, 2);
    grid.place(std::move(chart));

    // The damage of the same row beside it.
    for (const DamageOverTime& f : damage) {
        if (f.name.slot != d.name.slot)
            continue;
        data.heading("Damage over time: " + f.name.title);
        if (f.curve.empty()) {
            sheet.text('A', data.row++, "No damage: the threshold is never exceeded.",
                       ReportStyle::Left);
            continue;
        }
        row = data.row;
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
        damageChart.series.push_back(
            putPoints(sheet, 'A', row, "Damage", f.curve, false, kCurveColour));
        damageChart.series.push_back(putPoints(sheet, 'D', row, "D = 0.1",
                                               {{first, 0.1}, {last, 0.1}}, false, kTargetColour));
        damageChart.series.push_back(putPoints(sheet, 'G', row, "D = 1.0",
                                               {{first, 1.0}, {last, 1.0}}, false, kLimitColour));
        data.row = row + static_cast<int>(f.curve.size());
        grid.place(std::move(damageChart));
    }
}

// One strain range for every season's chart, so that the seasons compare: from the most
// negative to the most positive strain of any season (and zero), out to a round step.
std::pair<double, double> seasonsStrainRange(const std::vector<DepthProfile>& profiles) {
    double lo = 0.0, hi = 0.0;
    for (const DepthProfile& p : profiles) {
        for (const DepthProfilePoint& q : p.points) {
            lo = std::min({lo, q.epsX, q.epsY, q.epsZ});
            hi = std::max({hi, q.epsX, q.epsY, q.epsZ});
        }
    }
    const double span = hi - lo;
    if (!(span > 0.0))
        return {NAN, NAN};
    // A step of 1, 2 or 5 times a power of ten, about a tenth of the span.
    const double magnitude = std::pow(10.0, std::floor(std::log10(span / 10.0)));
    double step = magnitude;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * magnitude;
        if (span / step <= 10.0)
            break;
    }
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step};
}

const char* const kStrainNames[3] = {"Horizontal strain \u03b5x", "Horizontal strain \u03b5y",
                                     "Vertical strain \u03b5z"};

void addDepthChart(ChartData& data, ChartGrid& grid, const DepthProfile& p, int unitSystem,
                   std::pair<double, double> strainRange) {
    ReportSheet& sheet = data.sheet;
    const std::string title = std::string(kSeasonNames[at(p.season)]) + ": strains with depth";
    data.heading(title);
    const std::string depth = std::string("Depth, ") + depthUnit(unitSystem);
    int row = data.row;
    putHeadings(sheet, row++,
                {{'A', kStrainNames[0]},
                 {'B', depth},
                 {'D', kStrainNames[1]},
                 {'E', depth},
                 {'G', kStrainNames[2]},
                 {'H', depth}});
    std::array<std::vector<ChartPoint>, 3> strains;
    for (const DepthProfilePoint& q : p.points) {
        const double d = displayDepth(q.depthInches, unitSystem);
        strains[0].push_back({q.epsX, d});
        strains[1].push_back({q.epsY, d});
        strains[2].push_back({q.epsZ, d});
    }
    ReportChart chart;
    chart.title = title;
    chart.xTitle = "Strain, microstrain (tension negative)";
    chart.yTitle = depth;
    chart.yReversed = true;  // depth downward
    std::tie(chart.xMin, chart.xMax) = strainRange;
    for (int i = 0; i < 3; ++i) {
        chart.series.push_back(putPoints(sheet, static_cast<char>('A' + 3 * i), row,
                                         kStrainNames[i], strains[at(i)], false,
                                         kConfigurationColours[i]));
    }
    data.row = row + static_cast<int>(p.points.size());
    grid.place(std::move(chart));
}

// The share of a row's exceedances (or damage) by load bin, one stacked column per bin that
// carries a share.
void addGoverningChart(ChartData& data, ChartGrid& grid, const LoadShares& s,
                       const LoadSpectraFigure& spectra, bool english, bool damage) {
    const auto& table = damage ? s.damagePercent : s.exceedancePercent;
    std::vector<int> bins;
    for (int k = 0; k < kBinCount; ++k) {
        for (int c = 0; c < kConfigurationCount; ++c) {
            if (table[at(c)][at(k)] > 0.0) {
                bins.push_back(k);
                break;
            }
        }
    }
    std::string title = s.name.title + (damage ? ": share of damage" : ": share of exceedances");
    if (!s.levelName.empty())
        title += " (" + s.levelName + ")";
    data.heading(title);
    if (bins.empty()) {
        data.sheet.text('A', data.row++, "None: no load exceeds this limit.", ReportStyle::Left);
        return;
    }
    ReportSheet& sheet = data.sheet;
    sheet.text('A', data.row, "Load bin", ReportStyle::Center);
    for (int c = 0; c < kConfigurationCount; ++c)
        sheet.text(static_cast<char>('B' + c), data.row,
                   std::string(kConfigurationNames[at(c)]) + ", %", ReportStyle::Center);
    const int first = ++data.row;
    for (int k : bins) {
        sheet.text('A', data.row, spectra.binLabels[at(k)], ReportStyle::Center);
        for (int c = 0; c < kConfigurationCount; ++c)
            sheet.number(static_cast<char>('B' + c), data.row, table[at(c)][at(k)],
                         ReportStyle::Right);
        ++data.row;
    }
    ReportChart chart;
    chart.kind = ChartKind::StackedColumns;
    chart.title = title;
    chart.xTitle = english ? "Axle weight, kips" : "Axle weight, kN";
    chart.yTitle = damage ? "% of damage" : "% of exceedances";
    chart.xLabelRotation = -45;  // bin labels side by side would run together
    for (int c = 0; c < kConfigurationCount; ++c) {
        // Only the configurations that carry a share appear in the legend.
        const auto& shares = table[at(c)];
        if (std::none_of(shares.begin(), shares.end(), [](double v) { return v > 0.0; }))
            continue;
        chart.series.push_back(ChartSeries{std::string(kConfigurationNames[at(c)]), kRunSheet, 'A',
                                           static_cast<char>('B' + c), first, data.row - 1, false,
                                           kConfigurationColours[c]});
    }
    grid.place(std::move(chart));
}

}  // namespace

const char* programVersion() {
    return ARDELON_VERSION;
}

namespace {

ReportSheet newRunSheet(const char* name, const char* title) {
    ReportSheet sheet;
    sheet.name = name;
    sheet.header = "&F";
    sheet.footer = kFooter;
    sheet.text('A', 1, title, ReportStyle::Title);
    return sheet;
}

// The run's record, the overall verdict and the costs at the top of the Run sheet, the part that
// is printed; the row after them.
int addRunRecord(ReportSheet& sheet, const CStenorDoc& work, const AnalysisResults& results,
                 const RunInfo& run) {
    sheet.text('A', 3, "Run Record", ReportStyle::Heading);
    const bool english = shownInEnglish(work);
    int row = 4;
    const auto record = [&](const std::string& label, const CellValue& value) {
        sheet.text('A', row, label, ReportStyle::Left);
        if (const double* v = std::get_if<double>(&value))
            sheet.number('C', row, *v, ReportStyle::Left);
        else
            sheet.text('C', row, std::get<std::string>(value), ReportStyle::Left);
        ++row;
    };
    record("Project File", projectPathText(run));
    record("Date", reportDate(run.startTime));
    record("Units", std::string(english ? "English" : "Metric"));
    record("Monte Carlo Cycles", static_cast<double>(results.cycles));
    record("Seed", static_cast<double>(run.seed));
    record("Worker Threads", static_cast<double>(run.threads));
    record("Elapsed Time, s", std::round(run.elapsedSeconds * 100.0) / 100.0);
    record("Program Version", std::string("Ardelon ") + programVersion());

    const ResultLists lists = buildResultLists(work, results, run.verdicts);
    row += 1;
    sheet.text('A', row++, "Overall Verdict", ReportStyle::Heading);
    for (const std::string& line : verdictLines(work, lists))
        sheet.text('A', row++, line, ReportStyle::Left);

    row += 1;
    sheet.text('A', row++, "Cost Analysis", ReportStyle::Heading);
    const ReportCost cost = reportCost(work);
    if (!cost.priced) {
        record("Total Cost", std::string("not priced"));
    } else {
        const std::string per = ", " + cost.unit;
        for (std::size_t i = 0; i < cost.layerCost.size(); ++i)
            record("Layer " + std::to_string(i + 1) + " Cost" + per, cost.layerCost[i]);
        record("Total Cost" + per, cost.total);
    }
    return row;
}

// The load spectra's table and its column chart, last on the Run sheet.
void addLoadSpectraChart(ChartData& data, ChartGrid& grid, const LoadSpectraFigure& spectra,
                         bool english) {
    ReportSheet& sheet = data.sheet;
    data.heading("Load spectra, % of axle groups");
    const int row = data.row;
    sheet.text('A', row, english ? "Axle Weight, kips" : "Axle Weight, kN", ReportStyle::Center);
    for (int c = 0; c < kConfigurationCount; ++c) {
        sheet.text(static_cast<char>('B' + c), row, std::string(kConfigurationNames[at(c)]),
                   ReportStyle::Center);
    }
    const int first = row + 1;
    ReportChart spectraChart;
    spectraChart.kind = ChartKind::Columns;
    spectraChart.title = "Load Spectra";
    spectraChart.xTitle = english ? "Axle weight, kips" : "Axle weight, kN";
    spectraChart.yTitle = "% of axle groups";
    spectraChart.xLabelRotation = -45;
    for (int k = 0; k < kBinCount; ++k) {
        sheet.text('A', first + k, spectra.binLabels[at(k)], ReportStyle::Center);
        for (int c = 0; c < kConfigurationCount; ++c)
            sheet.number(static_cast<char>('B' + c), first + k, spectra.percent[at(c)][at(k)],
                         ReportStyle::Center);
    }
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (spectra.configurationUsed[at(c)]) {
            spectraChart.series.push_back(ChartSeries{
                std::string(kConfigurationNames[at(c)]), kRunSheet, 'A', static_cast<char>('B' + c),
                first, first + kBinCount - 1, false, kConfigurationColours[c]});
        }
    }
    grid.placeWide(std::move(spectraChart));
}

}  // namespace

void addRunSheets(ReportWorkbook& book, const CStenorDoc& work, const AnalysisResults& results,
                  const RunInfo& run) {
    ReportSheet charts = newRunSheet(kChartsSheet, "Charts");
    charts.landscape = true;
    charts.fitToPageWidth = true;
    ChartGrid grid(charts);

    ReportSheet sheet = newRunSheet(kRunSheet, "Run");
    sheet.width('A', 'A', 16);
    sheet.width('B', 'K', 13);
    int row = addRunRecord(sheet, work, results, run);

    // The printout holds the record, the verdict and the costs; the data tables stay on screen.
    sheet.printLastRow = row;
    sheet.printLastColumn = 'G';
    sheet.fitToPageWidth = true;
    row += 1;
    sheet.text('A', row++, "Chart Data", ReportStyle::Heading);
    ChartData data{sheet, row};
    const auto damage = damageOverTime(work, results);
    for (const ResponseDistribution& d : responseDistributions(work, results))
        addDistributionCharts(data, grid, d, damage);
    if (run.models) {
        const std::vector<DepthProfile> profiles = depthProfiles(work, run.models);
        const auto strainRange = seasonsStrainRange(profiles);
        for (const DepthProfile& p : profiles)
            addDepthChart(data, grid, p, work.unitSystem, strainRange);
    }
    const bool english = shownInEnglish(work);
    const LoadSpectraFigure spectra = loadSpectraFigure(work);
    for (const LoadShares& s : loadShares(work, results)) {
        addGoverningChart(data, grid, s, spectra, english, false);
        if (s.hasDamage)
            addGoverningChart(data, grid, s, spectra, english, true);
    }
    addLoadSpectraChart(data, grid, spectra, english);

    book.sheets.push_back(std::move(charts));
    book.sheets.push_back(std::move(sheet));
}

}  // namespace ardelon
