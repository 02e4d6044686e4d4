#include "reliability/AnalysisRun.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisInputRanges.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

void zeroThicknessCovBelowLastLayer(CStenorDoc& work) {
    const int layers = std::clamp(work.layerCountIndex, 0, 3) + 2;
    // Layers `layers` and below have no thickness of their own (the last one is semi-infinite).
    for (int layer = layers; layer <= kThicknessCount; ++layer)
        work.thicknessCov[at(layer - 1)] = 0.0;
}

// ---- The run --------------------------------------------------------------------------------

std::optional<AnalysisRefusal> checkAnalysisInputs(const CStenorDoc& work, int cycles) {
    if (cycles < kMinCycles)
        return AnalysisRefusal{std::string(kCyclesCaption), std::string(kCyclesTooFewText)};
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    if (slots.count > kMaxEvaluatedLocations) {
        return AnalysisRefusal{
            std::string(kTooManyLocationsCaption),
            "The analysis evaluates at most 10 criterion locations at a time (five points each), "
            "but " +
                std::to_string(slots.count) +
                " are active. Please deactivate some criteria in the Structure module."};
    }
    const auto& f = work.axleTypeFraction;
    for (int c = 0; c < kConfigurationCount; ++c) {
        const bool empty = heaviestBinLoadPerTire(work.loadCdf[at(c)], 2) == 0.0;
        if (!empty)
            continue;
        const std::string name(kConfigurationNames[at(c)]);
        if (f[at(c)] > 0) {
            return AnalysisRefusal{
                std::string(kEmptyLoadDistributionCaption),
                "The " + name + " axles carry " + formatSignificant(f[at(c)] * 100.0) +
                    " % of the axle groups but their cumulative load distribution is empty. "
                    "Please open the Load Spectra module and accept it to compute the load "
                    "distributions."};
        }
        // Steer axles take every draw at or above the sum of the other three shares.
        if (c == Steer && f[0] + f[1] + f[2] < 1.0) {
            return AnalysisRefusal{
                std::string(kEmptyLoadDistributionCaption),
                "The axle configuration shares add up to less than 100 %, so the remainder is "
                "analysed as Steer axles, whose cumulative load distribution is empty. Please "
                "correct the shares in the Load Spectra module and accept it."};
        }
    }
    if (std::string problem = analysisInputRangeProblem(work); !problem.empty())
        return AnalysisRefusal{std::string(kInputOutOfRangeCaption), std::move(problem)};
    return std::nullopt;
}

