// The two-layer least-cost search of the perpetual interstate example (layer 1 from 4 to 16 in.,
// layer 2 from 2 to 8 in., step 0.5 in.: 325 candidates) at 5000 cycles with one worker thread per
// core, against analysing every candidate in full. The exhaustive run takes minutes; skip it with
// --benchmark_filter=designSearch.
//
// The three-layer search adds the granular base from 6 to 18 in. in 2 in. steps (2275
// candidates), at 5000 cycles per candidate and run until settled (at most twice that each):
// --benchmark_filter=threeLayer.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "design/ThicknessSearch.h"
#include "project/ProjectJson.h"
#include "reliability/SolverResponseModel.h"

namespace {

// CPU seconds of every thread of the process: the measure that holds on a shared machine.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

void designOfInterstate(benchmark::State& state, bool exhaustive, bool threeLayers = false,
                        bool untilSettled = false) {
    ardelon::CStenorDoc project;
    if (auto r = ardelon::loadProject(ARDELON_EXAMPLES_DIR "/perpetual-interstate.json", project);
        !r.ok()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    ardelon::ThicknessSearchOptions options;
    options.vary = {{1, 4, 16, 0.5}, {2, 2, 8, 0.5}};
    if (threeLayers)
        options.vary.push_back({3, 6, 18, 2});
    options.cycles = 5000;
    options.seed = 1;
    options.exhaustive = exhaustive;
    options.untilSettled = untilSettled;
    const auto models = ardelon::layeredElasticResponses();
    ardelon::ThicknessSearchResult result;
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state)
        result = ardelon::searchThicknesses(project, options, models);
    if (result.status != ardelon::ThicknessSearchStatus::Found) {
        state.SkipWithError("no passing design");
        return;
    }
    state.counters["cpuSeconds"] = processCpuSeconds() - cpuBefore;
    state.counters["candidates"] = static_cast<double>(result.evaluated.size());
    state.counters["cyclesRun"] = static_cast<double>(result.cyclesRun);
    state.counters["cyclesOfGrid"] =
        static_cast<double>(result.cyclesRun) / (result.candidateCount * 5000.0);
    state.counters["layer1"] = result.best->candidate.thickness[0];
    state.counters["layer2"] = result.best->candidate.thickness[1];
    state.counters["layer3"] = result.best->candidate.thickness[2];
    state.counters["settled"] = result.best->settled ? 1 : 0;
}

void designSearch(benchmark::State& state) {
    designOfInterstate(state, false);
}
void designExhaustive(benchmark::State& state) {
    designOfInterstate(state, true);
}

void threeLayerSearch(benchmark::State& state) {
    designOfInterstate(state, false, true);
}
void threeLayerUntilSettled(benchmark::State& state) {
    designOfInterstate(state, false, true, true);
}

BENCHMARK(threeLayerSearch)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(threeLayerUntilSettled)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(designSearch)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(designExhaustive)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
