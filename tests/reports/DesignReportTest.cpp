// The design report's content (the PDF's texts) and the units of every report output.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cctype>
#include <numeric>
#include <sstream>

#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"
#include "ReportTestSupport.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "reliability/ResultLists.h"
#include "reports/DesignReport.h"
#include "reports/FormattedReport.h"
#include "reports/ReportModel.h"
#include "reports/ReportVerdict.h"

namespace ardelon {
namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.rfind(prefix, 0) == 0;
}

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "$ 1,234.56 per lane-mile": digits grouped by three, two decimals.
bool isLaneMileCost(const std::string& s) {
    if (!startsWith(s, "$ ") || !endsWith(s, " per lane-mile"))
        return false;
    const std::string amount = s.substr(2, s.size() - 2 - 14);
    const auto point = amount.find('.');
    if (point == std::string::npos || amount.size() - point != 3)
        return false;
    for (std::size_t i = 0; i < point; ++i) {
        const bool comma = (point - i) % 4 == 0;
        if (comma ? amount[i] != ',' : !std::isdigit(static_cast<unsigned char>(amount[i])))
            return false;
    }
    return point > 0 && amount[0] != ',';
}

// The first English unit label in `text`, as a word of its own, or empty.
std::string englishUnitIn(const std::string& text) {
    const auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (const std::string unit : {"psi", "kips", "kip", "in.", "_in", "milli-in", "mils", "lb",
                                   ", F", "lane-mile"}) {
        for (auto at = text.find(unit); at != std::string::npos; at = text.find(unit, at + 1)) {
            const bool startsWord = at == 0 || !isWordChar(text[at - 1]) || unit[0] == '_';
            const auto end = at + unit.size();
            const bool endsWord = end == text.size() || !isWordChar(text[end]) || unit.back() == '.';
            if (startsWord && endsWord)
                return unit + " in \"" + text.substr(at < 30 ? 0 : at - 30, 60) + "\"";
        }
    }
    return {};
}

CStenorDoc metricInterstate() {
    CStenorDoc doc = testing::perpetualInterstateExample();
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    for (double& h : doc.thickness)
        h *= 2.54;
    return doc;
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
    const DesignReport report = buildDesignReport(r.work, r.results, r.info, details, 40.0);
    const ResultLists lists = buildResultLists(r.work, r.results);

    EXPECT_EQ(report.details, details);
    EXPECT_EQ(report.projectName, "section-4.json");
    EXPECT_EQ(report.date, "2025-12-06 05:46 UTC");
    ASSERT_EQ(report.verdicts.size(), lists.percentile.size());
    bool allPass = true;
    for (std::size_t i = 0; i < lists.percentile.size(); ++i) {
        const PercentileRow& row = lists.percentile[i];
        const ReportVerdictRow& v = report.verdicts[i];
        EXPECT_EQ(v.actual, row.cells[6]);
        EXPECT_EQ(v.pass, row.pass);
        EXPECT_TRUE(startsWith(v.verdict, (row.pass ? "Pass" : "Fail") +
                                              std::string(" (95 % interval ")) &&
                    endsWith(v.verdict, " %)") && v.verdict.find(" to ") != std::string::npos)
            << v.verdict;
        allPass = allPass && row.pass;
    }
    EXPECT_EQ(report.overallVerdict, allPass ? "Pass" : "Fail");
    EXPECT_EQ(report.verdicts[0].name, "Layer 1 Top, Vertical Deflection");
    EXPECT_EQ(report.verdicts[0].target, "15 milli-in at 85 %");
    EXPECT_EQ(report.verdicts[1].name, "Layer 1 Bottom, Tensile Strain at the 95th percentile");
    EXPECT_EQ(report.verdicts[1].target, "-121.1 microstrain at 95 %");

    ASSERT_EQ(report.lives.size(), lists.transferFunction.size());
    EXPECT_EQ(report.lives[0].years10, lists.transferFunction[0].cells[8]);
    EXPECT_EQ(report.lives[0].againstDesignLife,
              (lists.transferFunction[0].yearsToDamage10 >= 40 ? "meets" : "short of") +
                  std::string(" 40 years"));
    EXPECT_TRUE(isLaneMileCost(report.cost)) << report.cost;
    EXPECT_FALSE(isLaneMileCost("$ 1234.00 per lane-mile"));

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
               "Layer 1 Top, Vertical Deflection: 51.34 % of loads within 15 milli-in, target "
               "above 85 %"},
          Case{metricInterstate, 0, -1, 15.0,
               "Layer 1 Top, Vertical Deflection: 51.34 % of loads within 0.381 mm, target above "
               "85 %"},
          Case{metricInterstate, 2, 0, -121.1,
               "Layer 1 Bottom, Tensile Strain at the 95th percentile: 51.34 % of loads within "
               "-121.1 microstrain, target above 85 %"}}) {
        PercentileRow row;
        row.slot = c.slot;
        row.level = c.level;
        row.targetValue = c.target;
        row.targetPercentile = 85.0;
        row.actualPercentile = 51.34;
        EXPECT_EQ(verdictSentence(c.project(), row), c.sentence);
    }
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
    EXPECT_EQ(spectra.rows, (std::vector<std::vector<std::string>>{{"16-18", "50.00"},
                                                                   {"18-20", "50.00"}}));
    EXPECT_EQ(report.cost, "not priced");
    const ReportSheet& run = *book.sheet("Run");
    bool unpriced = false;
    for (const auto& [position, cell] : run.cells())
        unpriced = unpriced || cell.value == CellValue(std::string("not priced"));
    EXPECT_TRUE(unpriced);
}

// Every text of a metric project's workbook, report and figure files is free of English units.
TEST(DesignReport, MetricOutputsCarryNoEnglishUnits) {
    const ReportRun r = runOf(metricInterstate());
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
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
        std::ifstream in(entry.path());
        all << in.rdbuf() << '\n';
    }
    const std::string text = all.str();
    EXPECT_EQ(englishUnitIn(text), "");
    // The detector itself: a unit as a word of its own, not inside another word.
    EXPECT_NE(englishUnitIn("Average Modulus, psi"), "");
    EXPECT_NE(englishUnitIn("depth_in,layer"), "");
    EXPECT_EQ(englishUnitIn("within 0.381 mm, Flexible, lbs-free, Temperature, C"), "");
    for (const char* si : {"mm", "MPa", "Temperature, C", "Axle Weight, kN", "cm",
                           "axle_load_kN", "deflection_mm", "weight_class_kN", "$/lane-km"}) {
        EXPECT_NE(text.find(si), std::string::npos) << si;
    }
}

}  // namespace
}  // namespace ardelon
