// The design report's content (the PDF's texts) and the units of every report output.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "ReportTestSupport.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/ResultLists.h"
#include "reliability/RunPreparation.h"
#include "reports/DesignReport.h"
#include "reports/FormattedReport.h"
#include "reports/ReportModel.h"
#include "reports/ReportVerdict.h"
#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

// The first English unit label in `text`, as a word of its own, or empty.
std::string englishUnitIn(const std::string& text) {
    const auto isWordChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    };
    for (const std::string unit :
         {"psi", "kips", "kip", "in.", "_in", "milli-in", "mils", "lb", ", F", "lane-mile"}) {
        for (auto at = text.find(unit); at != std::string::npos; at = text.find(unit, at + 1)) {
            const bool startsWord = at == 0 || !isWordChar(text[at - 1]) || unit[0] == '_';
            const auto end = at + unit.size();
            const bool endsWord =
                end == text.size() || !isWordChar(text[end]) || unit.back() == '.';
            if (startsWord && endsWord)
                return unit + " in \"" + text.substr(at < 30 ? 0 : at - 30, 60) + "\"";
        }
    }
    return {};
}

struct ReportRun {
    CStenorDoc work;
    AnalysisResults results;
    RunInfo info;
};

ReportRun runOf(CStenorDoc doc) {
    prepareViewOutput(doc);
    AnalysisRunOptions options;
    options.cycles = 400;
    options.seed = 31;
    options.keepCycleRecords = true;
    const auto models = testing::factoryOf<testing::SmoothResponseModel>();
    AnalysisRunOutcome outcome = runAnalysis(doc, models, options);
    EXPECT_EQ(outcome.status, AnalysisStatus::Completed);
    RunInfo info;
    info.projectFileName = "/projects/i99/section-4.json";
    info.startTime = 1765000000;  // 2025-12-06 05:46 UTC
    info.seed = options.seed;
    info.threads = 2;
    info.models = models;
    return {doc, std::move(outcome.results), info};
}

