// ardelon-cli compare: several designs analysed from the same seed for the same cycles (common
// random numbers), set side by side, and the paired difference of every row against the first.

#include <atomic>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/OutputPolicy.h"
#include "cli/ProjectAnalysis.h"
#include "cli/ResultOutput.h"
#include "figures/FigureData.h"
#include "reliability/ResultFormat.h"
#include "reports/TrialsSheet.h"
#include "trials/DesignComparison.h"
#include "trials/TrialFile.h"
#include "trials/TrialTable.h"
#ifdef ARDELON_HAVE_PDF
#include "charts/PdfReport.h"
#endif

namespace ardelon::cli {
namespace {

std::atomic<bool> interrupted{false};

// Every cycle's exceedances of every design are kept in memory (a few bytes a cycle).
constexpr int kMaxCompareCycles = 1000000;

struct CompareArguments {
    std::vector<std::string> projects;
    bool trials = false;
    int cycles = 5000;
    std::optional<std::int64_t> seed;
    bool untilSettled = false;
    int maxCycles = kDefaultMaxSettleCycles;
    double confidence = kDefaultConfidence;
    std::optional<double> life;
    int threads = 0;
    bool json = false;
    std::string report;
    std::string pdf;
};

struct Design {
    std::string name;
    std::string source;  // the file it came from
    CStenorDoc project;
};

// The designs: each PROJECT, or with --trials the kept trials of the one PROJECT.
std::vector<Design> readDesigns(const CompareArguments& args) {
    std::vector<Design> designs;
    if (args.trials) {
        if (args.projects.size() != 1) {
            throw CommandError(kBadInput,
                               "--trials compares the kept trials of one project: give "
                               "one PROJECT, not " +
                                   std::to_string(args.projects.size()) + ".");
        }
        const std::string& path = args.projects[0];
        const CStenorDoc doc = readProjectWithTrialsOrThrow(path);
        std::vector<Trial> trials;
        if (FileResult read = projectTrials(doc, trials); !read.ok()) {
            throw CommandError(kBadInput, "The trials kept in \"" + path + "\" cannot be read (" +
                                              read.error + "); nothing was written.");
        }
        for (const Trial& t : trials)
            designs.push_back({t.name, path, t.inputs});
        if (designs.size() < 2) {
            throw CommandError(kBadInput, path +
                                              ": compare needs at least two designs, and the "
                                              "project keeps " +
                                              std::to_string(designs.size()) + " trial" +
                                              (designs.size() == 1 ? "." : "s."));
        }
    } else {
        if (args.projects.size() < 2) {
            throw CommandError(kBadInput,
                               "compare needs at least two designs: give two or more "
                               "projects, or one project with --trials.");
        }
        for (const std::string& path : args.projects) {
            designs.push_back(
                {std::filesystem::path(path).filename().string(), path, readProjectOrThrow(path)});
        }
        // Names must tell the columns apart: the paths as given when the file names repeat.
        for (std::size_t i = 0; i < designs.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (designs[i].name == designs[j].name) {
                    for (Design& d : designs)
                        d.name = d.source;
                }
            }
        }
    }
    for (const Design& d : designs) {
        const Design& first = designs.front();
        if (d.project.valuesInEnglish != first.project.valuesInEnglish) {
            auto system = [](const Design& x) {
                return x.project.valuesInEnglish != 0 ? "English" : "metric";
            };
            throw CommandError(kBadInput, "Cannot compare designs in different unit systems: \"" +
                                              first.name + "\" is " + system(first) + ", \"" +
                                              d.name + "\" is " + system(d) + ".");
        }
    }
    return designs;
}

nlohmann::json differenceJson(const Trial& first, const Trial& second,
                              const std::vector<RowDifference>& rows) {
    constexpr const char* kLocations[] = {"Top", "Middle", "Bottom"};
    nlohmann::json list = nlohmann::json::array();
    for (const RowDifference& d : rows) {
        nlohmann::json row = {
            {"list", d.list == 0 ? "conventionalDesign" : "percentileResponses"},
            {"layer", slotLayer(d.slot)},
            {"location", kLocations[slotPosition(d.slot)]},
            {"responseType", second.inputs.criteria[static_cast<std::size_t>(d.slot)].responseType},
            {"first", d.first},
            {"second", d.second},
            {"difference", d.paired.difference},
            {"interval", {d.paired.low, d.paired.high}},
            {"verdict", pairedVerdictWord(d.paired.verdict)},
            {"statement", pairedVerdictText(d.paired.verdict, first.name, second.name)}};
        if (d.level >= 0)
            row["distributionLevel"] = d.level;
        list.push_back(std::move(row));
    }
    return {{"first", first.name}, {"second", second.name}, {"rows", std::move(list)}};
}

// The designs' runs from one seed, their trials and the paired differences against the first.
struct ComparedTrials {
    AnalysisRunOptions options;
    Comparison comparison;
    std::vector<Trial> trials;
    std::vector<TrialTable> differences;
    TrialTable table;
};

// Refuses outputs that would replace an input, and options out of range, before any work.
void checkCompareArguments(const CompareArguments& args) {
    OutputPlan plan;
    for (const std::string& p : args.projects)
        plan.projectInput("PROJECT", p);
    plan.output("--report", args.report).output("--pdf", args.pdf).check();
    refusePdfWithoutQt(args.pdf);
    checkDesignLife(args.life);
    if (!args.untilSettled && args.cycles > kMaxCompareCycles) {
        throw CommandError(kBadInput,
                           "compare keeps every cycle of every design in memory: at "
                           "most " +
                               std::to_string(kMaxCompareCycles) + " cycles, not " +
                               std::to_string(args.cycles) + ".");
    }
}

ComparedTrials runComparison(const CompareArguments& args, const std::vector<Design>& designs) {
    ComparedTrials run;
    AnalysisRunOptions& options = run.options;
    options.cycles = args.untilSettled ? args.maxCycles : args.cycles;
    options.verdicts = {.confidence = args.confidence, .designLifeYears = args.life};
    options.startTime = std::time(nullptr);
    options.seed = args.seed ? static_cast<std::uint32_t>(*args.seed)
                             : static_cast<std::uint32_t>(options.startTime);
    options.threads = args.threads;
    options.cancel = &interrupted;
    // The PDF overlays each criterion's distribution: every cycle's critical values are kept.
    options.keepCycleRecords = !args.pdf.empty();
    interrupted = false;
    run.comparison = [&] {
        CancellableSection section(interrupted);
        return compareDesigns(
            designs.size(),
            [&](std::size_t i, const AnalysisRunOptions& o) {
                ProjectAnalysis analysis = analyzeProject(designs[i].project, o, designs[i].source);
                return ProjectRun{std::move(analysis.work), std::move(analysis.outcome)};
            },
            options, args.untilSettled);
    }();
    for (std::size_t i = 0; i < designs.size(); ++i) {
        run.trials.push_back(makeTrial(designs[i].name, designs[i].project,
                                       run.comparison.designs[i].run, options.seed,
                                       options.startTime));
    }
    for (std::size_t i = 1; i < run.trials.size(); ++i) {
        run.differences.push_back(differenceTable(
            run.trials[0], run.trials[i], run.comparison.differences[i - 1], args.confidence));
    }
    run.table = sideBySide(run.trials);
    return run;
}

#ifdef ARDELON_HAVE_PDF
// One page of the tables, then one overlay of every design's distribution per criterion.
void writeComparisonPdf(const CompareArguments& args, const std::vector<Design>& designs,
                        const ComparedTrials& run) {
    const std::string footer = "Ardelon  |  compare  |  seed " + std::to_string(run.options.seed) +
                               ", " + std::to_string(run.comparison.cycles) + " cycles  |  " +
                               run.trials[0].run.date.substr(0, 10);
    std::vector<charts::DistributionOverlay> overlays;
    std::vector<std::vector<ResponseDistribution>> curves;
    for (const ComparedDesign& d : run.comparison.designs)
        curves.push_back(responseDistributions(d.run.work, d.run.outcome.results));
    for (const ResponseDistribution& f : curves.front()) {
        charts::DistributionOverlay overlay;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            for (const ResponseDistribution& g : curves[i]) {
                if (g.name.slot == f.name.slot && g.name.criterion == f.name.criterion) {
                    overlay.designs.push_back(run.trials[i].name);
                    overlay.figures.push_back(g);
                }
            }
        }
        overlays.push_back(std::move(overlay));
    }
    if (FileResult written =
            charts::writeTrialsPdf("Trial Designs", run.table, run.differences, overlays,
                                   designs[0].project.unitSystem, footer, args.pdf);
        !written.ok()) {
        throw CommandError(kFailure, written.error);
    }
}
#endif

