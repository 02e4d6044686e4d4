#pragma once
// The input document of the responses command: a pavement of 2 to 5 layers, circular loads and
// evaluation points as JSON, checked entry by entry and turned into one solver call.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "solver/LayerSystem.h"

namespace ardelon::cli {

struct ResponsesInput {
    LayerSystem system;
    std::vector<CircularLoad> loads;
    std::vector<EvaluationPoint> points;  // layer numbers of the five-layer solver structure
    std::vector<int> givenLayers;         // layer numbers as the file gives them
};

// Each throws CommandError(kBadInput) with a message naming the entry ("layer 2: ...") or the
// line and column of the document.
nlohmann::json readResponsesDocument(const std::string& path);
nlohmann::json parseResponsesDocument(const std::string& text, const std::string& path);
ResponsesInput parseResponsesInput(const nlohmann::json& document);

// Empty when every requested response of every point is finite, else why the table is not shown.
std::string nonFiniteResponse(const ResponsesInput& input, const ResponseTable& table);

}  // namespace ardelon::cli
