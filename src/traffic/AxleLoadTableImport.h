#pragma once
// Traffic from an agency's normalised axle load table: each class's rows are spread onto the 56
// weight bins and mixed with the class shares and axles per vehicle, as the vehicle type route
// mixes the built-in distributions.
//
// The table does not tell steer axles apart. A class with at most one single axle per vehicle
// sends all its singles to Steer; any other class sends one single per vehicle to Steer and the
// rest to Single; both take the class's single-axle loads. Quad groups have no configuration of
// their own: a class's quad loads join its tridem loads (equal weight when it has both rows) and
// count under its tridem axles per vehicle. A class without a row for a group brings no axles
// of that group. Each configuration with axles then adds up to exactly 100.00 (two decimals,
// largest remainders rounded up); the others are 0 and cleared.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "traffic/AxleLoadTable.h"
#include "traffic/LoadingConditions.h"
#include "traffic/VehicleTypes.h"

namespace ardelon {

inline constexpr std::string_view kImportAxleLoadTableCaption = "Import Axle Load Table";
inline constexpr std::string_view kAxleLoadTableFilter =
    "Axle Load Tables (*.csv);;All Files (*.*)";
inline constexpr std::string_view kAxleLoadTableInitialName = "*.csv";
inline constexpr std::string_view kAxleLoadTableDoneText = "The axle load table has been imported.";
inline constexpr std::string_view kSteerApproximationText =
    "Steer axles are estimated: in classes with at most one single axle per vehicle every single "
    "axle counts as Steer; in the other classes one single axle per vehicle counts as Steer and "
    "the rest as Single. Both take the class's single-axle loads.";

struct AxleLoadTableImport {
    std::string error;               // empty when the traffic was replaced
    std::vector<std::string> notes;  // what the user should know about the result
    bool ok() const { return error.empty(); }
};

// Replaces the four distributions, axlesPerTruck, the configuration shares, check boxes and the
// current configuration of `traffic`, mixing the table with `shares` (percent of trucks of
// classes 4 to 13) and the working copy's axles per vehicle. On error nothing changes.
AxleLoadTableImport applyAxleLoadTable(const AxleLoadTable& table, const ClassShares& shares,
                                       LoadingWorkingCopy& traffic);

// The whole route on a project, as importing in the Load Spectra module and accepting it
// would: the mix, the shown bins, axle groups per day and the accept derivation.
AxleLoadTableImport applyAxleLoadTableRoute(const AxleLoadTable& table, const ClassShares& shares,
                                            CStenorDoc& doc);

// The class shares of --class-shares must add up to 100 % within this many percent.
inline constexpr double kClassShareTotalTolerance = 0.01;

// "9=100" or "5=20,9=80": the shares of the classes named, every other class 0.
struct ClassSharesParse {
    std::optional<ClassShares> shares;
    std::string error;
};
ClassSharesParse parseClassShares(std::string_view text);

// The distribution rounded to two decimals whose sum stays exactly 100.00 in hundredths.
BinArray roundKeepingHundred(const BinArray& percent);

}  // namespace ardelon
