// Wall time of a 5000-cycle reliability analysis of the perpetual interstate example with one
// worker thread and with one per core: the time an engineer waits for "Perform Analysis".

#include <benchmark/benchmark.h>

#include <thread>

#include "project/ProjectJson.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "reliability/SolverResponseModel.h"

namespace {

ardelon::CStenorDoc exampleWork() {
    ardelon::CStenorDoc doc;
    const auto result =
        ardelon::loadProject(ARDELON_EXAMPLES_DIR "/perpetual-interstate.json", doc);
    if (!result.ok())
        throw std::runtime_error(result.error);
    ardelon::prepareViewOutput(doc);
    ardelon::roundModuleThicknesses(doc);
    return doc;
}

// Argument: worker threads, 0 for one per core.
void analysis5000Cycles(benchmark::State& state) {
    const ardelon::CStenorDoc base = exampleWork();
    const auto models = ardelon::layeredElasticResponses();
    ardelon::AnalysisRunOptions options;
    options.cycles = 5000;
    options.seed = 1;
    options.threads = static_cast<int>(state.range(0));
    int exceedances = 0;
    for (auto _ : state) {
        ardelon::CStenorDoc work = base;
        const auto outcome = ardelon::runAnalysis(work, models, options);
        if (outcome.status != ardelon::AnalysisStatus::Completed) {
            state.SkipWithError(outcome.refusal.text.c_str());
            break;
        }
        exceedances = outcome.results.exceedCount[5];  // fatigue at the bottom of the AC
        benchmark::DoNotOptimize(exceedances);
    }
    state.counters["threads"] = options.threads > 0
                                    ? options.threads
                                    : static_cast<double>(std::thread::hardware_concurrency());
    // Reported so that a change in the results shows beside a change in the time.
    state.counters["fatigueExceedances"] = exceedances;
}

BENCHMARK(analysis5000Cycles)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
