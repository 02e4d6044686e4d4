// ardelon-cli analyze: the reliability analysis of a project, as "View Output" and "Perform
// Analysis" run it, with the result lists printed as tables or JSON.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/ResultFormat.h"
#include "reliability/SolverResponseModel.h"
#include "reports/FormattedReport.h"

namespace ardelon::cli {
namespace {

std::atomic<bool> interrupted{false};

// Columns padded to their widest text, two spaces apart.
std::string alignedTable(std::string_view title, const std::vector<std::string>& headings,
                         const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> width(headings.size());
    for (std::size_t c = 0; c < headings.size(); ++c) {
        width[c] = headings[c].size();
        for (const auto& row : rows)
            width[c] = std::max(width[c], row[c].size());
    }
    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            text += cells[c];
            if (c + 1 < cells.size())
                text += std::string(width[c] - cells[c].size() + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text + "\n";
    };
    std::string out = std::string(title) + "\n";
    out += line(headings);
    std::vector<std::string> rule;
    for (std::size_t w : width)
        rule.emplace_back(w, '-');
    out += line(rule);
    if (rows.empty())
        out += "(no criteria)\n";
    for (const auto& row : rows)
        out += line(row);
    return out;
}

template <typename Columns>
std::vector<std::string> headingsOf(const Columns& columns) {
    return {columns.begin(), columns.end()};
}

nlohmann::json numberOrNull(double value) {
    return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

nlohmann::json intervalJson(int successes, int trials) {
    const PercentInterval i = wilsonInterval95(successes, trials);
    return {i.low, i.high};
}

constexpr const char* kLocationWords[] = {"Top", "Middle", "Bottom"};

nlohmann::json resultsJson(std::uint32_t seed, int cycles, const CStenorDoc& work,
                           const AnalysisRunOutcome& outcome) {
    nlohmann::json conventional = nlohmann::json::array();
    for (const TransferFunctionRow& r : outcome.lists.transferFunction) {
        const CriterionSlot& c = work.criteria[static_cast<std::size_t>(r.slot)];
        conventional.push_back({
            {"layer", slotLayer(r.slot)},
            {"location", kLocationWords[slotPosition(r.slot)]},
            {"criteria", r.cells[2]},
            {"units", r.cells[4]},
            {"responseType", c.responseType},
            {"threshold", r.threshold},
            {"exceedances", r.exceedCount},
            {"percentBelowCritical", r.percentBelowCritical},
            {"percentBelowCriticalInterval95", intervalJson(cycles - r.exceedCount, cycles)},
            {"damagePerMillion", r.damageShown ? numberOrNull(r.damagePerMillion) : nullptr},
            {"yearsToDamage0_1", numberOrNull(r.yearsToDamage01)},
            {"yearsToDamage1_0", numberOrNull(r.yearsToDamage10)},
            {"texts", r.cells},
        });
    }
    nlohmann::json percentile = nlohmann::json::array();
    for (const PercentileRow& r : outcome.lists.percentile) {
        const CriterionSlot& c = work.criteria[static_cast<std::size_t>(r.slot)];
        nlohmann::json row = {
            {"layer", slotLayer(r.slot)},
            {"location", kLocationWords[slotPosition(r.slot)]},
            {"responseType", c.responseType},
            {"targetValue", r.targetValue},
            {"targetPercentile", r.targetPercentile},
            {"exceedances", r.exceedCount},
            {"actualPercentile", r.actualPercentile},
            {"actualPercentileInterval95", intervalJson(cycles - r.exceedCount, cycles)},
            {"pass", r.pass},
            {"texts", r.cells},
        };
        if (r.level >= 0)
            row["distributionLevel"] = r.level;
        percentile.push_back(std::move(row));
    }
    return {{"seed", seed},
            {"cycles", cycles},
            {"conventionalDesign", std::move(conventional)},
            {"percentileResponses", std::move(percentile)}};
}

// A bar of 40 characters on stderr, redrawn in place.
void drawProgress(int done, int total) {
    const int filled = total > 0 ? static_cast<int>(40.0 * done / total) : 40;
    std::fprintf(stderr, "\r[%s%s] %d/%d cycles",
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(40 - filled), ' ').c_str(), done, total);
    if (done >= total)
        std::fputs("\n", stderr);
    std::fflush(stderr);
}

struct AnalyzeArguments {
    std::string project;
    int cycles = 5000;
    std::optional<std::int64_t> seed;
    std::string raw;
    std::string report;
    std::string figures;
    int threads = 0;
    bool json = false;
};

void analyze(const AnalyzeArguments& args) {
    refuseSameFile({"--raw", args.raw}, {{"PROJECT", args.project}});
    refuseSameFile({"--report", args.report}, {{"PROJECT", args.project}, {"--raw", args.raw}});
    CStenorDoc doc = readProjectOrThrow(args.project);
    // What View Output and the module's opening do to the working copy.
    prepareViewOutput(doc);
    CStenorDoc work = doc;
    roundModuleThicknesses(work);

    AnalysisRunOptions options;
    options.cycles = args.cycles;
    options.startTime = std::time(nullptr);
    options.seed = args.seed ? static_cast<std::uint32_t>(*args.seed)
                             : static_cast<std::uint32_t>(options.startTime);
    options.threads = args.threads;
    options.rawDataPath = args.raw;
    options.cancel = &interrupted;
    options.keepCycleRecords = !args.report.empty() || !args.figures.empty();
    if (isatty(STDERR_FILENO))
        options.progress = drawProgress;

    interrupted = false;
    const auto started = std::chrono::steady_clock::now();
    const AnalysisRunOutcome outcome = [&] {
        CancellableSection section(interrupted);
        return runAnalysis(work, layeredElasticResponses(), options);
    }();
    RunInfo run;
    run.projectFileName = args.project;
    run.startTime = options.startTime;
    run.seed = options.seed;
    run.threads = args.threads > 0
                      ? args.threads
                      : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    run.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (outcome.status == AnalysisStatus::Cancelled) {
        throw CommandError(kFailure, "analysis interrupted; no results and no raw data file.");
    }
    if (outcome.status == AnalysisStatus::Failed)
        throw CommandError(kFailure, args.project + ": " + outcome.refusal.text);
    if (outcome.status == AnalysisStatus::Refused) {
        const bool fileProblem = outcome.refusal.caption == kRawDataCaption;
        throw CommandError(fileProblem ? kFailure : kBadInput,
                           args.project + ": " + outcome.refusal.text);
    }
    // The workbook is written before anything is printed, so a failure is not hidden by tables.
    if (!args.report.empty()) {
        if (FileResult written = exportFormattedReport(work, outcome.results, args.report, run);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
    if (!args.figures.empty()) {
        const RunFigures figures = runFigures(work, outcome.results, layeredElasticResponses());
        if (FileResult written = writeFigureCsv(figures, work.unitSystem, args.figures);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
    if (args.json) {
        std::cout << resultsJson(options.seed, args.cycles, work, outcome).dump(2) << "\n";
        return;
    }
    std::cout << "Seed: " << options.seed << "\nMonte Carlo cycles: " << args.cycles << "\n\n";
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : outcome.lists.transferFunction)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    std::cout << alignedTable(kTransferFunctionListTitle, headingsOf(kTransferFunctionColumns),
                              rows)
              << "\n";
    rows.clear();
    for (const auto& r : outcome.lists.percentile)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    std::cout << alignedTable(kPercentileListTitle, headingsOf(kPercentileColumns), rows);
}

}  // namespace

void addAnalysisCommands(CLI::App& app) {
    static AnalyzeArguments args;
    auto* cmd = app.add_subcommand(
        "analyze", "Run the Monte Carlo reliability analysis of a project and print the results");
    cmd->add_option("PROJECT", args.project, "Project to analyse (.ard or .json)")->required();
    cmd->add_option("--cycles", args.cycles, "Number of Monte Carlo cycles (default 5000)")
        ->check(CLI::Range(1, 100000000));
    cmd->add_option("--seed", args.seed,
                    "Seed of the random generator, 0 to 4294967295 (default: the clock)")
        ->check(CLI::Range(static_cast<std::int64_t>(0), static_cast<std::int64_t>(4294967295)));
    cmd->add_option("--raw", args.raw, "Write every cycle to this raw data file (.ad)");
    cmd->add_option("--report", args.report,
                    "Write the formatted workbook (.xlsx) of the inputs and results");
    cmd->add_option("--figures", args.figures,
                    "Write the data of every result chart as CSV files into this folder");
    cmd->add_option("--threads", args.threads, "Worker threads (default: one per core)")
        ->check(CLI::Range(1, 256));
    cmd->add_flag("--json", args.json, "Print the results as JSON");
    cmd->callback([] { analyze(args); });
}

}  // namespace ardelon::cli
