#include "cli/BatchPlan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

#include "cli/CliSupport.h"
#include "cli/CommandLineNumbers.h"
#include "project/NumberField.h"
#include "project/ProjectFile.h"
#include "project/Rounding.h"
#include "project/SafeText.h"
#include "project/ShownUnits.h"
#include "project/Units.h"
#include "structure/CStructureDlg.h"

namespace ardelon::cli {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

constexpr std::array<const char*, 14> kColumnNames = {"id", "project", "cycles", "seed", "life",
                                                      "H1", "H2",      "H3",     "H4",   "E1",
                                                      "E2", "E3",      "E4",     "E5"};

constexpr std::int64_t kMaxCycles = 100000000;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

// Cells of one CSV line: commas separate, double quotes enclose a cell that holds commas ("" is a
// quote), spaces around a cell are dropped.
std::vector<std::string> cellsOf(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cells.back() += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            cells.emplace_back();
        } else if (ch != '\r') {
            cells.back() += ch;
        }
    }
    for (std::string& cell : cells) {
        const size_t first = cell.find_first_not_of(" \t");
        const size_t last = cell.find_last_not_of(" \t");
        cell = first == std::string::npos ? std::string() : cell.substr(first, last - first + 1);
    }
    return cells;
}

// All the digits a value needs, without an exponent for whole numbers up to 15 digits.
std::string plain(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string where(int line) {
    return "line " + std::to_string(line) + ": ";
}

std::int64_t wholeNumber(const std::string& text, const std::string& column, int line,
                         std::int64_t minimum, std::int64_t maximum) {
    const std::optional<std::int64_t> value = decimalWholeNumber(text);
    if (!value || *value < minimum || *value > maximum) {
        throw CommandError(kBadInput, where(line) + column + " \"" + echoedText(text) +
                                          "\" is not a whole number from " +
                                          std::to_string(minimum) + " to " +
                                          std::to_string(maximum));
    }
    return *value;
}

double positiveNumber(const std::string& text, const std::string& column, int line) {
    const std::optional<double> value = decimalNumber(text);
    if (!value || !(*value > 0)) {
        throw CommandError(kBadInput, where(line) + column + " \"" + echoedText(text) +
                                          "\" is not a number above 0");
    }
    return *value;
}

}  // namespace

BatchPlan readBatchPlan(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        throw CommandError(kBadInput, read.error);
    BatchPlan plan = parseBatchPlan(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
    // Project paths are relative to the plan's folder; a plan that is not a file in a folder of
    // files (a pipe, /dev/stdin, /proc/self/fd/0) has none: they are relative to the current one.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    const std::string real = fs::weakly_canonical(fs::absolute(folder, ec), ec).string();
    const bool systemFolder =
        real == "/dev" || real.starts_with("/dev/") || real.starts_with("/proc/");
    if (fs::is_regular_file(path, ec) && !systemFolder)
        plan.folder = folder;
    return plan;
}

BatchPlan parseBatchPlan(std::string_view text, const std::string& path) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::string source = "plan \"" + echoedText(path) + "\" ";

    BatchPlan plan;
    std::map<std::string, int> idLine;
    int lineNumber = 0;
    size_t idColumn = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        std::vector<std::string> cells = cellsOf(line);
        if (cells.size() == 1 && cells[0].empty())
            continue;
        if (plan.columns.empty()) {
            for (const std::string& cell : cells) {
                const auto known =
                    std::find_if(kColumnNames.begin(), kColumnNames.end(),
                                 [&](const char* n) { return lower(n) == lower(cell); });
                if (known == kColumnNames.end()) {
                    throw CommandError(kBadInput, source + where(lineNumber) + "\"" +
                                                      echoedText(cell, 40) +
                                                      "\" is not a plan column (id, project, "
                                                      "cycles, seed, life, H1-H4, E1-E5).");
                }
                if (std::find(plan.columns.begin(), plan.columns.end(), *known) !=
                    plan.columns.end()) {
                    throw CommandError(kBadInput, source + where(lineNumber) + "the column " +
                                                      *known + " appears twice.");
                }
                plan.columns.emplace_back(*known);
            }
            for (const char* required : {"id", "project"}) {
                if (std::find(plan.columns.begin(), plan.columns.end(), required) ==
                    plan.columns.end()) {
                    throw CommandError(kBadInput, source + where(lineNumber) + "the column " +
                                                      required + " is missing.");
                }
            }
            idColumn = static_cast<size_t>(
                std::find(plan.columns.begin(), plan.columns.end(), "id") - plan.columns.begin());
            continue;
        }
        const std::string id = idColumn < cells.size() ? cells[idColumn] : std::string();
        if (id.empty())
            throw CommandError(kBadInput, source + where(lineNumber) + "the row has no id.");
        if (const auto [it, added] = idLine.emplace(id, lineNumber); !added) {
            throw CommandError(kBadInput, source + where(lineNumber) + "the id \"" +
                                              echoedText(id) + "\" is used again (first on line " +
                                              std::to_string(it->second) + ").");
        }
        plan.rows.push_back({lineNumber, id, std::move(cells)});
    }
    if (plan.columns.empty())
        throw CommandError(kBadInput, source + "is empty; its first line names the columns.");
    return plan;
}