namespace {

// The first requested response of a point that is not a finite number, as "row name of point n",
// or empty.
std::string firstNonFinite(const ResponseTable& table, const CycleGeometry& g) {
    for (int row = 0; row < kResponseRows; ++row) {
        for (int p = 0; p < g.pointCount; ++p) {
            if ((g.points[at(p)].responses & responseBit(row)) && !std::isfinite(table.at(row, p)))
                return std::string(kResponseRowNames[row]) + " of point " + std::to_string(p + 1);
        }
    }
    return {};
}

AnalysisRunOutcome ended(AnalysisStatus status, AnalysisRefusal why = {}) {
    AnalysisRunOutcome outcome;
    outcome.status = status;
    outcome.refusal = std::move(why);
    return outcome;
}

// A run until settled keeps every cycle's damage: it is refused beyond kMaxSettleCycles.
std::optional<AnalysisRefusal> checkRunOptions(const CStenorDoc& work,
                                               const AnalysisRunOptions& options) {
    if (auto refusal = checkAnalysisInputs(work, options.cycles))
        return refusal;
    if (options.settledWhen && options.cycles > kMaxSettleCycles) {
        return AnalysisRefusal{
            std::string(kCyclesCaption),
            "A run until settled keeps every cycle's damage in memory: at most " +
                std::to_string(kMaxSettleCycles) + " cycles, not " +
                std::to_string(options.cycles) + "."};
    }
    return std::nullopt;
}

// The responses of the first `blockSize` cycles' geometry into `tables`, spread over the
// workers' models; a cycle whose solver call failed, or gave a response that is not finite,
// gets its reason in `failure`.
void computeBlock(int blockSize, const std::vector<CycleGeometry>& geometry,
                  std::vector<ResponseTable>& tables, std::vector<std::string>& failure,
                  const std::vector<std::unique_ptr<ResponseModel>>& model,
                  const std::atomic<bool>* cancel) {
    auto cancelled = [cancel] {
        return cancel != nullptr && cancel->load(std::memory_order_relaxed);
    };
    std::atomic<int> nextCycle{0};
    auto computeCycles = [&](int t) {
        for (int b = nextCycle.fetch_add(1); b < blockSize; b = nextCycle.fetch_add(1)) {
            if (cancelled())
                return;
            const CycleGeometry& g = geometry[at(b)];
            ResponseTable& table = tables[at(b)];
            table = ResponseTable{};
            ResponseModel& m = *model[at(t)];
            m.computeResponses(g.system, std::span(g.loads.data(), at(g.loadCount)),
                               std::span(g.points.data(), at(g.pointCount)), table);
            failure[at(b)] = m.lastFailure();
            if (failure[at(b)].empty()) {
                if (std::string bad = firstNonFinite(table, g); !bad.empty())
                    failure[at(b)] = bad + " is not a finite number";
            }
        }
    };
    const int helpers = std::min(static_cast<int>(model.size()), blockSize) - 1;
    std::vector<std::thread> pool;
    pool.reserve(at(helpers));
    for (int t = 1; t <= helpers; ++t)
        pool.emplace_back(computeCycles, t);
    computeCycles(0);
    for (auto& thread : pool)
        thread.join();
}

// Whether every row is settled after `done` cycles, judged on the counts and damage so far.
bool settledAfter(int done, const CStenorDoc& run, const AnalysisResults& results,
                  const SettlingDamage& settlingDamage, const AnalysisRunOptions& options) {
    AnalysisResults look;
    look.cycles = done;
    look.exceedCount = results.exceedCount;
    look.limitExceedCount = results.limitExceedCount;
    settlingDamage.sumsAt(done, look);
    return options.settledWhen(buildResultLists(run, look, options.verdicts));
}

// The last cycle's points and responses stay with the module, every response of them: the cycle
// is computed again whole (its judged rows come out the same).
void keepLastCycle(CycleGeometry g, const ResponseTable& judged, ResponseModel& model,
                   OutputModuleState& out, AnalysisResults& results) {
    ResponseTable table{};
    for (int i = 0; i < g.pointCount; ++i)
        g.points[at(i)].responses = kAllResponses;
    model.computeResponses(g.system, std::span(g.loads.data(), at(g.loadCount)),
                           std::span(g.points.data(), at(g.pointCount)), table);
    if (!model.lastFailure().empty())
        table = judged;
    for (int i = 0; i < g.pointCount; ++i) {
        out.pointX[at(i)] = g.points[at(i)].x;
        out.pointY[at(i)] = g.points[at(i)].y;
        out.pointDepth[at(i)] = g.points[at(i)].depth;
        out.pointLayer[at(i)] = g.points[at(i)].layer;
    }
    out.responses = table;
    out.loadCount = results.loadCount = g.loadCount;
    out.pointCount = results.pointCount = g.pointCount;
}

}  // namespace

