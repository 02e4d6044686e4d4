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
#include "cli/OutputPolicy.h"
#include "cli/ProjectAnalysis.h"
#include "cli/ResultOutput.h"
#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/ResultFormat.h"
#include "reliability/SolverResponseModel.h"
#include "reports/DesignReport.h"
#include "reports/FormattedReport.h"
#ifdef ARDELON_HAVE_PDF
#include "charts/PdfReport.h"
#endif

namespace ardelon::cli {
namespace {

std::atomic<bool> interrupted{false};

template <typename Columns>
std::vector<std::string> headingsOf(const Columns& columns) {
    return {columns.begin(), columns.end()};
}

}  // namespace

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

std::string resultListTables(const ResultLists& lists) {
    const double confidence = lists.rules.confidence;
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : lists.transferFunction) {
        rows.emplace_back(r.cells.begin(), r.cells.end());
        rows.back().push_back(verdictCell(r));
    }
    std::vector<std::string> headings = headingsOf(kTransferFunctionColumns);
    headings.push_back(verdictColumnHeading(kTransferFunctionVerdictColumn, confidence));
    std::string out = alignedTable(kTransferFunctionListTitle, headings, rows) + "\n";
    rows.clear();
    for (const auto& r : lists.percentile) {
        rows.emplace_back(r.cells.begin(), r.cells.end());
        rows.back().push_back(verdictCell(r));
    }
    headings = headingsOf(kPercentileColumns);
    headings.push_back(verdictColumnHeading(kPercentileVerdictColumn, confidence));
    return out + alignedTable(kPercentileListTitle, headings, rows);
}

std::string settledSummary(const ResultLists& lists) {
    int count[3] = {0, 0, 0};
    for (const auto& r : lists.percentile)
        ++count[static_cast<int>(r.settled.verdict)];
    for (const auto& r : lists.transferFunction) {
        if (r.lifeChecked)
            ++count[static_cast<int>(r.settledYears.verdict)];
    }
    return "Settled verdicts at " + confidenceText(lists.rules.confidence) +
           " confidence: " + std::to_string(count[0]) + " Pass, " + std::to_string(count[1]) +
           " Fail, " + std::to_string(count[2]) + " Undecided\n";
}

namespace {

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
    std::string pdf;
    // The PDF report's first page; empty options keep the project's own texts.
    std::optional<std::string> title, description, client, engineer;
    int threads = 0;
    bool json = false;
    bool sensitivity = false;
    bool untilSettled = false;
    int maxCycles = kDefaultMaxSettleCycles;
    double confidence = kDefaultConfidence;
    std::optional<double> life;
};

// --sensitivity, --report and --figures keep every cycle's draws and critical values (about
// 300 bytes a cycle).
constexpr int kMaxRecordedCycles = 1000000;

// One table per evaluated location: the inputs ranked by share.
void printSensitivity(const CStenorDoc& work, const std::vector<CriterionSensitivity>& measures) {
    constexpr const char* kPositions[] = {"Top", "Middle", "Bottom"};
    for (const CriterionSensitivity& criterion : measures) {
        const int type = work.criteria[static_cast<std::size_t>(criterion.slot)].responseType;
        std::vector<std::vector<std::string>> rows;
        for (const InputSensitivity& input : criterion.inputs) {
            char correlation[32] = "-", share[32];
            if (input.rankCorrelation)
                std::snprintf(correlation, sizeof correlation, "%.3f", *input.rankCorrelation);
            std::snprintf(share, sizeof share, "%.3f", input.share);
            rows.push_back({input.input, correlation, share});
        }
        const std::string title =
            "\nSensitivity: layer " + std::to_string(slotLayer(criterion.slot)) + " " +
            kPositions[slotPosition(criterion.slot)] + ", " +
            std::string(type >= 0 && type < kResponseTypeCount ? kResponseTypeNames[type] : "");
        std::cout << alignedTable(title, {"Input", "Rank Correlation", "Share"}, rows);
    }
}

#ifdef ARDELON_HAVE_PDF
// The report texts of the PDF: the project's (JSON projects keep them), replaced by any option.
ReportDetails pdfDetails(const AnalyzeArguments& args, const CStenorDoc& project) {
    ReportDetails d = project.reportDetails;
    if (args.title)
        d.title = *args.title;
    if (args.description)
        d.description = *args.description;
    if (args.client)
        d.client = *args.client;
    if (args.engineer)
        d.engineer = *args.engineer;
    return d;
}
#endif

void refusePdfOptionsWithoutPdf(const AnalyzeArguments& args) {
    if (!args.pdf.empty())
        return;
    const std::pair<const char*, bool> given[] = {{"--title", args.title.has_value()},
                                                  {"--description", args.description.has_value()},
                                                  {"--client", args.client.has_value()},
                                                  {"--engineer", args.engineer.has_value()}};
    for (const auto& [name, isGiven] : given) {
        if (isGiven) {
            throw CommandError(
                kBadInput, std::string(name) + " belongs to the PDF report: add --pdf OUT.pdf.");
        }
    }
}