TEST(DesignReport, FirstPageHoldsEveryRowsVerdictCostAndRunRecord) {
    const ReportRun r = runOf(testing::perpetualInterstateExample());
    const ReportDetails details{"I-99 Section 4", "Mill and overlay", "State DOT",
                                "Pavement Design Unit"};
    RunInfo info = r.info;
    info.verdicts = {.confidence = 0.9, .designLifeYears = 40.0};
    const DesignReport report = buildDesignReport(r.work, r.results, info, details);
    const ResultLists lists = buildResultLists(r.work, r.results, info.verdicts);

    EXPECT_EQ(report.details, details);
    EXPECT_EQ(report.projectName, "section-4.json");
    EXPECT_EQ(report.date, "2025-12-06 05:46 UTC");
    ASSERT_EQ(report.verdicts.size(), lists.percentile.size());
    // Each row states its settled verdict at the run's confidence, with the interval deciding it.
    for (std::size_t i = 0; i < lists.percentile.size(); ++i) {
        const PercentileRow& row = lists.percentile[i];
        const ReportVerdictRow& v = report.verdicts[i];
        EXPECT_EQ(v.actual, row.cells[6]);
        EXPECT_EQ(v.settled, row.settled.verdict);
        EXPECT_EQ(v.verdict, verdictText(row.settled.verdict));
        double low = -1, high = -1;
        ASSERT_EQ(std::sscanf(v.interval.c_str(), "%lf to %lf %%", &low, &high), 2) << v.interval;
        EXPECT_NEAR(low, row.settled.low, 0.005);
        EXPECT_NEAR(high, row.settled.high, 0.005);
        EXPECT_TRUE(low <= row.actualPercentile && row.actualPercentile <= high) << v.interval;
    }
    EXPECT_EQ(report.overallVerdict, overallVerdict(lists));
    EXPECT_EQ(report.confidence, "90 %");
    EXPECT_EQ(report.verdicts[0].name, "Layer 1 Top, Vertical Deflection");
    EXPECT_EQ(report.verdicts[0].target, "15 milli-in at 85 %");
    EXPECT_EQ(report.verdicts[1].name, "Layer 2 Bottom, Tensile Strain at the 95th percentile");
    EXPECT_EQ(report.verdicts[1].target, "-121.1 microstrain at 95 %");

    ASSERT_EQ(report.lives.size(), lists.transferFunction.size());
    EXPECT_EQ(report.lives[0].years10, lists.transferFunction[0].cells[8]);
    const TransferFunctionRow& tf = lists.transferFunction[0];
    EXPECT_EQ(report.lives[0].verdict, verdictText(tf.settledYears.verdict));
    double low = -1;
    char high[32] = "";
    ASSERT_EQ(std::sscanf(report.lives[0].interval.c_str(), "%lf to %31s years", &low, high), 2)
        << report.lives[0].interval;
    const double highYears = std::string(high) == "Infinite" ? INFINITY : std::atof(high);
    EXPECT_TRUE(low <= tf.yearsToDamage10 && tf.yearsToDamage10 <= highYears)
        << report.lives[0].interval;
    // 8 in. at $95, 6 in. at $85 (145 pcf) and 12 in. at $30 (135 pcf) a ton, over a lane-mile.
    EXPECT_EQ(report.cost, "$ 614,460.00 per lane-mile");

    const std::vector<std::pair<std::string, std::string>> record{
        {"Project File", "/projects/i99/section-4.json"},
        {"Date", "2025-12-06 05:46 UTC"},
        {"Units", "English"},
        {"Monte Carlo Cycles", "400"},
        {"Seed", "31"},
        {"Worker Threads", "2"},
        {"Elapsed Time, s", "0.00"},
        {"Program Version", std::string("Ardelon ") + programVersion()}};
    EXPECT_EQ(report.runRecord, record);

    // The lists as the module prints them.
    ASSERT_EQ(report.percentileList.rows.size(), lists.percentile.size());
    for (std::size_t i = 0; i < lists.percentile.size(); ++i) {
        EXPECT_EQ(report.percentileList.rows[i],
                  std::vector<std::string>(lists.percentile[i].cells.begin(),
                                           lists.percentile[i].cells.end()));
    }
    EXPECT_EQ(report.layers.back().thickness, "semi-infinite");
    EXPECT_EQ(report.layers.front().thickness, "8 in.");
}

// The verdict lines of the Run sheet name the units of the value a row is checked against.
TEST(ReportVerdict, SentencesCarryTheUnitsOfTheProject) {
    struct Case {
        CStenorDoc (*project)();
        int slot, level;
        double target;
        const char* sentence;
    };
    for (const Case c :
         {Case{testing::perpetualInterstateExample, 0, -1, 15.0,
               "Layer 1 Top, Vertical Deflection: 51.34 % of loads within 15 milli-in (95 % "
               "interval 48.25 to 54.50 %), target above 85 %"},
          Case{testing::metricInterstateExample, 0, -1, 15.0,
               "Layer 1 Top, Vertical Deflection: 51.34 % of loads within 0.381 mm (95 % interval "
               "48.25 to 54.50 %), target above 85 %"},
          Case{testing::metricInterstateExample, 5, 0, -121.1,
               "Layer 2 Bottom, Tensile Strain at the 95th percentile: 51.34 % of loads within "
               "-121.1 microstrain (95 % interval 48.25 to 54.50 %), target above 85 %"}}) {
        PercentileRow row;
        row.slot = c.slot;
        row.level = c.level;
        row.targetValue = c.target;
        row.targetPercentile = 85.0;
        row.actualPercentile = 51.34;
        row.settled = {48.2468, 54.5, Verdict::Fail};
        EXPECT_EQ(verdictSentence(c.project(), row, 0.95), c.sentence);
    }
}

