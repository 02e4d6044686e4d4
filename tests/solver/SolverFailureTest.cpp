// A call that cannot give responses, or is cancelled while it runs, ends with a failure status and
// a table without numbers, within bounded time.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "solver/LayeredElasticSolver.h"
#include "solver/SolverTestSupport.h"

namespace ardelon::testing {
namespace {

struct FailingCall {
    const char* name;
    LayerSystem system;
    CircularLoad load;
    EvaluationPoint point;
    SolverStatus status;
    const char* text;
};

LayerSystem with(LayerSystem s, int layer, double modulus, double bond = 1.0) {
    s.modulus[layer] = modulus;
    s.bond = {bond, bond, bond};
    return s;
}

const char* const kNoConvergence = "the integration over the transform parameter did not converge";

class SolverFailure : public ::testing::TestWithParam<FailingCall> {};

TEST_P(SolverFailure, EndsWithItsStatusAndNoNumbers) {
    const FailingCall& c = GetParam();
    auto solver = std::make_unique<LayeredElasticSolver>();
    auto table = std::make_unique<ResponseTable>();
    std::atomic<bool> cancel{c.status == SolverStatus::Cancelled};
    solver->watchCancel(&cancel);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(solver->computeResponses(c.system, &c.load, 1, &c.point, 1, *table), c.status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    if (cancel) {  // a raised flag stops a long call within a few hundred steps
        EXPECT_EQ(solver->stepCount(), LayeredElasticSolver::kCancelCheckSteps);
        cancel = false;
    }
    EXPECT_EQ(solver->status(), c.status);
    EXPECT_EQ(std::string(solver->failureText()), c.text);
    for (int row = 0; row < kResponseRows; ++row)
        EXPECT_TRUE(std::isnan(table->at(row, 0))) << kResponseRowNames[row];

    // The next sound call computes again.
    const EvaluationPoint surface{0, 0, 0, 1};
    EXPECT_EQ(solver->computeResponses(referenceSystem(), kDualWheels, 2, &surface, 1, *table),
              SolverStatus::Computed);
    EXPECT_STREQ(solver->failureText(), "");
    EXPECT_GT(table->at(SigmaZ, 0), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SolverFailure,
    ::testing::Values(
        // A wheel far wider than a 1 in. surface layer gives a step that does not advance.
        FailingCall{"WideWheel",
                    [] {
                        LayerSystem s = referenceSystem();
                        s.thickness[0] = 1.0;
                        return s;
                    }(),
                    {100, 101, 0, 0},
                    {0, 0, 3, 2},
                    SolverStatus::MarchLimit,
                    kNoConvergence},
        // A denormal modulus under a slipping interface divides by nearly nothing.
        FailingCall{"DenormalModulus",
                    with(referenceSystem(), 1, 3e-319, 0.0),
                    {100, 5, 0, 0},
                    {0, 0, 3, 1},
                    SolverStatus::NotFinite,
                    "a response is not a finite number"},
        // The far point again, with the cancel flag raised before the call.
        FailingCall{"Cancelled",
                    referenceSystem(),
                    {100, 5, 0, 0},
                    {1e9, 0, 3, 1},
                    SolverStatus::Cancelled,
                    "the analysis was cancelled"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ardelon::testing