// Each design as `analyze --json` gives it, with its cost and thickness, and the paired
// differences.
void printComparisonJson(const CompareArguments& args, const std::vector<Design>& designs,
                         const ComparedTrials& run) {
    const std::vector<Trial>& trials = run.trials;
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const ComparedDesign& d = run.comparison.designs[i];
        nlohmann::json design =
            analysisJson(run.options.seed, d.run.outcome.results.cycles, d.run.work, d.run.outcome);
        if (args.untilSettled)
            design["maxCycles"] = args.maxCycles;
        design["name"] = trials[i].name;
        design["source"] = designs[i].source;
        design["costPerLane"] = trials[i].costPerLane;
        design["priced"] = trials[i].priced;
        design["costUnit"] = trialCostUnit(trials[i].inputs);
        design["asphaltThickness"] = trials[i].asphaltThickness;
        design["thicknessUnit"] = trialThicknessUnit(trials[i].inputs);
        design["passes"] = trialPasses(trials[i]);
        list.push_back(std::move(design));
    }
    nlohmann::json paired = nlohmann::json::array();
    for (std::size_t i = 1; i < trials.size(); ++i)
        paired.push_back(differenceJson(trials[0], trials[i], run.comparison.differences[i - 1]));
    const int cheapest = run.table.cheapestPassing;
    nlohmann::json json = {
        {"seed", run.options.seed},
        {"cycles", run.comparison.cycles},
        {"settled", run.comparison.settled},
        {"confidence", args.confidence},
        {"cheapestPassing", cheapest >= 0
                                ? nlohmann::json(trials[static_cast<std::size_t>(cheapest)].name)
                                : nlohmann::json(nullptr)},
        {"designs", std::move(list)},
        {"pairedDifferences", std::move(paired)}};
    std::cout << json.dump(2) << "\n";
}