// The overall verdict: Pass only when every checked row settled Pass, Fail when any settled Fail,
// otherwise Undecided; a transfer-function row counts only against a design life.
TEST(ReportVerdict, OverallVerdictFollowsTheSettledRows) {
    const CStenorDoc work = testing::perpetualInterstateExample();
    const auto percentileRow = [](int slot, Verdict v, double low, double high) {
        PercentileRow row;
        row.slot = slot;
        row.targetValue = 15.0;
        row.targetPercentile = 85.0;
        row.actualPercentile = (low + high) / 2;
        row.settled = {low, high, v};
        return row;
    };
    const auto lifeRow = [](Verdict v, bool checked) {
        TransferFunctionRow row;
        row.slot = 6;
        row.yearsToDamage10 = 39.2;
        row.settledYears = {38.7, 39.6, v};
        row.lifeChecked = checked;
        return row;
    };
    const PercentileRow pass = percentileRow(0, Verdict::Pass, 86.1, 88.93);
    const PercentileRow fail = percentileRow(0, Verdict::Fail, 48.25, 54.5);
    const PercentileRow open = percentileRow(0, Verdict::Undecided, 84.5, 86.2);
    struct Case {
        std::vector<PercentileRow> percentile;
        std::vector<TransferFunctionRow> lives;
        std::optional<double> life;
        const char* overall;
        std::vector<std::string> lines;
    };
    const std::string failSentence =
        "Fail: Layer 1 Top, Vertical Deflection: 51.375 % of loads within 15 milli-in (95 % "
        "interval 48.25 to 54.50 %), target above 85 %";
    const std::string openSentence =
        "Undecided: Layer 1 Top, Vertical Deflection: 85.35 % of loads within 15 milli-in (95 % "
        "interval 84.50 to 86.20 %), target above 85 %";
    const std::string lifeSentence =
        "Layer 3 Top, Horizontal Strain: 39.2 years to D = 1.0 (95 % interval 38.7 to 39.6 "
        "years), design life 40 years";
    for (const Case& c : std::vector<Case>{
             {{pass, pass},
              {lifeRow(Verdict::Undecided, false)},
              {},
              "Pass",
              {"Pass: all 2 rows checked settled Pass at 95 % confidence."}},
             {{pass, open},
              {},
              {},
              "Undecided",
              {"Undecided: 1 of 2 rows checked are not settled at 95 % confidence and none fails. "
               "Run more cycles (until settled) before relying on this design.",
               openSentence}},
             {{open, fail},
              {},
              {},
              "Fail",
              {"Fail: 1 of 2 rows checked settled Fail at 95 % confidence.", openSentence,
               failSentence}},
             {{pass},
              {lifeRow(Verdict::Fail, true)},
              40.0,
              "Fail",
              {"Fail: 1 of 2 rows checked settled Fail at 95 % confidence.",
               "Fail: " + lifeSentence}},
             {{},
              {lifeRow(Verdict::Pass, true)},
              40.0,
              "Pass",
              {"Pass: the only row checked settled Pass at 95 % confidence."}},
             {{},
              {lifeRow(Verdict::Undecided, false)},
              {},
              "No criterion checked",
              {"No criterion checked: no percentile row, and no transfer-function row has a "
               "design life to be judged against."}},
         }) {
        ResultLists lists;
        lists.percentile = c.percentile;
        lists.transferFunction = c.lives;
        lists.rules.designLifeYears = c.life;
        EXPECT_EQ(overallVerdict(lists), c.overall);
        EXPECT_EQ(verdictLines(work, lists), c.lines);
    }
    EXPECT_EQ(percentIntervalText(open.settled), "84.50 to 86.20 %");
    EXPECT_EQ(yearsIntervalText({38.7, INFINITY, Verdict::Pass}), "38.7 to Infinite years");
}

TEST(ReportCost, PricedTotalsReadWithThousandsAndUnpricedSaysSo) {
    struct Case {
        bool priced;
        const char* unit;
        double total;
        const char* text;
    };
    for (const Case c : {Case{false, "$/lane-mile", 0.0, "not priced"},
                         Case{true, "$/lane-mile", 1234567.89, "$ 1,234,567.89 per lane-mile"},
                         Case{true, "$/lane-km", 999.5, "$ 999.50 per lane-km"},
                         Case{true, "$/lane-mile", 1000.0, "$ 1,000.00 per lane-mile"}}) {
        EXPECT_EQ(costText(ReportCost{c.priced, c.unit, {}, c.total}), c.text);
    }
    EXPECT_FALSE(reportCost(testing::esalRouteExample()).priced);
    EXPECT_TRUE(reportCost(testing::perpetualInterstateExample()).priced);
}

