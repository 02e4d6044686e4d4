// ardelon-cli design: the least-cost layer thicknesses that pass every criterion.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/OutputPolicy.h"
#include "cli/ProjectAnalysis.h"
#include "cli/ResultOutput.h"
#include "cli/VaryOption.h"
#include "design/SearchVerification.h"
#include "design/ThicknessSearch.h"
#include "project/ReplacingFile.h"
#include "project/ShownUnits.h"
#include "reliability/ResultFormat.h"
#include "reliability/SolverResponseModel.h"

namespace ardelon::cli {
namespace {

std::atomic<bool> interrupted{false};

struct DesignArguments {
    std::string project;
    std::vector<std::string> vary;
    std::optional<double> life;
    int cycles = 5000;
    std::int64_t seed = 1;
    int threads = 0;
    bool verify = false;
    std::string trace;
    bool json = false;
    std::string output;
    bool untilSettled = false;
    int maxCycles = 0;  // 0: twice --cycles
    double confidence = kDefaultConfidence;
};

std::string numberText(double value, int precision = 10) {
    if (!std::isfinite(value))
        return value > 0 ? kInfiniteYears : "-Infinite";
    std::ostringstream out;
    out.precision(precision);
    out << value;
    return out.str();
}

std::string thicknessText(const DesignCandidate& c, const std::vector<VaryRange>& vary,
                          const std::string& unit) {
    std::string text;
    for (const VaryRange& r : vary) {
        if (!text.empty())
            text += ", ";
        text += "layer " + std::to_string(r.layer) + " = " +
                numberText(c.thickness[static_cast<std::size_t>(r.layer - 1)]) + " " + unit;
    }
    return text;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Every analysed candidate, in the order analysed; the file is replaced whole or not at all.
void writeTrace(const std::string& path, const ThicknessSearchResult& result,
                const std::vector<VaryRange>& vary, const std::string& unit) {
    std::ostringstream out;
    for (const VaryRange& r : vary)
        out << quoted("Layer " + std::to_string(r.layer) + " (" + unit + ")") << ",";
    out << "Cost,Pass";
    for (const std::string& name : result.percentileRowNames)
        out << "," << quoted(name + " actual percentile");
    for (const std::string& name : result.transferRowNames)
        out << "," << quoted(name);
    out << ",Cycles Run,Settled\n";
    for (const EvaluatedCandidate& e : result.evaluated) {
        for (const VaryRange& r : vary)
            out << numberText(e.candidate.thickness[static_cast<std::size_t>(r.layer - 1)]) << ",";
        out << numberText(e.candidate.cost, 15) << "," << (e.pass ? "Pass" : "Fail");
        for (double v : e.actualPercentile)
            out << "," << numberText(v);
        for (double v : e.yearsToDamage10)
            out << "," << numberText(v);
        out << "," << e.cyclesRun << "," << (e.settled ? "Yes" : "No") << "\n";
    }
    const std::string text = out.str();
    if (std::string why = replaceFileContents(path, text.data(), text.size()); !why.empty())
        throw CommandError(kFailure, path + ": cannot write the trace file: " + why);
}

void drawSearchProgress(const ThicknessSearchProgress& p) {
    std::fprintf(stderr, "\r%d of at most %d candidates, %lld cycles", p.candidatesEvaluated,
                 p.candidateCount, static_cast<long long>(p.cyclesRun));
    std::fflush(stderr);
}

// A varied layer of the winner at the end of its range: "layer 2 at its minimum (2 in.)".
std::vector<std::string> gridEdges(const DesignCandidate& c, const std::vector<VaryRange>& vary,
                                   const std::string& unit) {
    std::vector<std::string> edges;
    for (std::size_t d = 0; d < vary.size(); ++d) {
        const int last = rangeSize(vary[d]) - 1;
        if (c.index[d] != 0 && c.index[d] != last)
            continue;
        edges.push_back("layer " + std::to_string(vary[d].layer) + " at its " +
                        (c.index[d] == 0 ? "minimum" : "maximum") + " (" +
                        numberText(c.thickness[static_cast<std::size_t>(vary[d].layer - 1)]) + " " +
                        unit + ")");
    }
    return edges;
}

std::string marginText(const VerifiedRow& r) {
    const std::string unit = r.life ? " years" : " points";
    return r.name + ": " + settledText(r.settled) + " against " + formatSignificant(r.target) +
           ", margin " + formatSignificant(r.margin) + unit;
}

nlohmann::json rowsJson(const std::vector<VerifiedRow>& rows) {
    nlohmann::json list = nlohmann::json::array();
    for (const VerifiedRow& r : rows) {
        auto number = [](double v) {
            return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr);
        };
        list.push_back({{"criterion", r.name},
                        {"kind", r.life ? "designLife" : "percentile"},
                        {"target", r.target},
                        {"actual", number(r.actual)},
                        {"interval", {number(r.settled.low), number(r.settled.high)}},
                        {"verdict", verdictWord(r.settled.verdict)},
                        {"margin", number(r.margin)}});
    }
    return list;
}

// What one design search produced, and what the report of it needs.
struct DesignRun {
    ThicknessSearchOptions options;
    ThicknessSearchResult result;
    std::optional<SearchVerification> verification;
    double seconds = 0.0;
    std::string unit;                   // of the thicknesses
    std::string costUnit;               // of the winner's cost
    std::int64_t exhaustiveCycles = 0;  // every candidate of the grid in full
    std::vector<VerifiedRow> margins;   // the winner's own rows at the search's confidence
    std::vector<std::string> edges;
    std::vector<std::string> warnings;
};

ThicknessSearchOptions searchOptions(const DesignArguments& args, const CStenorDoc& project) {
    ThicknessSearchOptions options;
    for (const std::string& v : args.vary)
        options.vary.push_back(parseVary(v, project));
    std::sort(options.vary.begin(), options.vary.end(),
              [](const VaryRange& a, const VaryRange& b) { return a.layer < b.layer; });
    if (std::string why = checkDesignGrid(project, options.vary); !why.empty())
        throw CommandError(kBadInput, args.project + ": " + why);
    checkDesignLife(args.life);
    options.designLifeYears = args.life;
    options.cycles = args.cycles;
    options.seed = static_cast<std::uint32_t>(args.seed);
    options.threads = args.threads;
    options.untilSettled = args.untilSettled;
    options.maxCycles = args.maxCycles;
    options.confidence = args.confidence;
    options.cancel = &interrupted;
    if (isatty(STDERR_FILENO))
        options.progress = drawSearchProgress;
    return options;
}

// Runs the search and, when asked and found, the verification of its winner; Ctrl+C cancels.
void runSearch(const DesignArguments& args, const CStenorDoc& project, DesignRun& run) {
    interrupted = false;
    const auto start = std::chrono::steady_clock::now();
    {
        CancellableSection section(interrupted);
        run.result = searchThicknesses(project, run.options, layeredElasticResponses());
        if (args.verify && run.result.status == ThicknessSearchStatus::Found)
            run.verification =
                verifyWinner(project, run.options, run.result, layeredElasticResponses());
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (run.options.progress)
        std::fputs("\n", stderr);
}

// A search or verification that did not complete is a failure, with its status.
void throwUnlessCompleted(const DesignArguments& args, const DesignRun& run) {
    switch (run.result.status) {
        case ThicknessSearchStatus::Refused:
            throw CommandError(kBadInput, args.project + ": " + run.result.message);
        case ThicknessSearchStatus::Failed:
            throw CommandError(kFailure, args.project + ": " + run.result.message);
        case ThicknessSearchStatus::Cancelled:
            throw CommandError(kFailure, "design search interrupted; nothing written.");
        default:
            break;
    }
    if (run.verification && !run.verification->completed)
        throw CommandError(kFailure, "verification: " + run.verification->message);
}

void throwIfNonePasses(const DesignRun& run) {
    if (run.result.status != ThicknessSearchStatus::NoPassingCandidate)
        return;
    const EvaluatedCandidate& best = *run.result.best;
    std::string fails;
    for (const std::string& f : best.failedCriteria)
        fails += "\n  " + f;
    throw CommandError(kNoPassingDesign,
                       "no candidate of the grid passes every criterion. The best failing "
                       "candidate, " +
                           thicknessText(best.candidate, run.options.vary, run.unit) +
                           ", fails:" + fails);
}

// The winner's margins, grid edges, the warning about unchecked lives, and the cost's unit.
void summariseWinner(const DesignArguments& args, const CStenorDoc& project, DesignRun& run) {
    const ThicknessSearchResult& result = run.result;
    run.margins = verifiedRows(result, result.bestOutcome, args.life);
    run.edges = gridEdges(result.best->candidate, run.options.vary, run.unit);
    if (!args.life && !result.bestOutcome.lists.transferFunction.empty()) {
        std::string text =
            "no design life (--life) was given, so these transfer-function rows "
            "were not checked; the winner reaches:";
        for (std::size_t i = 0; i < result.bestOutcome.lists.transferFunction.size(); ++i) {
            const TransferFunctionRow& row = result.bestOutcome.lists.transferFunction[i];
            text += "\n  " + result.transferRowNames[i] + " = " + formatYears(row.yearsToDamage10) +
                    " years " + verdictCell(row);
        }
        run.warnings.push_back(text);
        std::cerr << "warning: " << text << "\n";
    }
    const bool priced =
        std::any_of(run.options.vary.begin(), run.options.vary.end(), [&](const auto& r) {
            return project.costPerTon[static_cast<std::size_t>(r.layer - 1)] != 0.0;
        });
    run.costUnit = priced ? (heldInEnglish(project) ? "$ per lane-mile" : "$ per lane-km")
                          : run.unit + " (sum of thicknesses)";
    run.exhaustiveCycles = static_cast<std::int64_t>(result.candidateCount) * args.cycles;
}

void printDesignJson(const DesignArguments& args, const DesignRun& run) {
    const ThicknessSearchResult& result = run.result;
    const EvaluatedCandidate& best = *result.best;
    const auto& vary = run.options.vary;
    nlohmann::json out = analysisJson(run.options.seed, result.bestOutcome.results.cycles,
                                      result.bestWork, result.bestOutcome);
    nlohmann::json layers = nlohmann::json::array();
    for (const VaryRange& r : vary) {
        layers.push_back(
            {{"layer", r.layer},
             {"thickness", best.candidate.thickness[static_cast<std::size_t>(r.layer - 1)]}});
    }
    out["design"] = {{"layers", layers},
                     {"unit", run.unit},
                     {"cost", best.candidate.cost},
                     {"costUnit", run.costUnit},
                     {"candidatesEvaluated", result.evaluated.size()},
                     {"candidateCount", result.candidateCount},
                     {"cyclesRun", result.cyclesRun},
                     {"exhaustiveCycles", run.exhaustiveCycles},
                     {"elapsedSeconds", run.seconds},
                     {"untilSettled", args.untilSettled},
                     {"confidence", args.confidence},
                     {"margins", rowsJson(run.margins)},
                     {"gridEdge", run.edges},
                     {"warnings", run.warnings}};
    if (args.life)
        out["design"]["designLifeYears"] = *args.life;
    if (const auto& v = run.verification) {
        const auto candidateOrNull = [&](const std::optional<DesignCandidate>& c) {
            return c ? nlohmann::json(thicknessText(*c, vary, run.unit)) : nlohmann::json(nullptr);
        };
        out["verification"] = {{"seed", v->seed},
                               {"cycles", v->cycles},
                               {"confidence", v->confidence},
                               {"robust", v->robust},
                               {"rows", rowsJson(v->rows)},
                               {"marginal", v->marginal},
                               {"candidatesTried", v->candidatesTried}};
        out["verification"]["nextSettled"] = candidateOrNull(v->nextSettled);
        out["verification"]["nextThicker"] = candidateOrNull(v->nextThicker);
    }
    std::cout << out.dump(2) << "\n";
}

void printVerification(const SearchVerification& v, const DesignRun& run) {
    std::cout << "\nVerification: seed " << v.seed << ", " << v.cycles << " cycles, "
              << confidenceText(v.confidence) << " confidence\n";
    for (const VerifiedRow& r : v.rows)
        std::cout << "  " << marginText(r) << "\n";
    if (v.robust) {
        std::cout << "The design is robust: every row is settled Pass.\n";
        return;
    }
    std::cout << "The design is not robust; these rows are not settled Pass:";
    for (const std::string& m : v.marginal)
        std::cout << "\n  " << m;
    std::cout << "\nNext thicker candidate: "
              << (v.nextThicker ? thicknessText(*v.nextThicker, run.options.vary, run.unit)
                                : std::string("none in the grid"))
              << "\nNext candidate that settles every row Pass: "
              << (v.nextSettled
                      ? thicknessText(*v.nextSettled, run.options.vary, run.unit)
                      : "none among the next " + std::to_string(v.candidatesTried) + " tried")
              << "\n";
}

void printDesignText(const DesignArguments& args, const DesignRun& run) {
    const ThicknessSearchResult& result = run.result;
    const EvaluatedCandidate& best = *result.best;
    std::cout << "Seed: " << run.options.seed << "\n";
    if (args.untilSettled) {
        std::cout << "Monte Carlo cycles: until settled at " << confidenceText(args.confidence)
                  << " confidence, at most " << searchCycleCap(run.options) << " per candidate\n";
    } else {
        std::cout << "Monte Carlo cycles: " << args.cycles << "\n";
    }
    if (args.life)
        std::cout << "Design life: " << numberText(*args.life) << " years\n";
    std::cout << "Cheapest passing design: "
              << thicknessText(best.candidate, run.options.vary, run.unit)
              << "\nCost: " << numberText(best.candidate.cost, 15) << " " << run.costUnit
              << "\nCandidates evaluated: " << result.evaluated.size() << " of "
              << result.candidateCount << "\nMonte Carlo cycles run: " << result.cyclesRun
              << " (every candidate in full: " << run.exhaustiveCycles
              << ")\nElapsed: " << numberText(run.seconds, 3) << " s\n\n";
    std::cout << resultListTables(result.bestOutcome.lists);
    std::cout << "\nMargins of the winner (" << confidenceText(args.confidence)
              << " confidence; the low end of each interval less its target):\n";
    for (const VerifiedRow& r : run.margins)
        std::cout << "  " << marginText(r) << "\n";
    for (const std::string& edge : run.edges)
        std::cout << "The winner sits on the edge of the grid: " << edge
                  << "; widen the range to be sure.\n";
    if (run.verification)
        printVerification(*run.verification, run);
}

void design(const DesignArguments& args) {
    OutputPlan()
        .projectInput("PROJECT", args.project)
        .output("--trace", args.trace)
        .projectOutput("-o", args.output)
        .check();
    // The winner saved keeps the trials of the project it was found for.
    const CStenorDoc project = args.output.empty() ? readProjectOrThrow(args.project)
                                                   : readProjectWithTrialsOrThrow(args.project);
    if (!args.output.empty())
        checkTrialsBesideOrThrow(project, args.output);
    DesignRun run;
    run.options = searchOptions(args, project);
    run.unit = heldInEnglish(project) ? "in." : "cm";
    runSearch(args, project, run);
    throwUnlessCompleted(args, run);
    if (!args.trace.empty())
        writeTrace(args.trace, run.result, run.options.vary, run.unit);
    throwIfNonePasses(run);
    if (!args.output.empty())
        writeProjectOrThrow(
            candidateProject(project, run.result.best->candidate.thickness, run.options.vary),
            args.output);
    summariseWinner(args, project, run);
    if (args.json)
        printDesignJson(args, run);
    else
        printDesignText(args, run);
}

}  // namespace

void addDesignCommand(CLI::App& app) {
    static DesignArguments args;
    auto* cmd = app.add_subcommand(
        "design", "Find the cheapest layer thicknesses of a project that pass every criterion");
    cmd->add_option("PROJECT", args.project, "Project to design (.ard or .json)")->required();
    cmd->add_option("--vary", args.vary,
                    "LAYER=MIN:MAX[:STEP]: vary a layer above the bottom one, in the project's "
                    "units (step 0.5 in. or 1 cm by default); 1 to 3 layers")
        ->required()
        ->take_last()
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    cmd->add_option("--life", args.life,
                    "Design life in years: every transfer function must last as long");
    cmd->add_option("--cycles", args.cycles, "Monte Carlo cycles per candidate (default 5000)")
        ->check(CLI::Range(1, 100000000));
    cmd->add_option("--seed", args.seed,
                    "Seed of every candidate's run, 0 to 4294967295 (default 1; printed with "
                    "the result)")
        ->check(CLI::Range(static_cast<std::int64_t>(0), static_cast<std::int64_t>(4294967295)));
    cmd->add_option("--threads", args.threads, "Worker threads (default: one per core)")
        ->check(CLI::Range(1, 256));
    cmd->add_flag("--verify", args.verify,
                  "Re-analyse the winner with seed + 1 and four times the cycles; it is robust "
                  "only when every row (percentiles, and lives with --life) is settled Pass");
    cmd->add_flag("--until-settled", args.untilSettled,
                  "Run each candidate until its rows settle (a row settled Fail ends it at once) "
                  "or --max-cycles have run");
    cmd->add_option("--max-cycles", args.maxCycles,
                    "The most cycles per candidate with --until-settled (default twice --cycles: "
                    "10000)")
        ->check(CLI::Range(1, kMaxSettleCycles))
        ->needs("--until-settled");
    cmd->add_option("--confidence", args.confidence,
                    "Confidence of the settled verdicts, 0.5 to 0.9999 (default 0.95)")
        ->check(CLI::Range(kMinConfidence, kMaxConfidence));
    cmd->add_option("--trace", args.trace, "Write every analysed candidate to this CSV file");
    cmd->add_flag("--json", args.json, "Print the result as JSON");
    cmd->add_option("-o,--output", args.output,
                    "Save the project with the winner's thicknesses (.ard or .json)");
    cmd->footer(std::string("Exit status 3: no candidate passes.\n") +
                std::string(kThicknessSearchAssumption));
    cmd->callback([] { design(args); });
}

}  // namespace ardelon::cli
