#pragma once
// Load spectra from a vehicle class mix: the share of each truck class 4 to 13 and its average
// single, tandem and tridem axles per vehicle give the axle groups per truck of each
// configuration, the configuration shares and the Single, Tandem and Tridem load spectra as
// mixtures of the built-in per-class distributions, weighted by the axles each class brings.
//
// vehicleTypeValue[40]: 0-9 percent of trucks in classes 4-13, 10-19 single, 20-29 tandem and
// 30-39 tridem axles per vehicle of those classes.

#include <array>
#include <string>
#include <string_view>

#include "project/DialogHost.h"
#include "traffic/LoadingConditions.h"

namespace ardelon {

inline constexpr int kVehicleClassCount = 10;  // classes 4 to 13
inline constexpr int kRoadClassCount = 11;
using VehicleTypeValues = std::array<double, kVehicleTypeValueCount>;
using ClassShares = std::array<double, kVehicleClassCount>;

// "Roadway Functional Classification" entries and the class shares each loads.
extern const std::array<std::string_view, kRoadClassCount> kRoadClassNames;
extern const std::array<ClassShares, kRoadClassCount> kRoadClassShares;

// Index of a class share and of its axles per vehicle in vehicleTypeValue (class index 0 = 4).
inline constexpr int shareIndex(int vehicleClass) {
    return vehicleClass;
}
inline constexpr int singleAxlesIndex(int vehicleClass) {
    return 10 + vehicleClass;
}
inline constexpr int tandemAxlesIndex(int vehicleClass) {
    return 20 + vehicleClass;
}
inline constexpr int tridemAxlesIndex(int vehicleClass) {
    return 30 + vehicleClass;
}

// A class's share of the trucks, percent, and its average axles per vehicle lie between these.
inline constexpr double kMinClassSharePercent = 0;
inline constexpr double kMaxClassSharePercent = 100;
inline constexpr double kMinAxlesPerVehicle = 0;
inline constexpr double kMaxAxlesPerVehicle = 10;

// Sum of the ten class shares ("Total").
double classShareTotal(const VehicleTypeValues& values);

// Axle load distributions of each vehicle class by configuration, and the axle groups of that
// configuration each vehicle of the class carries.
struct ClassAxleSpectra {
    std::array<ClassShares, kConfigurationCount> axlesPerVehicle{};  // [configuration][class]
    std::array<std::array<BinArray, kVehicleClassCount>, kConfigurationCount> distribution{};
};
struct MixedSpectra {
    ConfigurationValues axlesPerTruck{};
    SpectraTable loadSpectra{};  // unrounded; all 0 for a configuration without axles
};
// The class mix: a configuration's axle groups per truck are the class shares weighted by axles
// per vehicle, and its distribution is the mixture of the class distributions weighted by the
// axles each class brings.
MixedSpectra mixClassSpectra(const ClassShares& shares, const ClassAxleSpectra& classes);
// Configuration shares from axlesPerTruck (two decimals), the check boxes (checked when the
// share is above 0) and the current configuration (the first with a share, else Tridem).
void applyConfigurationShares(LoadingWorkingCopy& traffic);
// The class shares held in a vehicle class mix.
ClassShares classSharesOf(const VehicleTypeValues& values);

// The mix applied to the Load Spectra working copy (its vehicleTypeValue and spectraLibrary):
// axlesPerTruck, configurationPercent (two decimals, Steer 0), the Single, Tandem and Tridem
// spectra (two decimals; all 0 for a configuration that gets no axles), the check boxes (checked
// when the share is above 0) and the current configuration (Single, else Tandem, else Tridem).
// The Steer distribution and everything else stay.
void applyVehicleTypeMix(LoadingWorkingCopy& traffic);

// The whole "Input Load Spectra by Vehicle Type" route on a project, as accepting the vehicle
// type dialog and then the Load Spectra module would: the mix, the shown bins, axle groups per
// day and the accept derivation.
void applyVehicleTypeRoute(CStenorDoc& doc);

// The first value of the mix outside its range, as a message naming the class, or empty.
std::string vehicleTypeValuesProblem(const VehicleTypeValues& values);

}  // namespace ardelon