// ESAL projects store axle counts; every output that says % shows percentages of axle groups.
TEST(DesignReport, EsalSpectraArePercentagesInTheWorkbookAndTheReport) {
    const ReportRun r = runOf(testing::esalRouteExample());
    const ReportWorkbook book = buildFormattedReport(r.work, r.results, "/x/r.xlsx", r.info);
    const ReportSheet& traffic = *book.sheet("Traffic");
    double single = 0.0;
    for (int row = 19; row <= 75; ++row) {
        if (const ReportCell* cell = traffic.at('B', row); cell && row != 46)
            single += std::get<double>(cell->value);
    }
    EXPECT_NEAR(single, 100.0, 1e-9);
    EXPECT_EQ(traffic.numberFormatAt('B', 27), "0.00");

    const DesignReport report = buildDesignReport(r.work, r.results, r.info, {});
    const ReportTable& spectra = report.inputs[3];
    ASSERT_EQ(spectra.title, "Load spectra, % of axle groups");
    EXPECT_EQ(spectra.rows,
              (std::vector<std::vector<std::string>>{{"16-18", "50.00"}, {"18-20", "50.00"}}));
    EXPECT_EQ(report.cost, "not priced");
    const ReportSheet& run = *book.sheet("Run");
    bool unpriced = false;
    for (const auto& [position, cell] : run.cells())
        unpriced = unpriced || cell.value == CellValue(std::string("not priced"));
    EXPECT_TRUE(unpriced);
}

// Every text of a metric project's workbook, report and figure files is free of English units.
TEST(DesignReport, MetricOutputsCarryNoEnglishUnits) {
    const ReportRun r = runOf(testing::metricInterstateExample());
    std::ostringstream all;
    const ReportWorkbook book = buildFormattedReport(r.work, r.results, "/x/r.xlsx", r.info);
    for (const ReportSheet& sheet : book.sheets) {
        for (const auto& [position, cell] : sheet.cells()) {
            if (const auto* text = std::get_if<std::string>(&cell.value))
                all << *text << '\n';
        }
        for (const ReportChart& chart : sheet.charts)
            all << chart.title << '\n' << chart.xTitle << '\n' << chart.yTitle << '\n';
    }
    const DesignReport report = buildDesignReport(r.work, r.results, r.info, {});
    for (const ReportTable& t : report.inputs) {
        all << t.title << '\n';
        for (const auto& c : t.columns)
            all << c << '\n';
        for (const auto& row : t.rows)
            for (const auto& c : row)
                all << c << '\n';
    }
    for (const auto* t : {&report.transferFunctionList, &report.percentileList})
        for (const auto& row : t->rows)
            for (const auto& c : row)
                all << c << '\n';
    for (const ReportVerdictRow& v : report.verdicts)
        all << v.target << '\n';
    all << report.cost << '\n';

    const test::ScratchFolder scratch;
    ASSERT_TRUE(writeFigureCsv(runFigures(r.work, r.results, r.info.models), Metric,
                               scratch.path().string())
                    .ok());
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path()))
        all << testing::readBytes(entry.path()) << '\n';
    const std::string text = all.str();
    EXPECT_EQ(englishUnitIn(text), "");
    // The detector itself: a unit as a word of its own, not inside another word.
    EXPECT_NE(englishUnitIn("Average Modulus, psi"), "");
    EXPECT_NE(englishUnitIn("depth_in,layer"), "");
    EXPECT_EQ(englishUnitIn("within 0.381 mm, Flexible, lbs-free, Temperature, C"), "");
    for (const char* si : {"mm", "MPa", "Temperature, C", "Axle Weight, kN", "cm", "axle_load_kN",
                           "deflection_mm", "weight_class_kN", "$/lane-km"}) {
        EXPECT_NE(text.find(si), std::string::npos) << si;
    }
}

}  // namespace
}  // namespace ardelon