BatchInputs batchInputs(const BatchPlan& plan, const BatchRow& row) {
    if (row.cells.size() != plan.columns.size()) {
        throw CommandError(kBadInput, where(row.line) + std::to_string(row.cells.size()) +
                                          " cells; the header names " +
                                          std::to_string(plan.columns.size()) + " columns");
    }
    BatchInputs inputs;
    for (size_t c = 0; c < plan.columns.size(); ++c) {
        const std::string& column = plan.columns[c];
        const std::string& cell = row.cells[c];
        // An empty override cell keeps the project's value (or the default).
        if (column == "id" || (column != "project" && cell.empty()))
            continue;
        if (column == "project") {
            if (cell.empty())
                throw CommandError(kBadInput, where(row.line) + "the project is empty");
            inputs.project = cell;
        } else if (column == "cycles") {
            inputs.cycles = static_cast<int>(wholeNumber(cell, column, row.line, 1, kMaxCycles));
        } else if (column == "seed") {
            inputs.seed = static_cast<std::uint32_t>(
                wholeNumber(cell, column, row.line, 0, std::int64_t{4294967295}));
        } else if (column == "life") {
            inputs.lifeYears = positiveNumber(cell, column, row.line);
        } else if (column[0] == 'H') {
            inputs.thickness[at(column[1] - '1')] = positiveNumber(cell, column, row.line);
        } else {
            inputs.modulus[at(column[1] - '1')] = positiveNumber(cell, column, row.line);
        }
    }
    return inputs;
}

nlohmann::json batchInputsJson(const BatchInputs& inputs) {
    nlohmann::json json = {
        {"project", inputs.project}, {"cycles", inputs.cycles}, {"seed", inputs.seed}};
    if (inputs.lifeYears)
        json["life"] = *inputs.lifeYears;
    for (int i = 0; i < kThicknessCount; ++i) {
        if (inputs.thickness[at(i)])
            json["H" + std::to_string(i + 1)] = *inputs.thickness[at(i)];
    }
    for (int i = 0; i < kLayerCount; ++i) {
        if (inputs.modulus[at(i)])
            json["E" + std::to_string(i + 1)] = *inputs.modulus[at(i)];
    }
    return json;
}

void applyBatchOverrides(const BatchInputs& inputs, int line, CStenorDoc& doc) {
    const int layers = doc.layerCountIndex + 2;
    // Every value is in the units the project's values are held in, as `show` prints them.
    const bool english = heldInEnglish(doc);
    for (int i = 0; i < kThicknessCount; ++i) {
        if (!inputs.thickness[at(i)])
            continue;
        const double shown = *inputs.thickness[at(i)];
        const std::string column = "H" + std::to_string(i + 1);
        if (i + 1 >= layers) {
            throw CommandError(kBadInput, where(line) + column + ": the project has " +
                                              std::to_string(layers) +
                                              " layers; the last one has no thickness");
        }
        const double low =
            english ? CStructureDlg::kMinThicknessIn : CStructureDlg::kMinThicknessCm;
        const double high =
            english ? CStructureDlg::kMaxThicknessIn : CStructureDlg::kMaxThicknessCm;
        if (!(shown >= low && shown <= high)) {
            throw CommandError(kBadInput, where(line) + column + " " + formatFieldNumber(shown) +
                                              " is outside " + formatFieldNumber(low) + " to " +
                                              formatFieldNumber(high) + (english ? " in." : " cm"));
        }
        doc.thickness[at(i)] = shown;
    }
    for (int i = 0; i < kLayerCount; ++i) {
        if (!inputs.modulus[at(i)])
            continue;
        const double shown = *inputs.modulus[at(i)];
        const std::string column = "E" + std::to_string(i + 1);
        if (i + 1 > layers) {
            throw CommandError(kBadInput, where(line) + column + ": the project has " +
                                              std::to_string(layers) + " layers");
        }
        // The layer's own modulus limits, as the Structure module checks them, before rounding.
        const double low = doc.minModulus[at(i)];
        const double high = doc.maxModulus[at(i)];
        if (!(shown >= low && shown <= high)) {
            throw CommandError(kBadInput, where(line) + column + " " + plain(shown) +
                                              " is outside the layer's " + plain(low) + " to " +
                                              plain(high) + (english ? " psi" : " MPa"));
        }
        const double psi = roundHalfUpWhole(english ? shown : shown * units::kMpaToPsi);
        // The layers below the last are the same semi-infinite material.
        for (int layer = i; layer < (i + 1 == layers ? kLayerCount : i + 1); ++layer) {
            doc.seasonalModulus[at(layer)].fill(psi);
            doc.layerModulus[at(layer)] =
                english ? psi : roundHalfUpWhole(psi * units::kPsiToMpa * 1000) / 1000;
        }
    }
}

}  // namespace ardelon::cli
