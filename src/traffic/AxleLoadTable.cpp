#include "traffic/AxleLoadTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "project/NumberField.h"
#include "project/ProjectFile.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

// Longest piece of a bad cell quoted back in a message.
constexpr size_t kQuotedCellLength = 24;

// Upper edge of the first load group and the width of the others, in kips.
struct LoadGroupScale {
    double firstUpperKips;
    double stepKips;
};
constexpr std::array<LoadGroupScale, kAxleGroupCount> kScales = {
    {{3, 1}, {6, 2}, {12, 3}, {12, 3}}};

// Weight bin k holds 2k to 2k + 2 kips; the last bin everything from 110 kips.
constexpr double kBinWidthKips = 2;

std::string quoted(std::string_view cell) {
    std::string shown;
    for (char ch : cell.substr(0, kQuotedCellLength)) {
        const auto byte = static_cast<unsigned char>(ch);
        shown += byte >= 0x20 && byte < 0x7f ? ch : '?';
    }
    if (cell.size() > kQuotedCellLength)
        shown += "...";
    return "\"" + shown + "\"";
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::vector<std::string_view> cellsOf(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        const size_t comma = line.find(',');
        cells.push_back(trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            return cells;
        line.remove_prefix(comma + 1);
    }
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return out;
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<AxleGroup> axleGroupOf(std::string_view text) {
    const std::string name = upper(text);
    for (int g = 0; g < kAxleGroupCount; ++g) {
        if (name == upper(kAxleGroupNames[at(g)]) || name == std::to_string(g + 1))
            return static_cast<AxleGroup>(g);
    }
    return std::nullopt;
}

std::string loadGroupName(int loadGroup) {
    return (loadGroup < 10 ? "LG0" : "LG") + std::to_string(loadGroup);
}

// Where each column of the header goes: the class, the group or load group j (1-based).
struct Columns {
    int vehicleClass = -1;
    int axleGroup = -1;
    std::vector<int> loadGroupColumn;  // [j - 1] = column index
};

std::optional<Columns> readHeader(const std::vector<std::string_view>& cells,
                                  const std::string& where, std::string& error) {
    Columns columns;
    std::vector<int> loadGroupOfColumn(cells.size(), 0);
    int loadGroups = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::string name = upper(cells[i]);
        int* named = name == "VEH_CLASS"    ? &columns.vehicleClass
                     : name == "AXLE_GROUP" ? &columns.axleGroup
                                            : nullptr;
        if (named != nullptr) {
            if (*named >= 0) {
                error = where + "the column " + name + " appears twice";
                return std::nullopt;
            }
            *named = static_cast<int>(i);
            continue;
        }
        const std::optional<int> j =
            name.rfind("LG", 0) == 0 ? wholeNumber(std::string_view(name).substr(2)) : std::nullopt;
        if (!j || *j < 1) {
            error = where + "" + quoted(cells[i]) +
                    " is not a column of an axle load table (VEH_CLASS, AXLE_GROUP, LG01, LG02, "
                    "...)";
            return std::nullopt;
        }
        loadGroupOfColumn[i] = *j;
        ++loadGroups;
    }
    for (const auto& [index, name] : {std::pair{columns.vehicleClass, "VEH_CLASS"},
                                      std::pair{columns.axleGroup, "AXLE_GROUP"}}) {
        if (index < 0) {
            error = where + "the column " + name + " is missing";
            return std::nullopt;
        }
    }
    if (loadGroups == 0) {
        error = where + "the load group columns LG01, LG02, ... are missing";
        return std::nullopt;
    }
    columns.loadGroupColumn.assign(at(loadGroups), -1);
    for (size_t i = 0; i < cells.size(); ++i) {
        const int j = loadGroupOfColumn[i];
        if (j == 0)
            continue;
        if (j > loadGroups) {
            error = where + "the column " + loadGroupName(j) + " follows only " +
                    std::to_string(loadGroups) + " load group columns";
            return std::nullopt;
        }
        if (columns.loadGroupColumn[at(j - 1)] >= 0) {
            error = where + "the column " + loadGroupName(j) + " appears twice";
            return std::nullopt;
        }
        columns.loadGroupColumn[at(j - 1)] = static_cast<int>(i);
    }
    return columns;
}

}  // namespace

LoadRangeKips loadGroupRange(AxleGroup group, int loadGroup) {
    const LoadGroupScale& scale = kScales[at(static_cast<int>(group))];
    if (loadGroup <= 1)
        return {0, scale.firstUpperKips};
    const double lower = scale.firstUpperKips + (loadGroup - 2) * scale.stepKips;
    return {lower, lower + scale.stepKips};
}

