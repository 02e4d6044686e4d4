// The Charts and Run sheets read back with openpyxl (tests/reports/check_charts.py) hold native
// charts whose ranges carry exactly the figure data the command-line tool writes as CSV.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "ExampleProjects.h"
#include "FakeResponseModels.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/OutputModuleCopy.h"
#include "reports/FormattedReport.h"

namespace ardelon {
namespace {

namespace fs = std::filesystem;

// Exit status and output of the checker.
std::pair<int, std::string> runChecker(const fs::path& workbook, const fs::path& figures,
                                       int cycles, std::uint32_t seed) {
    const std::string command = std::string(ARDELON_PYTHON) + " " + ARDELON_CHARTS_CHECKER + " '" +
                                workbook.string() + "' '" + figures.string() + "' " +
                                std::to_string(cycles) + " " + std::to_string(seed) + " 2>&1";
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start " + command};
    std::array<char, 4096> buffer{};
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(ChartsReadBack, ChartsPointAtTheRunSheetsCopyOfTheFigureData) {
    struct Case {
        const char* name;
        CStenorDoc (*project)();
    };
    for (const Case c : {Case{"interstate", testing::perpetualInterstateExample},
                         Case{"esal", testing::esalRouteExample}}) {
        const fs::path folder =
            fs::temp_directory_path() / ("ardelon-charts-" + std::string(c.name));
        fs::remove_all(folder);
        fs::create_directories(folder / "figures");
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
        const fs::path workbook = folder / "report.xlsx";
        ASSERT_TRUE(exportFormattedReport(work, outcome.results, workbook.string(), run).ok());
        const RunFigures figures = runFigures(work, outcome.results, {});
        ASSERT_TRUE(writeFigureCsv(figures, work.unitSystem, (folder / "figures").string()).ok());
        const auto [status, output] =
            runChecker(workbook, folder / "figures", options.cycles, options.seed);
        EXPECT_EQ(status, 0) << c.name << "\n" << output;
        fs::remove_all(folder);
    }
}

}  // namespace
}  // namespace ardelon
