#pragma once
// The traffic of a project as the Load Spectra module edits it, and the rules that derive from it
// what the Monte Carlo sampling reads: cumulative load distributions, configuration fractions and
// the ESAL factor of the axle groups.
//
// The rules are free functions on the working copy so that the module's dialog, the command-line
// tool and any later form share one implementation; `applyLoadingAccept(CStenorDoc&)` runs the
// accept derivation straight on a project.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "project/CStenorDoc.h"
#include "project/FieldHint.h"
#include "project/NumberField.h"

namespace ardelon {

using ConfigurationFlags = std::array<int, kConfigurationCount>;
using ConfigurationValues = std::array<double, kConfigurationCount>;
using SpectraTable = Table<kConfigurationCount, kBinCount>;

// The project fields the Load Spectra module copies in when it opens and back on accept.
// A new project's traffic is fromProject(CStenorDoc{}); a default-constructed copy is all zero.
struct LoadingWorkingCopy {
    int unitSystem = 0;
    int aadt = 0;
    double percentTrucks = 0;
    double percentTrucksDesignLane = 0;
    double directionalDistribution = 0;
    int axleGroupsPerDay = 0;
    double truckGrowthPercent = 0;
    ConfigurationFlags configurationEnabled{};
    ConfigurationValues configurationPercent{};
    int currentConfiguration = Single;
    BinArray shownLoadPercent{};  // the 56 bin edits: the row of the shown configuration
    SpectraTable loadSpectra{};
    SpectraTable loadCdf{};
    double totalAxlePercent = 0;
    double esalFactor = 0;
    ConfigurationValues axleTypeFraction{};
    ConfigurationValues axlesPerTruck{};
    int vehicleTypeRoadClass = 0;
    std::array<double, kVehicleTypeValueCount> vehicleTypeValue{};
    Table<kSpectraLibrarySize, kBinCount> spectraLibrary{};

    static LoadingWorkingCopy fromProject(const CStenorDoc& doc);
    void copyToProject(CStenorDoc& doc) const;

    bool operator==(const LoadingWorkingCopy&) const = default;
};

// Axles in one axle group: Single 1, Tandem 2, Tridem 3, Steer 1.
int axlesPerGroup(int configuration);

// A configuration flag counts as checked only when it holds exactly 1 (files may hold others).
inline bool isChecked(const ConfigurationFlags& enabled, int configuration) {
    return enabled[static_cast<size_t>(configuration)] == 1;
}
// The first checked configuration in the order Single, Tandem, Tridem, Steer, leaving out
// `skipped`; nullopt when there is none.
std::optional<int> firstCheckedConfiguration(const ConfigurationFlags& enabled, int skipped = -1);
inline bool isConfiguration(int value) {
    return value >= 0 && value < kConfigurationCount;
}

// Load equivalency factor of one axle group of `axles` axles carrying `loadKips` (AASHTO
// flexible-pavement equation, base-10 logarithms), relative to an 18-kip single axle:
//   G = log((4.2 - pt) / 2.7), beta(L, n) = 0.4 + 0.081 (L + n)^3.23 / ((SN + 1)^5.19 n^3.23),
//   x = 4.79 log(18 + 1) - 4.79 log(L + n) + 4.33 log(n) + G / beta(L, n) - G / beta(18, 1),
//   factor = 10^-x.
// 4.79 log(19) is taken as 6.1252, so an 18-kip single axle gives 1 within 0.0001.
inline constexpr double kDesignStructuralNumber = 5.0;
inline constexpr double kTerminalServiceability = 3.0;
double loadEquivalencyFactor(double loadKips, int axles,
                             double structuralNumber = kDesignStructuralNumber,
                             double terminalServiceability = kTerminalServiceability);

// Representative load of weight bin k in kips (2k + 1).
inline double binLoadKips(int bin) {
    return 2.0 * bin + 1.0;
}

// "Total" of the bin edits: their sum rounded half up to a whole number.
double binTotal(const BinArray& bins);

// A configuration's load distribution in percent of its axle groups, as a run draws from it.
// A distribution that adds up to 100 (within the half percent its rounded bins may miss by) is
// returned as held; any other one (the ESAL route stores axle counts) as each bin's share of the
// total. All zero without axles.
BinArray binPercentOfAxleGroups(const BinArray& bins);

// "Axles Groups / Day" from the truck traffic: (sum of axlesPerTruck) × design-lane share ×
// directional share × truck share × AADT, cut toward zero; never below 1.
int computeAxleGroupsPerDay(const LoadingWorkingCopy& traffic);

// Copies the row of the current configuration into the bin edits (a current configuration
// outside Single to Steer shows nothing and changes nothing).
void showConfiguration(LoadingWorkingCopy& traffic);

// When the current configuration is not checked, it becomes the first checked one (it stays when
// none is checked) and the result is true: the module then tells the user.
bool correctCurrentConfiguration(LoadingWorkingCopy& traffic);

// The accept derivation of the Load Spectra module: configuration totals of the checked
// configurations, their cumulative distributions (a configuration whose total is not positive
// keeps its previous one), totalAxlePercent, axleTypeFraction and the ESAL factor (0 when no
// checked configuration carries any axles).
void applyLoadingAccept(LoadingWorkingCopy& traffic);
// The same on a project, as accepting the module without edits would.
void applyLoadingAccept(CStenorDoc& doc);

// Number-entry checks of the ranged fields of the module, with the framework's texts.
enum class LoadingField { Aadt, PercentTrucks, TruckGrowth, AxleGroupsPerDay };
struct FieldRange {
    bool integer;
    double minimum;
    double maximum;
};
FieldRange loadingFieldRange(LoadingField field);
// Parses the text of a ranged field: the value, or the message to show with the application
// title as caption ("Please enter an integer between 1 and 500000.").
FieldValue<double> parseLoadingField(LoadingField field, std::string_view text);
// The message for a value already held that lies outside its field's range, or empty.
std::string loadingFieldRangeMessage(LoadingField field, double value);
inline constexpr std::array<LoadingField, 4> kLoadingFields = {
    LoadingField::Aadt, LoadingField::PercentTrucks, LoadingField::TruckGrowth,
    LoadingField::AxleGroupsPerDay};
// The control text of a ranged field ("Two-Way AADT") and its value in the working copy.
std::string_view loadingFieldLabel(LoadingField field);
double loadingFieldValue(const LoadingWorkingCopy& traffic, LoadingField field);
// The first ranged field whose value the module would not accept, as a sentence without the
// final stop ("\"Two-Way AADT\" must be an integer between 1 and 500000, not 0"), or empty.
std::string loadingFieldsProblem(const LoadingWorkingCopy& traffic);

}  // namespace ardelon
