#pragma once
// Normalised axle load spectra tables, as agencies keep them from weigh-in-motion sites: one row
// per vehicle class and axle group with the percentage of that group's axles in each load group.
//
//   VEH_CLASS,AXLE_GROUP,LG01,LG02,...,LGnn
//   9,Single,0.5,1.2,...
//
// Column names are case-insensitive and the number of load groups is read from the header.
// VEH_CLASS is 4 to 13; AXLE_GROUP is Single, Tandem, Tridem or Quad (or 1 to 4). Load group 1
// holds everything below the first boundary (3 kips for singles, 6 for tandems, 12 for tridems
// and quads); group j > 1 then spans one step (1, 2 and 3 kips) from the boundary plus j - 2
// steps. A class and group may be missing; each row present adds up to 100 within
// kRowTotalTolerancePercent.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "traffic/VehicleTypes.h"

namespace ardelon {

enum class AxleGroup : int { Single = 0, Tandem, Tridem, Quad };
inline constexpr int kAxleGroupCount = 4;
inline constexpr std::array<std::string_view, kAxleGroupCount> kAxleGroupNames = {
    "Single", "Tandem", "Tridem", "Quad"};

// A row may add up to 100 ± this (rounding in the agency's table); it is scaled to 100.
inline constexpr double kRowTotalTolerancePercent = 1.0;

struct LoadRangeKips {
    double lowerKips;
    double upperKips;
};
// The loads held by load group `loadGroup` (1 for LG01) of an axle group.
LoadRangeKips loadGroupRange(AxleGroup group, int loadGroup);

// A row's percentages spread onto the 56 weight bins by overlap, loads taken as uniform within
// each load group; loads of 110 kips and more fall in the last bin.
BinArray rebinLoadGroups(AxleGroup group, const std::vector<double>& percent);

struct AxleLoadTable {
    int loadGroupCount = 0;
    // percent[class - 4][group]: the row as read, empty when the table has none.
    std::array<std::array<std::vector<double>, kAxleGroupCount>, kVehicleClassCount> percent;
};

// Either the table or why the text is not one ("line 4: ..."), without the file name.
struct AxleLoadTableParse {
    std::optional<AxleLoadTable> table;
    std::string error;
    bool ok() const { return table.has_value(); }
};
AxleLoadTableParse parseAxleLoadTable(std::string_view text);
// Reads a file; `error` is the whole message naming the path, the line and the problem.
AxleLoadTableParse readAxleLoadTableFile(const std::string& path);

}  // namespace ardelon
