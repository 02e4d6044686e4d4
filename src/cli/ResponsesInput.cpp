#include "cli/ResponsesInput.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "project/JsonText.h"
#include "project/ProjectFile.h"
#include "solver/SolverInputRanges.h"

namespace ardelon::cli {
namespace {

using nlohmann::json;

// A semi-infinite bottom layer given as the 2nd to 4th layer is repeated down to layer 5, each
// copy this thick (in), as the reliability analysis does for structures of fewer than five layers.
constexpr double kRepeatedLayerThickness = 999.0;
constexpr double kMaxPoissonRatio = 0.5;

std::string text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// Reads a required number of an entry; `where` names the entry for the message.
double number(const json& entry, const char* field, const std::string& where) {
    const auto it = entry.find(field);
    if (it == entry.end())
        throw CommandError(kBadInput, where + ": \"" + field + "\" is missing.");
    if (!it->is_number()) {
        throw CommandError(kBadInput, where + ": \"" + field + "\" must be a number.");
    }
    return it->get<double>();
}

const json& list(const json& document, const char* field) {
    const auto it = document.find(field);
    if (it == document.end())
        throw CommandError(kBadInput, std::string("\"") + field + "\" is missing.");
    if (!it->is_array())
        throw CommandError(kBadInput, std::string("\"") + field + "\" must be a list.");
    return *it;
}

void requireObject(const json& entry, const std::string& where) {
    if (!entry.is_object())
        throw CommandError(kBadInput, where + " must be an object.");
}

// The layers into the solver's five, the bottom one copied down to layer 5; their count.
int readLayers(const json& document, LayerSystem& system) {
    const json& layers = list(document, "layers");
    const int layerCount = static_cast<int>(layers.size());
    if (layerCount < 2 || layerCount > 5) {
        throw CommandError(kBadInput, "\"layers\" must list 2 to 5 layers (found " +
                                          std::to_string(layerCount) + ").");
    }
    for (int k = 0; k < layerCount; ++k) {
        const std::string where = "layer " + std::to_string(k + 1);
        const json& layer = layers[k];
        requireObject(layer, where);
        const double modulus = number(layer, "modulus", where);
        if (!(modulus > 0.0)) {
            throw CommandError(kBadInput, where + ": modulus must be greater than 0 psi (got " +
                                              text(modulus) + ").");
        }
        const double poisson = number(layer, "poisson", where);
        if (!(poisson > 0.0 && poisson <= kMaxPoissonRatio)) {
            throw CommandError(kBadInput, where +
                                              ": Poisson's ratio must lie between 0 and 0.5 (got " +
                                              text(poisson) + ").");
        }
        const bool last = k == layerCount - 1;
        double thickness = kRepeatedLayerThickness;
        if (last) {
            if (layer.contains("thickness")) {
                throw CommandError(kBadInput, where +
                                                  ": the bottom layer is semi-infinite and takes "
                                                  "no thickness.");
            }
        } else {
            thickness = number(layer, "thickness", where);
            if (!(thickness > 0.0)) {
                throw CommandError(
                    kBadInput,
                    where + ": thickness must be greater than 0 in (got " + text(thickness) + ").");
            }
        }
        // Fill the solver's layers; the bottom layer is copied down to layer 5.
        for (int i = k; i < (last ? 5 : k + 1); ++i) {
            system.modulus[i] = modulus;
            system.poisson[i] = poisson;
            if (i < 4)
                system.thickness[i] = thickness;
        }
    }
    return layerCount;
}

void readBonds(const json& document, int layerCount, LayerSystem& system) {
    // Interfaces inside the repeated bottom layer are bonded.
    system.bond = {1.0, 1.0, 1.0};
    const json& bond = list(document, "bond");
    const int interfaces = std::min(layerCount - 1, 3);
    if (static_cast<int>(bond.size()) < interfaces || bond.size() > 3) {
        throw CommandError(
            kBadInput, "\"bond\" must list " +
                           (interfaces == 3 ? std::string("3 bond factors")
                                            : std::to_string(interfaces) + " to 3 bond factors") +
                           " (found " + std::to_string(bond.size()) + ").");
    }
    for (int k = 0; k < static_cast<int>(bond.size()); ++k) {
        const std::string where = "bond factor " + std::to_string(k + 1);
        if (!bond[k].is_number())
            throw CommandError(kBadInput, where + " must be a number.");
        const double factor = bond[k].get<double>();
        if (!(factor >= 0.0 && factor <= 1.0)) {
            throw CommandError(kBadInput, where +
                                              " must lie between 0 (full slip) and 1 (full "
                                              "bond) (got " +
                                              text(factor) + ").");
        }
        if (k >= interfaces && factor != 1.0) {
            throw CommandError(kBadInput, where +
                                              " lies inside the semi-infinite bottom layer and "
                                              "must be 1.");
        }
        system.bond[k] = factor;
    }
}

std::vector<CircularLoad> readLoads(const json& document) {
    std::vector<CircularLoad> read;
    const json& loads = list(document, "loads");
    if (loads.empty() || loads.size() > static_cast<std::size_t>(kMaxLoads)) {
        throw CommandError(kBadInput, "\"loads\" must list 1 to " + std::to_string(kMaxLoads) +
                                          " loads (found " + std::to_string(loads.size()) + ").");
    }
    for (std::size_t j = 0; j < loads.size(); ++j) {
        const std::string where = "load " + std::to_string(j + 1);
        requireObject(loads[j], where);
        CircularLoad load;
        load.pressure = number(loads[j], "pressure", where);
        load.radius = number(loads[j], "radius", where);
        load.x = number(loads[j], "x", where);
        load.y = number(loads[j], "y", where);
        if (!(load.pressure > 0.0)) {
            throw CommandError(kBadInput, where + ": pressure must be greater than 0 psi (got " +
                                              text(load.pressure) + ").");
        }
        if (!(load.radius > 0.0)) {
            throw CommandError(kBadInput, where + ": radius must be greater than 0 in (got " +
                                              text(load.radius) + ").");
        }
        read.push_back(load);
    }
    return read;
}

// The points, each in the solver's layer that holds its depth; the layers as given kept too.
void readPoints(const json& document, int layerCount, ResponsesInput& input) {
    const LayerSystem& system = input.system;
    const json& points = list(document, "points");
    if (points.empty() || points.size() > static_cast<std::size_t>(kMaxPoints)) {
        throw CommandError(kBadInput, "\"points\" must list 1 to " + std::to_string(kMaxPoints) +
                                          " points (found " + std::to_string(points.size()) + ").");
    }
    // Depths of the solver's interfaces (in).
    std::array<double, 6> solverTop{};
    for (int i = 0; i < 4; ++i)
        solverTop[i + 1] = solverTop[i] + system.thickness[i];
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string where = "point " + std::to_string(i + 1);
        requireObject(points[i], where);
        EvaluationPoint point;
        point.x = number(points[i], "x", where);
        point.y = number(points[i], "y", where);
        point.depth = number(points[i], "depth", where);
        const auto layerField = points[i].find("layer");
        if (layerField == points[i].end()) {
            throw CommandError(kBadInput, where + ": \"layer\" is missing.");
        }
        if (!layerField->is_number_integer() || layerField->get<long long>() < 1 ||
            layerField->get<long long>() > layerCount) {
            throw CommandError(kBadInput, where + ": layer must be a whole number from 1 to " +
                                              std::to_string(layerCount) + ".");
        }
        const int given = static_cast<int>(layerField->get<long long>());
        // The given layer spans [top, bottom]; a depth on an interface may name either side.
        const double top = solverTop[given - 1];
        const bool bottomLayer = given == layerCount;
        const double bottom =
            bottomLayer ? std::numeric_limits<double>::infinity() : solverTop[given];
        if (!(point.depth >= top && point.depth <= bottom)) {
            std::string span = bottomLayer ? "below " + text(top) + " in"
                                           : text(top) + " to " + text(bottom) + " in";
            throw CommandError(kBadInput, where + ": depth " + text(point.depth) +
                                              " in does not lie in layer " + std::to_string(given) +
                                              " (" + span + ").");
        }
        // In a repeated bottom layer the point belongs to the copy that holds its depth.
        int layer = given;
        while (layer < 5 && bottomLayer && point.depth > solverTop[layer])
            ++layer;
        point.layer = layer;
        input.points.push_back(point);
        input.givenLayers.push_back(given);
    }
}

}  // namespace

