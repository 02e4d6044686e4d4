#pragma once
// The project's enumerations, their display names, and the per-position material lists.

#include <array>
#include <string_view>

namespace ardelon {

enum UnitSystem : int { Metric = 0, English = 1 };

enum Season : int { Summer = 0, Fall = 1, Winter = 2, Spring = 3, Spring2 = 4 };
inline constexpr int kSeasonCount = 5;
inline constexpr std::array<std::string_view, kSeasonCount> kSeasonNames = {
    "Summer", "Fall", "Winter", "Spring", "Spring 2"};

enum class MaterialType : int {
    AC = 0,
    CrackedAC = 1,
    PCC = 2,
    RubbPCC = 3,
    CandSPCC = 4,
    BandSPCC = 5,
    GranBase = 6,
    Soil = 7,
    Rock = 8,
    Other = 9,
};
inline constexpr int kMaterialTypeCount = 10;
inline constexpr std::array<std::string_view, kMaterialTypeCount> kMaterialNames = {
    "AC",          "Cracked AC", "PCC",  "Rubb PCC", "C and S PCC",
    "B and S PCC", "Gran Base",  "Soil", "Rock",     "Other"};
// The names the structure messages use for the asphalt and concrete materials.
inline constexpr std::array<std::string_view, kMaterialTypeCount> kMaterialMessageNames = {
    "AC",
    "Cracked AC",
    "PCC",
    "Rubblized PCC",
    "Crack and Seat PCC",
    "Break and Seat PCC",
    "granular base",
    "soil",
    "rock",
    "other"};

enum Distribution : int { Normal = 0, LogNormal = 1 };
inline constexpr std::array<std::string_view, 2> kDistributionNames = {"Normal", "Log-normal"};

enum InterfaceCondition : int { FullSlip = 0, FullBond = 1 };
inline constexpr std::array<std::string_view, 2> kInterfaceConditionNames = {"Full Slip",
                                                                             "Full Bond"};

enum AxleConfiguration : int { Single = 0, Tandem = 1, Tridem = 2, Steer = 3 };
inline constexpr int kConfigurationCount = 4;
inline constexpr std::array<std::string_view, kConfigurationCount> kConfigurationNames = {
    "Single", "Tandem", "Tridem", "Steer"};

inline constexpr int kLayerCount = 5;
inline constexpr int kThicknessCount = 4;  // layer 5 is semi-infinite
inline constexpr int kInterfaceCount = 4;
inline constexpr int kBinCount = 56;
inline constexpr int kSlotCount = 15;
inline constexpr int kDistributionLevels = 5;
// The percentiles of an endurance-limit distribution's levels, as every list and chart names them.
inline constexpr std::array<const char*, kDistributionLevels> kDistributionLevelNames = {
    "95th", "85th", "75th", "65th", "55th"};
inline constexpr int kSpectraLibrarySize = 30;
inline constexpr int kVehicleTypeValueCount = 40;

// The material list offered for a layer position (1 to 5), in list order.
inline constexpr std::array<MaterialType, 2> kLayer1Materials = {MaterialType::AC,
                                                                 MaterialType::Other};
inline constexpr std::array<MaterialType, 4> kLayer5Materials = {
    MaterialType::GranBase, MaterialType::Soil, MaterialType::Rock, MaterialType::Other};

// Number of entries in the material list of a layer (1 to 5).
int materialListSize(int layer);
// Translates a layer's stored list position into its material. Positions outside the list give
// Other, so that a foreign file never indexes past a table.
MaterialType materialOf(int layer, int materialIndex);
// The list position of a material in a layer's list, or -1 when that layer does not offer it.
int materialIndexOf(int layer, MaterialType material);
std::string_view materialName(MaterialType material);

// PG grade lists of the asphalt layers.
inline constexpr std::array<std::string_view, 7> kPgHighGrades = {"82", "76", "70", "64",
                                                                  "58", "52", "46"};
inline constexpr std::array<std::string_view, 6> kPgLowGrades = {"-10", "-16", "-22",
                                                                 "-28", "-34", "-40"};

}  // namespace ardelon