BinArray rebinLoadGroups(AxleGroup group, const std::vector<double>& percent) {
    BinArray bins{};
    for (size_t j = 0; j < percent.size(); ++j) {
        const LoadRangeKips range = loadGroupRange(group, static_cast<int>(j) + 1);
        const double width = range.upperKips - range.lowerKips;
        for (int k = 0; k < kBinCount; ++k) {
            const double binLower = kBinWidthKips * k;
            const double binUpper = k + 1 == kBinCount ? range.upperKips : binLower + kBinWidthKips;
            const double overlap =
                std::min(binUpper, range.upperKips) - std::max(binLower, range.lowerKips);
            if (overlap > 0)
                bins[at(k)] += percent[j] * overlap / width;
        }
    }
    return bins;
}

AxleLoadTableParse parseAxleLoadTable(std::string_view text) {
    auto failed = [](std::string message) { return AxleLoadTableParse{std::nullopt, message}; };
    if (text.substr(0, 3) == "\xEF\xBB\xBF")  // byte order mark of spreadsheet exports
        text.remove_prefix(3);

    std::optional<Columns> columns;
    AxleLoadTable table;
    std::array<std::array<int, kAxleGroupCount>, kVehicleClassCount> rowLine{};
    int lineNumber = 0;
    bool anyRow = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (trimmed(line).empty())
            continue;
        const std::vector<std::string_view> cells = cellsOf(line);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!columns) {
            std::string error;
            columns = readHeader(cells, where, error);
            if (!columns)
                return failed(error);
            table.loadGroupCount = static_cast<int>(columns->loadGroupColumn.size());
            continue;
        }
        if (cells.size() != columns->loadGroupColumn.size() + 2) {
            return failed(where + std::to_string(cells.size()) + " columns; the header names " +
                          std::to_string(columns->loadGroupColumn.size() + 2));
        }
        const std::string_view classCell = cells[at(columns->vehicleClass)];
        const std::optional<int> vehicleClass = wholeNumber(classCell);
        if (!vehicleClass || *vehicleClass < 4 || *vehicleClass > 13) {
            return failed(where + "the vehicle class " + quoted(classCell) +
                          " is not one of 4 to 13");
        }
        const std::string_view groupCell = cells[at(columns->axleGroup)];
        const std::optional<AxleGroup> group = axleGroupOf(groupCell);
        if (!group) {
            return failed(where + "the axle group " + quoted(groupCell) +
                          " is not Single, Tandem, Tridem or Quad (1 to 4)");
        }
        const int g = static_cast<int>(*group);
        const std::string rowName =
            "class " + std::to_string(*vehicleClass) + " " + std::string(kAxleGroupNames[at(g)]);
        int& firstLine = rowLine[at(*vehicleClass - 4)][at(g)];
        if (firstLine > 0) {
            return failed(where + rowName + " appears again (first on line " +
                          std::to_string(firstLine) + ")");
        }
        firstLine = lineNumber;

        std::vector<double> percent(columns->loadGroupColumn.size());
        double total = 0;
        for (size_t j = 0; j < percent.size(); ++j) {
            const std::string_view cell = cells[at(columns->loadGroupColumn[j])];
            std::string_view number = cell;
            if (!number.empty() && number.front() == '+')
                number.remove_prefix(1);
            double value = 0;
            auto [endPtr, ec] =
                std::from_chars(number.data(), number.data() + number.size(), value);
            const std::string column = loadGroupName(static_cast<int>(j) + 1);
            if (number.empty() || ec != std::errc() || endPtr != number.data() + number.size() ||
                !std::isfinite(value)) {
                return failed(where + column + " " + quoted(cell) + " is not a number");
            }
            if (value < 0) {
                return failed(where + column + " of " + rowName + " is negative (" +
                              formatFieldNumber(value) + ")");
            }
            percent[j] = value;
            total += value;
        }
        if (!(std::abs(total - 100) <= kRowTotalTolerancePercent)) {
            return failed(where + "the percentages of " + rowName + " add up to " +
                          formatFieldNumber(total) + "; they must add up to 100");
        }
        for (double& value : percent)
            value *= 100 / total;
        table.percent[at(*vehicleClass - 4)][at(g)] = std::move(percent);
        anyRow = true;
    }
    if (!columns)
        return failed(
            "the file is empty; an axle load table starts with the header "
            "VEH_CLASS,AXLE_GROUP,LG01,LG02,...");
    if (!anyRow)
        return failed("the table has a header but no rows");
    return {std::move(table), {}};
}

AxleLoadTableParse readAxleLoadTableFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        return {std::nullopt, read.error};
    AxleLoadTableParse parse = parseAxleLoadTable(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!parse.ok())
        parse.error = "Cannot import \"" + path + "\": " + parse.error + ". Nothing was changed.";
    return parse;
}

}  // namespace ardelon
