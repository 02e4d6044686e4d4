// The Monte Carlo run calls the solver thousands of times on every core: a call must not touch
// the heap. Counting replacements of the global allocation functions watch it.

// The replacements pair malloc with free by design; GCC cannot see that once they are inlined.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "solver/LayeredElasticSolver.h"
#include "solver/SolverTestSupport.h"

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace ardelon::testing {
namespace {

TEST(SolverCalls, DoNotAllocate) {
    // A tridem over 50 points at ten depths, in both integration schemes.
    std::vector<CircularLoad> loads;
    for (double y : {0.0, 54.0, 108.0}) {
        for (double x : {0.0, 13.5})
            loads.push_back({100.0, 5.35, x, y});
    }
    std::vector<EvaluationPoint> points;
    const std::pair<double, int> depths[] = {{0, 1},  {3, 1},  {6, 1},  {6, 2},  {14, 2},
                                             {14, 3}, {24, 3}, {24, 4}, {36, 4}, {36.01, 5}};
    for (const auto& [depth, layer] : depths) {
        for (const auto& [x, y] :
             {std::pair{0.0, 0.0}, {6.75, 0.0}, {0.0, 27.0}, {6.75, 27.0}, {6.75, 54.0}}) {
            points.push_back({x, y, depth, layer});
        }
    }
    LayerSystem slip = referenceSystem();
    slip.bond = {1, 0, 1};
    auto solver = std::make_unique<LayeredElasticSolver>();
    auto table = std::make_unique<ResponseTable>();
    for (const LayerSystem& system : {referenceSystem(), slip}) {
        const long before = allocationCount.load();
        solver->computeResponses(system, loads.data(), 6, points.data(), 50, *table);
        EXPECT_EQ(allocationCount.load() - before, 0);
        EXPECT_GT(table->at(SigmaZ, 0), 0.0);
    }
}

}  // namespace
}  // namespace ardelon::testing