void analyze(const AnalyzeArguments& args) {
    OutputPlan()
        .projectInput("PROJECT", args.project)
        .output("--raw", args.raw)
        .output("--report", args.report)
        .output("--pdf", args.pdf)
        .generatedFiles("--figures", args.figures, kFigureFileNames)
        .check();
    for (const auto& [recording, option] :
         {std::pair{args.sensitivity, "--sensitivity"}, std::pair{!args.report.empty(), "--report"},
          std::pair{!args.pdf.empty(), "--pdf"}, std::pair{!args.figures.empty(), "--figures"}}) {
        if (recording && args.cycles > kMaxRecordedCycles) {
            throw CommandError(kBadInput, std::string(option) +
                                              " keeps every cycle in memory: at most " +
                                              std::to_string(kMaxRecordedCycles) + " cycles, not " +
                                              std::to_string(args.cycles) + ".");
        }
    }
    refusePdfOptionsWithoutPdf(args);
    refusePdfWithoutQt(args.pdf);
    checkDesignLife(args.life);
    const CStenorDoc project = readProjectOrThrow(args.project);
    AnalysisRunOptions options;
    options.cycles = args.untilSettled ? args.maxCycles : args.cycles;
    options.verdicts = {.confidence = args.confidence, .designLifeYears = args.life};
    if (args.untilSettled)
        options.settledWhen = [](const ResultLists& lists) { return lists.settled(); };
    options.startTime = std::time(nullptr);
    options.seed = args.seed ? static_cast<std::uint32_t>(*args.seed)
                             : static_cast<std::uint32_t>(options.startTime);
    options.threads = args.threads;
    options.rawDataPath = args.raw;
    options.cancel = &interrupted;
    options.keepCycleRecords =
        args.sensitivity || !args.report.empty() || !args.figures.empty() || !args.pdf.empty();
    if (isatty(STDERR_FILENO))
        options.progress = drawProgress;

    interrupted = false;
    const auto started = std::chrono::steady_clock::now();
    const ProjectAnalysis run = [&] {
        CancellableSection section(interrupted);
        return analyzeProject(project, options, args.project);
    }();
    const CStenorDoc& work = run.work;
    const AnalysisRunOutcome& outcome = run.outcome;
    RunInfo runInfo;
    runInfo.projectFileName = args.project;
    runInfo.startTime = options.startTime;
    runInfo.seed = options.seed;
    runInfo.threads = workerThreadCount(args.threads);
    runInfo.models = layeredElasticResponses();
    runInfo.verdicts = options.verdicts;
    runInfo.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // The workbook is written before anything is printed, so a failure is not hidden by tables.
    if (!args.report.empty()) {
        if (FileResult written = exportFormattedReport(work, outcome.results, args.report, runInfo);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
#ifdef ARDELON_HAVE_PDF
    if (!args.pdf.empty()) {
        const DesignReport report =
            buildDesignReport(work, outcome.results, runInfo, pdfDetails(args, project));
        const RunFigures figures = runFigures(work, outcome.results, runInfo.models);
        if (FileResult written = charts::writePdfReport(report, figures, work.unitSystem, args.pdf);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
#endif
    if (!args.figures.empty()) {
        const RunFigures figures = runFigures(work, outcome.results, layeredElasticResponses());
        if (FileResult written = writeFigureCsv(figures, work.unitSystem, args.figures);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
    std::vector<CriterionSensitivity> measures;
    if (args.sensitivity)
        measures = runSensitivity(work, outcome.results);
    if (args.json) {
        nlohmann::json json = analysisJson(options.seed, outcome.results.cycles, work, outcome);
        if (args.untilSettled)
            json["maxCycles"] = args.maxCycles;
        if (args.sensitivity)
            json["sensitivity"] = sensitivityJson(work, measures);
        std::cout << json.dump(2) << "\n";
        return;
    }
    std::cout << "Seed: " << options.seed << "\nMonte Carlo cycles: " << outcome.results.cycles
              << "\n";
    if (args.untilSettled) {
        std::cout << (outcome.lists.settled() ? "Every row settled after "
                                              : "Not every row settled within ")
                  << outcome.results.cycles << " cycles (at most " << args.maxCycles << ")\n";
    }
    std::cout << settledSummary(outcome.lists) << "\n";
    std::cout << resultListTables(outcome.lists);
    if (args.sensitivity)
        printSensitivity(work, measures);
}

}  // namespace

void addAnalysisCommands(CLI::App& app) {
    static AnalyzeArguments args;
    auto* cmd = app.add_subcommand(
        "analyze", "Run the Monte Carlo reliability analysis of a project and print the results");
    cmd->add_option("PROJECT", args.project, "Project to analyse (.ard or .json)")->required();
    auto* cycles =
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
    cmd->add_option("--pdf", args.pdf,
                    "Write the design report (.pdf): summary, inputs, result lists and charts");
    cmd->add_option("--title", args.title, "Title of the PDF report (default: the project's)");
    cmd->add_option("--description", args.description, "Description on the PDF report");
    cmd->add_option("--client", args.client, "Client named on the PDF report");
    cmd->add_option("--engineer", args.engineer, "Engineer named on the PDF report");
    cmd->add_option("--threads", args.threads, "Worker threads (default: one per core)")
        ->check(CLI::Range(1, 256));
    cmd->add_flag("--json", args.json, "Print the results as JSON");
    cmd->add_flag("--until-settled", args.untilSettled,
                  "Run in blocks until every row's verdict is settled (Pass or Fail at the "
                  "confidence) or --max-cycles have run")
        ->excludes(cycles);
    cmd->add_option("--max-cycles", args.maxCycles,
                    "The most cycles of --until-settled (default 100000)")
        ->check(CLI::Range(1, kMaxSettleCycles))
        ->needs("--until-settled");
    cmd->add_option("--confidence", args.confidence,
                    "Confidence of the settled verdicts, 0.5 to 0.9999 (default 0.95)")
        ->check(CLI::Range(kMinConfidence, kMaxConfidence));
    cmd->add_option("--life", args.life,
                    "Design life in years: each transfer-function row gets a verdict against it, "
                    "and the PDF report checks the lives against it");
    cmd->add_flag("--sensitivity", args.sensitivity,
                  "Also rank the inputs that drive each criterion (rank correlation and variance "
                  "share from the run's own cycles)");
    cmd->callback([] { analyze(args); });
}

}  // namespace ardelon::cli
