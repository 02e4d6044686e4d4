// Fuzz target: the input document of the responses command, through the solver.
#include <cmath>

#include "cli/ResponsesInput.h"
#include "fuzz/FuzzCheck.h"
#include "solver/LayeredElasticSolver.h"

namespace {

// Keeps every execution short: a larger call exercises no other path of the readers.
constexpr std::size_t kMaxSolverPairs = 16;

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
    return 0;
}