void printComparisonText(const CompareArguments& args, const ComparedTrials& run) {
    const std::vector<Trial>& trials = run.trials;
    std::cout << "Seed: " << run.options.seed << "\nMonte Carlo cycles: " << run.comparison.cycles
              << " (the same draws for every design)\n";
    if (args.untilSettled) {
        std::cout << (run.comparison.settled ? "Every row of every design settled after "
                                             : "Not every row settled within ")
                  << run.comparison.cycles << " cycles (at most " << args.maxCycles << ")\n";
    }
    std::cout << "\n" << alignedTable("Designs side by side", run.table.headings, run.table.rows);
    for (std::size_t i = 0; i < run.differences.size(); ++i) {
        if (run.differences[i].rows.empty()) {
            std::cout << "\n"
                      << trials[0].name << " and " << trials[i + 1].name
                      << " have no result rows in common to pair.\n";
            continue;
        }
        std::cout << "\n"
                  << alignedTable("Paired differences, " + trials[0].name + " - " +
                                      trials[i + 1].name + " (same draws, percentage points)",
                                  run.differences[i].headings, run.differences[i].rows);
    }
}

void compare(const CompareArguments& args) {
    checkCompareArguments(args);
    const std::vector<Design> designs = readDesigns(args);
    const ComparedTrials run = runComparison(args, designs);
    // Files before anything is printed, so that a failure is not hidden by tables.
    if (!args.report.empty()) {
        if (FileResult written = writeTrialsWorkbook(run.table, run.differences, args.report);
            !written.ok()) {
            throw CommandError(kFailure, written.error);
        }
    }
#ifdef ARDELON_HAVE_PDF
    if (!args.pdf.empty())
        writeComparisonPdf(args, designs, run);
#endif
    if (args.json)
        printComparisonJson(args, designs, run);
    else
        printComparisonText(args, run);
}

}  // namespace

void addCompareCommand(CLI::App& app) {
    static CompareArguments args;
    auto* cmd = app.add_subcommand(
        "compare", "Analyse several designs with the same random draws and set them side by side");
    cmd->add_option("PROJECT", args.projects,
                    "Projects to compare (.ard or .json); with --trials, one project")
        ->required();
    cmd->add_flag("--trials", args.trials, "Compare the trials kept with the one PROJECT");
    auto* cycles =
        cmd->add_option("--cycles", args.cycles, "Number of Monte Carlo cycles (default 5000)")
            ->check(CLI::Range(1, 100000000));
    cmd->add_option("--seed", args.seed,
                    "Seed of the random generator, 0 to 4294967295 (default: the clock)")
        ->check(CLI::Range(static_cast<std::int64_t>(0), static_cast<std::int64_t>(4294967295)));
    cmd->add_flag("--until-settled", args.untilSettled,
                  "Run until every row of every design is settled or --max-cycles have run, "
                  "all designs to the same number of cycles")
        ->excludes(cycles);
    cmd->add_option("--max-cycles", args.maxCycles,
                    "The most cycles of --until-settled (default 100000)")
        ->check(CLI::Range(1, kMaxSettleCycles))
        ->needs("--until-settled");
    cmd->add_option("--confidence", args.confidence,
                    "Confidence of the verdicts and the paired intervals (default 0.95)")
        ->check(CLI::Range(kMinConfidence, kMaxConfidence));
    cmd->add_option("--life", args.life,
                    "Design life in years: each transfer-function row gets a verdict against it");
    cmd->add_option("--threads", args.threads, "Worker threads (default: one per core)")
        ->check(CLI::Range(1, 256));
    cmd->add_flag("--json", args.json, "Print the comparison as JSON");
    cmd->add_option("--report", args.report,
                    "Write the comparison as a workbook (.xlsx) with a Trials sheet");
    cmd->add_option("--pdf", args.pdf, "Write the comparison as a PDF page");
    cmd->callback([] { compare(args); });
}

}  // namespace ardelon::cli