int workerThreadCount(int asked) {
    return asked > 0 ? asked : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

AnalysisRunOutcome runAnalysis(CStenorDoc& work, const ResponseModelFactory& models,
                               const AnalysisRunOptions& options) {
    AnalysisRunOutcome outcome;
    if (auto refusal = checkRunOptions(work, options)) {
        outcome.refusal = *refusal;
        return outcome;
    }
    const bool settling = static_cast<bool>(options.settledWhen);
    int cycles = options.cycles;  // a run until settled ends with the cycles it ran
    CStenorDoc run = work;        // the working copy changes only when the run completes
    zeroThicknessCovBelowLastLayer(run);
    const EvaluatedSlots slots = evaluatedSlots(run.criteria);

    RawDataFile raw;
    if (!options.rawDataPath.empty()) {
        std::string error = raw.open(options.rawDataPath, slots.count, options.startTime);
        if (!error.empty()) {
            outcome.refusal = {std::string(kRawDataCaption), std::move(error)};
            return outcome;
        }
    }

    const int blockCycles = std::max(1, options.blockCycles);
    const int threads = std::min(workerThreadCount(options.threads), blockCycles);
    std::vector<std::unique_ptr<ResponseModel>> model;
    for (int t = 0; t < threads; ++t) {
        model.push_back(models());
        model.back()->watchCancel(options.cancel);
    }

    AnalysisResults& results = outcome.results;
    results.cycles = cycles;
    // Until settled, each cycle's damage is kept whole (divided by 1) and divided at a look.
    const int damageDivisor = settling ? 1 : cycles;
    SettlingDamage settlingDamage(slots);
    if (options.keepCycleRecords && !settling)
        results.cycleRecords.reserve(at(cycles));
    CycleDrawer drawer(run, options.seed);
    std::vector<CycleSample> samples(at(std::min(cycles, blockCycles)));
    std::vector<CycleGeometry> geometry(samples.size());
    std::vector<ResponseTable> tables(samples.size());
    std::vector<std::string> failure(samples.size());
    auto cancelled = [&] {
        return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
    };

    for (int blockStart = 0; blockStart < cycles; blockStart += blockCycles) {
        const int blockSize = std::min(blockCycles, cycles - blockStart);
        for (int b = 0; b < blockSize; ++b) {
            samples[at(b)] = drawer.next();
            geometry[at(b)] = cycleGeometry(samples[at(b)], run, slots);
        }
        computeBlock(blockSize, geometry, tables, failure, model, options.cancel);
        if (cancelled()) {
            raw.discard();
            return ended(AnalysisStatus::Cancelled);
        }

        for (int b = 0; b < blockSize; ++b) {
            const int cycle = blockStart + b + 1;
            if (!failure[at(b)].empty()) {
                raw.discard();
                return ended(AnalysisStatus::Failed,
                             {std::string(kSolverFailureCaption),
                              "The layered elastic analysis of cycle " + std::to_string(cycle) +
                                  " failed: " + failure[at(b)] +
                                  ". The run was stopped and no results were kept."});
            }
            const CycleSample& s = samples[at(b)];
            raw.writeCycleSamples(
                cycle, {s.season, s.modulus, s.thickness, s.configuration, s.loadPerTire});
            std::fill_n(results.cycleValues.begin(), slots.count, 0.0);
            std::fill_n(results.cycleDamage.begin(), slots.count, 0.0);
            evaluateCycle(run.criteria, slots, tables[at(b)], damageDivisor, results);
            if (settling)
                settlingDamage.addCycle(results.cycleDamage);
            raw.writeCycleValues(std::span(results.cycleValues.data(), at(slots.count)));
            results.cyclesRun = cycle;
            if (options.keepCycleRecords) {
                CycleRecord& record = results.cycleRecords.emplace_back();
                record.sample = s;
                record.loadBin =
                    loadBinOf(s.loadPerTire, kTiresPerConfiguration[at(s.configuration)]);
                std::copy_n(results.cycleValues.begin(), slots.count, record.criticalValue.begin());
                std::copy_n(results.cycleDamage.begin(), slots.count,
                            record.damagePerMillion.begin());
            }
            if (options.cycleEvaluated)
                options.cycleEvaluated(results, cycle);
            if (options.stopWhen && cycle < cycles && options.stopWhen(results, cycle)) {
                raw.discard();
                AnalysisRunOutcome stopped = ended(AnalysisStatus::Stopped);
                stopped.results = std::move(results);
                return stopped;
            }
        }
        if (options.progress)
            options.progress(blockStart + blockSize, cycles);

        bool settled = false;
        const int done = blockStart + blockSize;
        if (settling && done < cycles)
            settled = settledAfter(done, run, results, settlingDamage, options);
        if (settled)
            cycles = done;
        if (done == cycles) {
            keepLastCycle(geometry[at(blockSize - 1)], tables[at(blockSize - 1)], *model[0],
                          run.output, results);
        }
        if (settled)
            break;
    }
    if (settling) {
        results.cycles = cycles;
        settlingDamage.sumsAt(cycles, results);
        settlingDamage.divideRecords(cycles, results.cycleRecords);
    }

    if (std::string error = raw.commit(); !error.empty()) {
        outcome = AnalysisRunOutcome{};
        outcome.refusal = {std::string(kRawDataCaption), std::move(error)};
        return outcome;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        run.criteria[at(i)].damagePerMillion = results.damagePerMillion[at(i)];
    }
    outcome.lists = buildResultLists(run, results, options.verdicts);
    outcome.status = AnalysisStatus::Completed;
    work = std::move(run);
    return outcome;
}

}  // namespace ardelon
