// Fuzz target: a batch plan (CSV) and the --vary option of design, as ardelon-cli reads them.
// Whatever the bytes: a refusal is a bad-input message that is valid UTF-8 free of control
// characters, every row's line is valid JSON, and accepted values are in range.
#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/BatchPlan.h"
#include "cli/CliSupport.h"
#include "cli/VaryOption.h"
#include "fuzz/FuzzCheck.h"
#include "project/SafeText.h"

namespace {

using namespace ardelon;

void checkRefusal(const cli::CommandError& e) {
    FUZZ_CHECK(e.status == cli::kBadInput, "a refusal that is not bad input");
    const std::string message = e.what();
    FUZZ_CHECK(isValidUtf8(message), "a message that is not valid UTF-8");
    FUZZ_CHECK(message.size() < 4000, "a message that echoes too much");
    for (unsigned char ch : message)
        FUZZ_CHECK(ch >= 0x20 && ch != 0x7F, "a message with a control character");
}

void checkRow(const cli::BatchPlan& plan, const cli::BatchRow& row) {
    const std::string json = nlohmann::json{{"id", row.id}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
    FUZZ_CHECK(nlohmann::json::accept(json), "an id line that is not JSON");
    try {
        const cli::BatchInputs inputs = cli::batchInputs(plan, row);
        FUZZ_CHECK(inputs.cycles >= 1 && inputs.cycles <= 100000000, "cycles out of range");
        for (const auto& value : inputs.thickness)
            FUZZ_CHECK(!value || (std::isfinite(*value) && *value > 0), "a bad thickness");
        for (const auto& value : inputs.modulus)
            FUZZ_CHECK(!value || (std::isfinite(*value) && *value > 0), "a bad modulus");
        const std::string line = cli::batchInputsJson(inputs).dump(
            -1, ' ', false, nlohmann::json::error_handler_t::replace);
        FUZZ_CHECK(nlohmann::json::accept(line), "an inputs line that is not JSON");
        CStenorDoc doc;
        cli::applyBatchOverrides(inputs, row.line, doc);
        for (int i = 0; i < kLayerCount; ++i) {
            const auto l = static_cast<std::size_t>(i);
            FUZZ_CHECK(doc.layerModulus[l] >= doc.minModulus[l] - 0.5 &&
                           doc.layerModulus[l] <= doc.maxModulus[l] + 0.5,
                       "a modulus outside the layer's limits");
        }
    } catch (const cli::CommandError& e) {
        checkRefusal(e);
    }
    // Every cell as a --vary value.
    for (const std::string& cell : row.cells) {
        try {
            const VaryRange r = cli::parseVary(cell, CStenorDoc{});
            FUZZ_CHECK(r.layer >= 1 && r.layer <= 5, "a layer out of range");
            FUZZ_CHECK(std::isfinite(r.minThickness) && std::isfinite(r.maxThickness) &&
                           std::isfinite(r.step),
                       "a range that is not finite");
        } catch (const cli::CommandError& e) {
            checkRefusal(e);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const cli::BatchPlan plan = cli::parseBatchPlan(fuzz::textOf(data, size), "plan.csv");
        for (const cli::BatchRow& row : plan.rows)
            checkRow(plan, row);
    } catch (const cli::CommandError& e) {
        checkRefusal(e);
    }
    return 0;
}
