// Fuzz target: the input document of the responses command, through the solver; then, for the
// same structure and loads, both faces of every interface under the first point: the vertical
// stress, the vertical displacement and the vertical shear are continuous across each (the
// shear of a frictionless face is zero on both sides), to the solver's accuracy target.
#include <algorithm>
#include <cmath>
#include <vector>

#include "cli/ResponsesInput.h"
#include "fuzz/FuzzCheck.h"
#include "solver/LayeredElasticSolver.h"

namespace {

// Keeps every execution short: a larger call exercises no other path of the readers.
constexpr std::size_t kMaxSolverPairs = 16;
constexpr std::size_t kMaxContinuityLoads = 4;

// Each response within 0.1 % of its largest magnitude over the call, so two faces within twice
// that; a response below 0.1 % of the largest of its kind counts with that floor.
constexpr double kTarget = 1e-3;
constexpr double kNegligibleShare = 1e-3;

void checkContinuity(const ardelon::cli::ResponsesInput& input) {
    using namespace ardelon;
    std::vector<EvaluationPoint> faces;
    double depth = 0.0;
    for (int k = 0; k < 4; ++k) {
        depth += input.system.thickness[k];
        faces.push_back({input.points[0].x, input.points[0].y, depth, k + 1});
        faces.push_back({input.points[0].x, input.points[0].y, depth, k + 2});
    }
    static LayeredElasticSolver solver;
    const ResponseTable t = solver.computeResponses(input.system, input.loads.data(),
                                                    static_cast<int>(input.loads.size()),
                                                    faces.data(), static_cast<int>(faces.size()));
    FUZZ_CHECK(solver.status() == SolverStatus::Computed, "the solver failed on interface faces");
    const auto largest = [&](int row) {
        double peak = 0.0;
        for (std::size_t i = 0; i < faces.size(); ++i)
            peak = std::max(peak, std::abs(t.at(row, static_cast<int>(i))));
        return peak;
    };
    const double stress = std::max({largest(SigmaX), largest(SigmaY), largest(SigmaZ),
                                    largest(TauXZ), largest(TauYZ), largest(TauXY)});
    const double displacement = std::max({largest(DispX), largest(DispY), largest(DispZ)});
    for (const int row : {SigmaZ, TauXZ, TauYZ, DispZ}) {
        const double kind = row == DispZ ? displacement : stress;
        const double allowed = 2.0 * kTarget * std::max(largest(row), kNegligibleShare * kind);
        for (int k = 0; k < 4; ++k) {
            const double jump = std::abs(t.at(row, 2 * k) - t.at(row, 2 * k + 1));
            if (!(jump <= allowed)) {
                std::fprintf(stderr, "%s jumps by %g across interface %d (%g against %g)\n",
                             kResponseRowNames[row], jump, k + 1, t.at(row, 2 * k),
                             t.at(row, 2 * k + 1));
            }
            FUZZ_CHECK(jump <= allowed, "a response is not continuous across an interface");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ardelon;
    cli::ResponsesInput input;
    try {
        input =
            cli::parseResponsesInput(cli::parseResponsesDocument(fuzz::textOf(data, size), "in"));
    } catch (const cli::CommandError& e) {
        FUZZ_CHECK(e.status == cli::kBadInput && *e.what(),
                   "a refusal without status 2 and a message");
        return 0;
    }
    if (input.loads.size() * input.points.size() > kMaxSolverPairs)
        return 0;
    static LayeredElasticSolver solver;
    const ResponseTable table = solver.computeResponses(
        input.system, input.loads.data(), static_cast<int>(input.loads.size()), input.points.data(),
        static_cast<int>(input.points.size()));
    FUZZ_CHECK(cli::nonFiniteResponse(input, table).empty(),
               "the solver gave a response that is not a number for inputs in range");
    if (input.loads.size() <= kMaxContinuityLoads)
        checkContinuity(input);
    return 0;
}
