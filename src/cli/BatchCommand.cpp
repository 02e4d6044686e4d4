// ardelon-cli batch: one analysis per row of a plan, one JSON line per row on stdout, in plan
// order. `--shard K/N` runs rows K, K + N, K + 2N, ... (from 0), so that N processes on one
// machine or a job array on a cluster split a plan; their lines, concatenated and sorted by id,
// are those of the whole plan. A row that cannot be analysed gives a line with its id and the
// reason and the others go on; the status then says some rows failed (2 when every failure was
// bad input, else 1).

#include <cmath>
#include <ctime>
#include <iostream>
#include <limits>

#include "cli/BatchPlan.h"
#include "cli/CliSupport.h"
#include "cli/CommandLineNumbers.h"
#include "cli/Commands.h"
#include "cli/ProjectAnalysis.h"
#include "project/SafeText.h"

namespace ardelon::cli {
namespace {

struct BatchArguments {
    std::string plan;
    std::string shard;
    int threads = 0;
};

struct Shard {
    int index = 0;
    int count = 1;
};

Shard shardOf(const std::string& text) {
    if (text.empty())
        return {};
    const size_t slash = text.find('/');
    const std::string_view all = text;
    const auto index = decimalWholeNumber(all.substr(0, slash));
    const auto count =
        slash == std::string::npos ? std::nullopt : decimalWholeNumber(all.substr(slash + 1));
    if (!index || !count || *count < 1 || *count > std::numeric_limits<int>::max() || *index < 0 ||
        *index >= *count) {
        throw CommandError(kBadInput, "--shard: \"" + echoedText(text) +
                                          "\" is not K/N with 0 <= K < N (for example 0/4).");
    }
    return {static_cast<int>(*index), static_cast<int>(*count)};
}

// Every transfer-function criterion reaches a damage of 1.0 no sooner than the design life.
bool meetsLife(const ResultLists& lists, double lifeYears) {
    for (const TransferFunctionRow& row : lists.transferFunction) {
        if (!(row.yearsToDamage10 >= lifeYears))
            return false;
    }
    return true;
}

// JSON text of any strings: invalid UTF-8 is shown as U+FFFD.
std::string jsonText(const nlohmann::json& json) {
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Lines start with the id so that sorting them as text sorts them by id.
using Line = nlohmann::ordered_json;

Line analyseRow(const BatchPlan& plan, const BatchRow& row, int threads) {
    if (!isValidUtf8(row.id)) {
        throw CommandError(kBadInput, "line " + std::to_string(row.line) +
                                          ": the id is not valid UTF-8 (each invalid byte is "
                                          "shown as U+FFFD)");
    }
    const BatchInputs inputs = batchInputs(plan, row);
    const std::filesystem::path project = plan.folder / inputs.project;
    // A pipe or a device would block the batch or feed it without end.
    if (std::error_code ec;
        std::filesystem::exists(project, ec) && !std::filesystem::is_regular_file(project, ec)) {
        throw CommandError(kBadInput, "line " + std::to_string(row.line) + ": the project \"" +
                                          echoedText(project.string()) +
                                          "\" is not a regular file");
    }
    if (!isValidUtf8(inputs.project)) {
        std::cerr << "ardelon-cli: note: line " << row.line
                  << ": the project's name is not valid UTF-8; its line shows each invalid byte "
                     "as U+FFFD.\n";
    }
    CStenorDoc doc = readProjectOrThrow(project.string());
    applyBatchOverrides(inputs, row.line, doc);

    const AnalysisRunOptions options{.cycles = inputs.cycles,
                                     .seed = inputs.seed,
                                     .threads = threads,
                                     .startTime = std::time(nullptr)};
    const ProjectAnalysis run = analyzeProject(doc, options, project.string());

    Line line = {{"id", row.id}, {"inputs", Line::parse(jsonText(batchInputsJson(inputs)))}};
    const nlohmann::json results =
        analysisJson(options.seed, options.cycles, run.work, run.outcome);
    for (const auto& [key, value] : results.items())
        line[key] = Line::parse(jsonText(value));
    if (inputs.lifeYears)
        line["meetsLife"] = meetsLife(run.outcome.lists, *inputs.lifeYears);
    return line;
}

void batch(const BatchArguments& args) {
    const Shard shard = shardOf(args.shard);
    const BatchPlan plan = readBatchPlan(args.plan);
    ExitStatus status = kSuccess;
    for (size_t i = static_cast<size_t>(shard.index); i < plan.rows.size();
         i += static_cast<size_t>(shard.count)) {
        const BatchRow& row = plan.rows[i];
        Line line;
        try {
            line = analyseRow(plan, row, args.threads);
        } catch (const std::exception& e) {
            const auto* bad = dynamic_cast<const CommandError*>(&e);
            const ExitStatus rowStatus = bad != nullptr ? bad->status : kFailure;
            status = status == kFailure || rowStatus == kFailure ? kFailure : kBadInput;
            line = {{"id", row.id}, {"error", echoedText(e.what(), 4 * kEchoedCharacters)}};
            std::cerr << "ardelon-cli: row " << echoedText(row.id) << ": "
                      << echoedText(e.what(), 4 * kEchoedCharacters) << "\n";
        }
        // Any bytes of the plan give valid JSON: invalid UTF-8 is shown as U+FFFD.
        std::cout << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                  << std::endl;  // flushed: each finished row is kept
        if (const std::string why = standardOutputFailure(); !why.empty()) {
            throw CommandError(kFailure, "cannot write the standard output: " + why +
                                             "; the batch stopped at line " +
                                             std::to_string(row.line) + ".");
        }
    }
    if (status != kSuccess)
        throw CommandError(
            status, "some rows of \"" + echoedText(args.plan) + "\" failed; see their lines.");
}

}  // namespace

void addBatchCommand(CLI::App& app) {
    static BatchArguments args;
    auto* cmd = app.add_subcommand(
        "batch", "Analyse every row of a plan (CSV) and print one JSON line per row");
    cmd->add_option("PLAN", args.plan,
                    "Plan: id,project[,cycles,seed,life,H1..H4,E1..E5], one analysis per row")
        ->required();
    cmd->add_option("--shard", args.shard,
                    "Run only rows K, K+N, K+2N, ... of the plan (K from 0), as K/N");
    cmd->add_option("--threads", args.threads,
                    "Worker threads per analysis (default: one per core)")
        ->check(CLI::Range(1, 256));
    cmd->callback([] { batch(args); });
}

}  // namespace ardelon::cli
