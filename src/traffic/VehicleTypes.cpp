#include "traffic/VehicleTypes.h"

#include <cmath>

#include "project/NumberField.h"
#include "project/Rounding.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

// Axle group types mixed from the library, in configuration order (Steer has no library rows).
constexpr int kMixedGroupCount = 3;

int axlesIndex(int group, int vehicleClass) {
    return 10 * (group + 1) + vehicleClass;
}

}  // namespace

const std::array<std::string_view, kRoadClassCount> kRoadClassNames = {
    "Rural Interstate",         "Rural Principal Arterial",
    "Rural Minor Arterial",     "Rural Major Collector",
    "Rural Minor Collector",    "Rural Local Collector",
    "Urban Interstate",         "Urban Other Freeways and Expressways",
    "Urban Principal Arterial", "Urban Minor Arterial",
    "Urban Collector",
};

const std::array<ClassShares, kRoadClassCount> kRoadClassShares = {{
    {1.2, 9.4, 3.3, 0.5, 7.4, 68.9, 1.2, 6.1, 0.8, 1.2},
    {2.56, 21.37, 6.84, 0.85, 12.82, 47.86, 3.42, 1.71, 0.85, 1.72},
    {3.5, 25.58, 8.14, 1.16, 18.6, 40.7, 1.16, 1.16, 0, 0},
    {5.6, 52.1, 8.5, 0, 12.7, 21.1, 0, 0, 0, 0},
    {5.5, 34.4, 12.6, 1.9, 13.4, 29.8, 1.6, 0, 0, 0.8},
    {3.5, 48.4, 9.2, 0, 6.6, 29.1, 3.2, 0, 0, 0},
    {2.4, 18.4, 9.2, 0, 12.6, 44.8, 2.3, 2.3, 1.1, 6.9},
    {1.8, 22.7, 5.5, 2.7, 12.7, 35.5, 5.5, 2.7, 3.6, 7.3},
    {4.2, 20.8, 7.3, 1.0, 11.5, 46.9, 2.1, 3.1, 1.0, 2.1},
    {1.9, 34.5, 7.3, 0, 21.8, 23.6, 5.5, 0, 1.8, 3.6},
    {1.0, 73.5, 11.5, 3.1, 4.0, 6.9, 0, 0, 0, 0},
}};

double classShareTotal(const VehicleTypeValues& values) {
    double sum = 0;
    for (int k = 0; k < kVehicleClassCount; ++k)
        sum += values[at(shareIndex(k))];
    return sum;
}

MixedSpectra mixClassSpectra(const ClassShares& shares, const ClassAxleSpectra& classes) {
    MixedSpectra mixed;
    for (int c = 0; c < kConfigurationCount; ++c) {
        const ClassShares& axles = classes.axlesPerVehicle[at(c)];
        double sum = 0;
        for (int k = 0; k < kVehicleClassCount; ++k)
            sum += shares[at(k)] * axles[at(k)];
        const double groups = sum * 0.01;
        mixed.axlesPerTruck[at(c)] = groups;
        // A configuration that gets no axles has none in any bin (not 0 / 0).
        if (!(groups > 0))
            continue;
        for (int i = 0; i < kBinCount; ++i) {
            double binSum = 0;
            for (int k = 0; k < kVehicleClassCount; ++k) {
                binSum += classes.distribution[at(c)][at(k)][at(i)] * shares[at(k)] * axles[at(k)];
            }
            mixed.loadSpectra[at(c)][at(i)] = binSum * 0.01 / groups;
        }
    }
    return mixed;
}

void applyConfigurationShares(LoadingWorkingCopy& traffic) {
    const ConfigurationValues& groups = traffic.axlesPerTruck;
    const double allGroups = groups[0] + groups[1] + groups[2] + groups[3];
    for (int c = 0; c < kConfigurationCount; ++c) {
        // A mix without any axles gives every configuration a share of 0, not 0 / 0.
        traffic.configurationPercent[at(c)] =
            allGroups > 0 ? roundHalfUpTwoDecimals(groups[at(c)] / allGroups * 100) : 0.0;
        traffic.configurationEnabled[at(c)] = traffic.configurationPercent[at(c)] > 0 ? 1 : 0;
    }
    traffic.currentConfiguration = Tridem;
    for (int c : {Single, Tandem, Tridem, Steer}) {
        if (traffic.configurationPercent[at(c)] > 0) {
            traffic.currentConfiguration = c;
            break;
        }
    }
}

ClassShares classSharesOf(const VehicleTypeValues& values) {
    ClassShares shares{};
    for (int k = 0; k < kVehicleClassCount; ++k)
        shares[at(k)] = values[at(shareIndex(k))];
    return shares;
}

void applyVehicleTypeMix(LoadingWorkingCopy& traffic) {
    const VehicleTypeValues& v = traffic.vehicleTypeValue;
    // Single, Tandem and Tridem from the library; no class brings a Steer group here.
    ClassAxleSpectra classes;
    for (int g = 0; g < kMixedGroupCount; ++g) {
        for (int k = 0; k < kVehicleClassCount; ++k) {
            classes.axlesPerVehicle[at(g)][at(k)] = v[at(axlesIndex(g, k))];
            classes.distribution[at(g)][at(k)] = traffic.spectraLibrary[at(10 * g + k)];
        }
    }
    const MixedSpectra mixed = mixClassSpectra(classSharesOf(v), classes);
    traffic.axlesPerTruck = mixed.axlesPerTruck;
    for (int g = 0; g < kMixedGroupCount; ++g) {
        for (int i = 0; i < kBinCount; ++i) {
            traffic.loadSpectra[at(g)][at(i)] =
                roundHalfUpTwoDecimals(mixed.loadSpectra[at(g)][at(i)]);
        }
    }
    applyConfigurationShares(traffic);
}

void applyVehicleTypeRoute(CStenorDoc& doc) {
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(doc);
    applyVehicleTypeMix(traffic);
    correctCurrentConfiguration(traffic);
    showConfiguration(traffic);
    traffic.axleGroupsPerDay = computeAxleGroupsPerDay(traffic);
    applyLoadingAccept(traffic);
    traffic.copyToProject(doc);
}

std::string vehicleTypeValuesProblem(const VehicleTypeValues& values) {
    static constexpr std::array<std::string_view, kMixedGroupCount> kGroupNames = {
        "single", "tandem", "tridem"};
    for (int k = 0; k < kVehicleClassCount; ++k) {
        const double share = values[at(shareIndex(k))];
        if (!(share >= kMinClassSharePercent && share <= kMaxClassSharePercent)) {
            return "the share of class " + std::to_string(k + 4) + " is " +
                   formatFieldNumber(share) + "%; it must be between 0% and 100%";
        }
    }
    for (int g = 0; g < kMixedGroupCount; ++g) {
        for (int k = 0; k < kVehicleClassCount; ++k) {
            const double axles = values[at(axlesIndex(g, k))];
            if (!(axles >= kMinAxlesPerVehicle && axles <= kMaxAxlesPerVehicle)) {
                return "class " + std::to_string(k + 4) + " has " + formatFieldNumber(axles) + " " +
                       std::string(kGroupNames[at(g)]) +
                       " axles per vehicle; it must be between 0 and 10";
            }
        }
    }
    return {};
}

}  // namespace ardelon
