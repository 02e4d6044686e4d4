#pragma once
// The plan of `ardelon-cli batch`: a CSV file whose header names its columns, `id` and `project`
// and any of the overrides `cycles`, `seed`, `life`, `H1`-`H4` and `E1`-`E5` (names
// case-insensitive), one analysis per row. A project path is taken relative to the plan's
// folder (the current folder for a plan that is not a file, such as /dev/stdin). Thicknesses
// and moduli are in the units the project's values are held in (in. and psi, or cm and MPa, as
// `show` prints them); a modulus, within the layer's modulus limits, sets that layer's modulus
// in every season. An empty cell overrides nothing.

#include <array>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"

namespace ardelon::cli {

// A row's analysis runs this many cycles and this seed unless the plan says otherwise, so that a
// plan always gives the same lines.
inline constexpr int kBatchDefaultCycles = 5000;
inline constexpr std::uint32_t kBatchDefaultSeed = 1;

struct BatchRow {
    int line = 0;  // in the plan file, from 1
    std::string id;
    std::vector<std::string> cells;
};

struct BatchPlan {
    std::filesystem::path folder;
    std::vector<std::string> columns;  // as the header spells them, canonical case
    std::vector<BatchRow> rows;
};

// Reads the plan; a plan that cannot be read, lacks `id` or `project`, names an unknown column
// or has a row without an id or with an id already used throws CommandError (bad input).
BatchPlan readBatchPlan(const std::string& path);
// The plan in `text`, as read from `path` (which names it in messages); its folder is empty.
BatchPlan parseBatchPlan(std::string_view text, const std::string& path);

struct BatchInputs {
    std::string project;  // as written in the plan
    int cycles = kBatchDefaultCycles;
    std::uint32_t seed = kBatchDefaultSeed;
    std::optional<double> lifeYears;
    std::array<std::optional<double>, kThicknessCount> thickness;
    std::array<std::optional<double>, kLayerCount> modulus;
};

// The inputs of one row; a cell that is not a valid value throws CommandError naming the line
// and the column.
BatchInputs batchInputs(const BatchPlan& plan, const BatchRow& row);
// The inputs as the row's line shows them: project, cycles, seed and the overrides given.
nlohmann::json batchInputsJson(const BatchInputs& inputs);
// Applies the thickness and modulus overrides; one the project cannot take (a layer it does not
// have, a thickness or modulus out of range) throws CommandError naming the line.
void applyBatchOverrides(const BatchInputs& inputs, int line, CStenorDoc& doc);

}  // namespace ardelon::cli