ResponsesInput parseResponsesInput(const json& document) {
    if (!document.is_object())
        throw CommandError(kBadInput, "the document must be a JSON object.");
    ResponsesInput input;
    const int layerCount = readLayers(document, input.system);
    readBonds(document, layerCount, input.system);
    input.loads = readLoads(document);
    readPoints(document, layerCount, input);
    const LayerSystem& system = input.system;
    // Beyond these ranges no pavement lies, and the solver's integration may not end.
    const std::string outOfRange =
        checkSolverInputs(system, input.loads.data(), static_cast<int>(input.loads.size()),
                          input.points.data(), static_cast<int>(input.points.size()));
    if (!outOfRange.empty())
        throw CommandError(kBadInput, outOfRange);
    return input;
}

json parseResponsesDocument(const std::string& text, const std::string& path) {
    json document;
    if (const std::string problem = parseJsonText(text, document); !problem.empty())
        throw CommandError(kBadInput, path + ": not a valid JSON document (" + problem + ").");
    return document;
}

json readResponsesDocument(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw CommandError(kBadInput, "Cannot open \"" + path + "\": it is a folder.");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CommandError(kBadInput, "Cannot open \"" + path + "\".");
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > kMaxInputFileBytes - text.size()) {
            throw CommandError(kBadInput, "Cannot read \"" + path + "\": the file is larger than " +
                                              std::to_string(kMaxInputFileBytes) + " bytes.");
        }
        text.append(buffer, got);
    }
    return parseResponsesDocument(text, path);
}

std::string nonFiniteResponse(const ResponsesInput& input, const ResponseTable& table) {
    for (std::size_t i = 0; i < input.points.size(); ++i) {
        for (int row = 0; row < kResponseRows; ++row) {
            const double value = table.at(row, static_cast<int>(i));
            if ((input.points[i].responses & responseBit(row)) && !std::isfinite(value)) {
                return "the solver gave " + text(value) + " for " + kResponseRowNames[row] +
                       " at point " + std::to_string(i + 1) + "; no responses are shown.";
            }
        }
    }
    return {};
}

}  // namespace ardelon::cli
