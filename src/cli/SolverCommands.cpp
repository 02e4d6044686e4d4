// The responses command: one layered elastic analysis of a pavement described in a JSON file,
// for checking a structure by hand or scripting parameter studies.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ResponsesInput.h"
#include "solver/LayeredElasticSolver.h"

namespace ardelon::cli {
namespace {

using nlohmann::json;

std::string text(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// Display units: psi, microstrain and milli-inches; displacements along the axes with the
// deflection positive downward.
struct DisplayRow {
    ResponseRow row;
    double factor;
    int decimals;
    const char* units;
};

constexpr double kMicrostrain = 1000000.0;
constexpr double kMilliInchPerSolverInch = -1000.0;  // the solver reports displacements negated

constexpr DisplayRow kDisplayRows[18] = {
    {SigmaX, 1, 3, "psi"},
    {SigmaY, 1, 3, "psi"},
    {SigmaZ, 1, 3, "psi"},
    {TauYZ, 1, 3, "psi"},
    {TauXZ, 1, 3, "psi"},
    {TauXY, 1, 3, "psi"},
    {Sigma1, 1, 3, "psi"},
    {Sigma2, 1, 3, "psi"},
    {Sigma3, 1, 3, "psi"},
    {Eps1, kMicrostrain, 2, "microstrain"},
    {Eps2, kMicrostrain, 2, "microstrain"},
    {Eps3, kMicrostrain, 2, "microstrain"},
    {DispX, kMilliInchPerSolverInch, 3, "milli-in"},
    {DispY, kMilliInchPerSolverInch, 3, "milli-in"},
    {DispZ, kMilliInchPerSolverInch, 3, "milli-in"},
    {EpsX, kMicrostrain, 2, "microstrain"},
    {EpsY, kMicrostrain, 2, "microstrain"},
    {EpsZ, kMicrostrain, 2, "microstrain"},
};

// The rows `--only` names ("DispZ,EpsZ"), as a mask; every row when it names none.
ResponseMask requestedRows(const std::string& names) {
    if (names.empty())
        return kAllResponses;
    ResponseMask mask = 0;
    for (std::size_t begin = 0; begin <= names.size();) {
        const std::size_t end = std::min(names.find(',', begin), names.size());
        const std::string name = names.substr(begin, end - begin);
        begin = end + 1;
        int row = 0;
        while (row < kResponseRows && name != kResponseRowNames[row])
            ++row;
        if (row == kResponseRows) {
            std::string known;
            for (const char* n : kResponseRowNames)
                known += known.empty() ? n : std::string(", ") + n;
            throw CommandError(kBadInput,
                               "--only: unknown response \"" + name + "\" (known: " + known + ").");
        }
        mask |= responseBit(row);
    }
    return mask;
}

std::string formatTable(const ResponsesInput& input, const ResponseTable& table,
                        ResponseMask shown) {
    std::ostringstream out;
    char line[128];
    std::snprintf(line, sizeof line, "Layered elastic responses (initial integration step %.6f)\n",
                  table.at(InitialStep, 0));
    out << line
        << "Compression positive; displacements along the axes, deflection (DispZ) positive "
           "downward.\n";
    for (std::size_t i = 0; i < input.points.size(); ++i) {
        const EvaluationPoint& p = input.points[i];
        out << "\nPoint " << i + 1 << ": x = " << text(p.x) << " in, y = " << text(p.y)
            << " in, depth = " << text(p.depth) << " in, layer " << input.givenLayers[i] << "\n";
        for (const DisplayRow& row : kDisplayRows) {
            if (!(shown & responseBit(row.row)))
                continue;
            double value = table.at(row.row, static_cast<int>(i)) * row.factor;
            // A value that rounds to zero is shown without a sign.
            if (std::abs(value) < 0.5 * std::pow(10.0, -row.decimals))
                value = 0.0;
            std::snprintf(line, sizeof line, "  %-8s %14.*f %s\n", kResponseRowNames[row.row],
                          row.decimals, value, row.units);
            out << line;
        }
    }
    return out.str();
}

std::string formatJson(const ResponsesInput& input, const ResponseTable& table,
                       ResponseMask shown) {
    json rows = json::object();
    for (int row = 0; row < kResponseRows; ++row) {
        if (!(shown & responseBit(row)))
            continue;
        json values = json::array();
        for (std::size_t i = 0; i < input.points.size(); ++i) {
            values.push_back(table.at(row, static_cast<int>(i)));
        }
        rows[kResponseRowNames[row]] = std::move(values);
    }
    return rows.dump(2) + "\n";
}

}  // namespace

void addSolverCommands(CLI::App& app) {
    auto* responses = app.add_subcommand(
        "responses", "Stresses, strains and deflections of one layered elastic analysis");
    static std::string inputPath;
    static bool asJson = false;
    static std::string only;
    responses->add_option("INPUT", inputPath, "Pavement, loads and points (.json)")->required();
    responses->add_flag("--json", asJson, "Print the raw response table rows by name");
    responses->add_option("--only", only,
                          "Compute and print only these responses, e.g. DispZ,EpsZ (row names)");
    responses->callback([] {
        const ResponseMask shown = requestedRows(only);
        const json document = readResponsesDocument(inputPath);
        ResponsesInput input;
        try {
            input = parseResponsesInput(document);
        } catch (const CommandError& e) {
            throw CommandError(e.status, inputPath + ": " + e.what());
        }
        // The text output's heading reads the initial step whatever is shown.
        for (EvaluationPoint& point : input.points)
            point.responses = shown | responseBit(InitialStep);
        auto solver = std::make_unique<LayeredElasticSolver>();
        auto table = std::make_unique<ResponseTable>();
        if (solver->computeResponses(input.system, input.loads.data(),
                                     static_cast<int>(input.loads.size()), input.points.data(),
                                     static_cast<int>(input.points.size()),
                                     *table) != SolverStatus::Computed) {
            throw CommandError(kFailure, inputPath + ": the layered elastic analysis failed: " +
                                             solver->failureText() + ".");
        }
        if (const std::string problem = nonFiniteResponse(input, *table); !problem.empty())
            throw CommandError(kFailure, inputPath + ": " + problem);
        std::cout << (asJson ? formatJson(input, *table, shown)
                             : formatTable(input, *table, shown));
    });
}

}  // namespace ardelon::cli
