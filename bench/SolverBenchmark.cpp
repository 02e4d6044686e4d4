// Calls per second of the layered elastic solver for the sizes the reliability analysis uses:
//   (a) the reference structure, a single axle (2 wheels), 10 points (bottom of layer 1, top of
//       layer 4);
//   (b) the same structure, a tridem axle (6 wheels), 50 points at ten criterion depths;
//   (c) case (a) with interface 1 in full slip (Simpson scheme);
//   (d) a deflection basin of ten surface points to 4000 mm under one plate on a perpetual
//       pavement with a 2 in. top (thin) and a 6 in. top (thick), deflection only, and the thin
//       one with every response.

#include <benchmark/benchmark.h>

#include <vector>

#include "solver/LayeredElasticSolver.h"

namespace {

using namespace ardelon;

LayerSystem referenceStructure() {
    LayerSystem s;
    s.modulus = {500000, 50000, 30000, 20000, 10000};
    s.poisson = {0.35, 0.40, 0.40, 0.45, 0.45};
    s.thickness = {6, 8, 10, 12};
    s.bond = {1, 1, 1};
    return s;
}

// Wheels of the analysis's axle layouts: 100 psi on a 5.35 in radius.
std::vector<CircularLoad> wheels(const std::vector<std::pair<double, double>>& centres) {
    std::vector<CircularLoad> loads;
    for (const auto& [x, y] : centres)
        loads.push_back({100.0, 5.35, x, y});
    return loads;
}
const std::vector<CircularLoad> kSingle = wheels({{0, 0}, {13.5, 0}});
const std::vector<CircularLoad> kTridem =
    wheels({{0, 0}, {13.5, 0}, {13.5, 54}, {0, 54}, {0, 108}, {13.5, 108}});

// The five plan positions of a criterion location at its depth.
std::vector<EvaluationPoint> location(std::vector<EvaluationPoint> points, double depth,
                                      int layer) {
    for (const auto& [x, y] :
         {std::pair{0.0, 0.0}, {6.75, 0.0}, {0.0, 27.0}, {6.75, 27.0}, {6.75, 54.0}}) {
        points.push_back({x, y, depth, layer});
    }
    return points;
}

std::vector<EvaluationPoint> tenPoints() {
    return location(location({}, 6, 1), 24, 4);
}

std::vector<EvaluationPoint> fiftyPoints() {
    std::vector<EvaluationPoint> points;
    const std::pair<double, int> depths[] = {{0, 1},  {3, 1},  {6, 1},  {6, 2},  {14, 2},
                                             {14, 3}, {24, 3}, {24, 4}, {36, 4}, {36.01, 5}};
    for (const auto& [depth, layer] : depths)
        points = location(points, depth, layer);
    return points;
}

LayerSystem perpetualPavement(double topInches) {
    LayerSystem s;
    s.modulus = {800000, 1.5e6, 1.0e6, 30000, 10000};
    s.poisson = {0.35, 0.35, 0.35, 0.40, 0.45};
    s.thickness = {topInches, 6, 4, 8};
    s.bond = {1, 1, 1};
    return s;
}
const std::vector<CircularLoad> kPlate = {{100.0, 5.9, 0, 0}};

std::vector<EvaluationPoint> basin(ResponseMask responses) {
    std::vector<EvaluationPoint> points;
    for (int k = 0; k < 10; ++k)
        points.push_back({4000.0 / 25.4 * k / 9.0, 0, 0, 1, responses});
    return points;
}

void run(benchmark::State& state, const LayerSystem& system, const std::vector<CircularLoad>& loads,
         const std::vector<EvaluationPoint>& points) {
    LayeredElasticSolver solver;
    ResponseTable table;
    for (auto _ : state) {
        solver.computeResponses(system, loads.data(), static_cast<int>(loads.size()), points.data(),
                                static_cast<int>(points.size()), table);
        benchmark::DoNotOptimize(table);
    }
    state.SetItemsProcessed(state.iterations());  // items per second = calls per second
    state.counters["steps"] = solver.stepCount();
}

void SingleAxleTenPoints(benchmark::State& state) {
    run(state, referenceStructure(), kSingle, tenPoints());
}
void TridemFiftyPoints(benchmark::State& state) {
    run(state, referenceStructure(), kTridem, fiftyPoints());
}
void SlipInterfaceOneSingleAxle(benchmark::State& state) {
    LayerSystem slip = referenceStructure();
    slip.bond = {0, 1, 1};
    run(state, slip, kSingle, tenPoints());
}

void ThinTopBasin(benchmark::State& state) {
    run(state, perpetualPavement(2), kPlate, basin(responseBit(DispZ)));
}
void ThickTopBasin(benchmark::State& state) {
    run(state, perpetualPavement(6), kPlate, basin(responseBit(DispZ)));
}
void ThinTopBasinEveryResponse(benchmark::State& state) {
    run(state, perpetualPavement(2), kPlate, basin(kAllResponses));
}

BENCHMARK(SingleAxleTenPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(TridemFiftyPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(SlipInterfaceOneSingleAxle)->Unit(benchmark::kMillisecond);
BENCHMARK(ThinTopBasin)->Unit(benchmark::kMillisecond);
BENCHMARK(ThickTopBasin)->Unit(benchmark::kMillisecond);
BENCHMARK(ThinTopBasinEveryResponse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
