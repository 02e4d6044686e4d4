// ardelon-cli batch: one analysis per row of a plan, one JSON line per row on stdout, in plan
// order. `--shard K/N` runs rows K, K + N, K + 2N, ... (from 0), so that N processes on one
// machine or a job array on a cluster split a plan; their lines, concatenated and sorted by id,
// are those of the whole plan. A row that cannot be analysed gives a line with its id and the
// reason and the others go on; the status then says some rows failed (2 when every failure was
// bad input, else 1).

#include <cmath>
#include <ctime>
#include <iostream>

#include "cli/BatchPlan.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ProjectAnalysis.h"

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
    Shard shard{-1, 0};
    try {
        size_t used = 0;
        shard.index = std::stoi(text.substr(0, slash), &used);
        if (used != slash)
            shard.index = -1;
        const std::string countText = slash == std::string::npos ? "" : text.substr(slash + 1);
        shard.count = std::stoi(countText, &used);
        if (used != countText.size())
            shard.count = 0;
    } catch (const std::exception&) {
        shard = {-1, 0};
    }
    if (shard.count < 1 || shard.index < 0 || shard.index >= shard.count) {
        throw CommandError(
            kBadInput, "--shard: \"" + text + "\" is not K/N with 0 <= K < N (for example 0/4).");
    }
    return shard;
}

// Every transfer-function criterion reaches a damage of 1.0 no sooner than the design life.
bool meetsLife(const ResultLists& lists, double lifeYears) {
    for (const TransferFunctionRow& row : lists.transferFunction) {
        if (!(row.yearsToDamage10 >= lifeYears))
            return false;
    }
    return true;
}

// Lines start with the id so that sorting them as text sorts them by id.
using Line = nlohmann::ordered_json;

Line analyseRow(const BatchPlan& plan, const BatchRow& row, int threads) {
    const BatchInputs inputs = batchInputs(plan, row);
    const std::filesystem::path project = plan.folder / inputs.project;
    CStenorDoc doc = readProjectOrThrow(project.string());
    applyBatchOverrides(inputs, row.line, doc);

    const AnalysisRunOptions options{.cycles = inputs.cycles,
                                     .seed = inputs.seed,
                                     .threads = threads,
                                     .startTime = std::time(nullptr)};
    const ProjectAnalysis run = analyzeProject(doc, options, project.string());

    Line line = {{"id", row.id}, {"inputs", Line::parse(batchInputsJson(inputs).dump())}};
    const nlohmann::json results =
        analysisJson(options.seed, options.cycles, run.work, run.outcome);
    for (const auto& [key, value] : results.items())
        line[key] = Line::parse(value.dump());
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
            line = {{"id", row.id}, {"error", e.what()}};
            std::cerr << "ardelon-cli: row " << row.id << ": " << e.what() << "\n";
        }
        std::cout << line.dump() << std::endl;  // flushed: each finished row is kept
    }
    if (status != kSuccess)
        throw CommandError(status, "some rows of \"" + args.plan + "\" failed; see their lines.");
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
