// The Charts and Run sheets read back with openpyxl (tests/reports/check_charts.py) hold native
// charts whose ranges carry exactly the figure data the command-line tool writes as CSV.
#include <gtest/gtest.h>

#include <filesystem>

#include "ReportTestSupport.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "reports/FormattedReport.h"
#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"

namespace ardelon {
namespace {

TEST(ChartsReadBack, ChartsPointAtTheRunSheetsCopyOfTheFigureData) {
    struct Case {
        const char* name;
        CStenorDoc (*project)();
    };
    for (const Case c : {Case{"interstate", testing::perpetualInterstateExample},
                         Case{"esal", testing::esalRouteExample}}) {
        const test::ScratchFolder scratch;
        const std::filesystem::path folder = scratch.path();
        std::filesystem::create_directories(folder / "figures");
        CStenorDoc work = c.project();
        prepareViewOutput(work);
        AnalysisRunOptions options;
        options.cycles = 400;
        options.seed = 31;
        options.keepCycleRecords = true;
        const AnalysisRunOutcome outcome =
            runAnalysis(work, testing::factoryOf<testing::SmoothResponseModel>(), options);
        ASSERT_EQ(outcome.status, AnalysisStatus::Completed);

        RunInfo run;
        run.seed = options.seed;
        run.threads = 1;
        const std::filesystem::path workbook = folder / "report.xlsx";
        ASSERT_TRUE(exportFormattedReport(work, outcome.results, workbook.string(), run).ok());
        const RunFigures figures = runFigures(work, outcome.results, {});
        ASSERT_TRUE(writeFigureCsv(figures, work.unitSystem, (folder / "figures").string()).ok());
        const test::CheckerRun check = test::runChecker(
            ARDELON_CHARTS_CHECKER, {workbook.string(), (folder / "figures").string(),
                                     std::to_string(options.cycles), std::to_string(options.seed)});
        EXPECT_EQ(check.status, 0) << c.name << "\n" << check.output;
    }
}

}  // namespace
}  // namespace ardelon
