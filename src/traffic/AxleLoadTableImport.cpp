#include "traffic/AxleLoadTableImport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numeric>

#include "project/NumberField.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

constexpr double kHundredths = 10000;  // 100 % in hundredths of a percent

const std::vector<double>& rowOf(const AxleLoadTable& table, int vehicleClass, AxleGroup group) {
    return table.percent[at(vehicleClass)][at(static_cast<int>(group))];
}

// A class's tridem loads: its tridem and quad rows, each rebinned, with equal weight.
std::optional<BinArray> tridemLoads(const AxleLoadTable& table, int vehicleClass) {
    BinArray loads{};
    int rows = 0;
    for (AxleGroup group : {AxleGroup::Tridem, AxleGroup::Quad}) {
        const std::vector<double>& row = rowOf(table, vehicleClass, group);
        if (row.empty())
            continue;
        const BinArray rebinned = rebinLoadGroups(group, row);
        for (int i = 0; i < kBinCount; ++i)
            loads[at(i)] += rebinned[at(i)];
        ++rows;
    }
    if (rows == 0)
        return std::nullopt;
    for (double& bin : loads)
        bin /= rows;
    return loads;
}

}  // namespace

BinArray roundKeepingHundred(const BinArray& percent) {
    std::array<double, kBinCount> hundredths{};
    std::array<double, kBinCount> remainder{};
    double kept = 0;
    for (int i = 0; i < kBinCount; ++i) {
        const double exact = percent[at(i)] * 100;
        hundredths[at(i)] = std::floor(exact);
        remainder[at(i)] = exact - hundredths[at(i)];
        kept += hundredths[at(i)];
    }
    // The hundredths lost by cutting go to the bins that lost most (lower bins first on ties).
    std::array<int, kBinCount> order{};
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return remainder[at(a)] > remainder[at(b)]; });
    const int missing = static_cast<int>(std::lround(kHundredths - kept));
    for (int n = 0; n < missing && n < kBinCount; ++n)
        hundredths[at(order[at(n)])] += 1;
    BinArray rounded{};
    for (int i = 0; i < kBinCount; ++i)
        rounded[at(i)] = hundredths[at(i)] / 100;
    return rounded;
}

AxleLoadTableImport applyAxleLoadTable(const AxleLoadTable& table, const ClassShares& shares,
                                       LoadingWorkingCopy& traffic) {
    const VehicleTypeValues& v = traffic.vehicleTypeValue;
    AxleLoadTableImport result;
    result.notes.emplace_back(kSteerApproximationText);
    std::vector<std::string> leftOut;
    std::vector<std::string> quadClasses;

    ClassAxleSpectra classes;
    for (int k = 0; k < kVehicleClassCount; ++k) {
        const std::string className = std::to_string(k + 4);
        const bool inMix = shares[at(k)] > 0;
        auto leaveOut = [&](double axles, AxleGroup group) {
            if (inMix && axles > 0) {
                const std::string name(kAxleGroupNames[at(static_cast<int>(group))]);
                std::string lower = name;
                lower[0] = static_cast<char>(std::tolower(lower[0]));
                leftOut.push_back("The table has no " + name + " row for class " + className +
                                  ", so its " + formatFieldNumber(axles) + " " + lower +
                                  (axles == 1 ? " axle" : " axles") +
                                  " per vehicle were left out.");
            }
        };
        const double singles = v[at(singleAxlesIndex(k))];
        if (const std::vector<double>& row = rowOf(table, k, AxleGroup::Single); !row.empty()) {
            const BinArray loads = rebinLoadGroups(AxleGroup::Single, row);
            const double steer = std::min(singles, 1.0);
            classes.axlesPerVehicle[Steer][at(k)] = steer;
            classes.axlesPerVehicle[Single][at(k)] = singles - steer;
            classes.distribution[Steer][at(k)] = loads;
            classes.distribution[Single][at(k)] = loads;
        } else {
            leaveOut(singles, AxleGroup::Single);
        }
        const double tandems = v[at(tandemAxlesIndex(k))];
        if (const std::vector<double>& row = rowOf(table, k, AxleGroup::Tandem); !row.empty()) {
            classes.axlesPerVehicle[Tandem][at(k)] = tandems;
            classes.distribution[Tandem][at(k)] = rebinLoadGroups(AxleGroup::Tandem, row);
        } else {
            leaveOut(tandems, AxleGroup::Tandem);
        }
        const double tridems = v[at(tridemAxlesIndex(k))];
        if (const std::optional<BinArray> loads = tridemLoads(table, k)) {
            classes.axlesPerVehicle[Tridem][at(k)] = tridems;
            classes.distribution[Tridem][at(k)] = *loads;
        } else {
            leaveOut(tridems, AxleGroup::Tridem);
        }
        if (!rowOf(table, k, AxleGroup::Quad).empty())
            quadClasses.push_back(className);
    }

    const MixedSpectra mixed = mixClassSpectra(shares, classes);
    const ConfigurationValues& groups = mixed.axlesPerTruck;
    if (!(groups[0] + groups[1] + groups[2] + groups[3] > 0)) {
        result.error =
            "no vehicle class with a share of the trucks has both axles per vehicle and a row in "
            "the table, so the table gives no axle groups";
        return result;
    }
    if (!quadClasses.empty()) {
        std::string list;
        for (const std::string& name : quadClasses)
            list += (list.empty() ? "" : ", ") + name;
        result.notes.push_back("There is no quad configuration: the quad axle groups of class " +
                               list + " were folded into Tridem.");
    }
    result.notes.insert(result.notes.end(), leftOut.begin(), leftOut.end());

    traffic.axlesPerTruck = groups;
    for (int c = 0; c < kConfigurationCount; ++c) {
        traffic.loadSpectra[at(c)] =
            groups[at(c)] > 0 ? roundKeepingHundred(mixed.loadSpectra[at(c)]) : BinArray{};
    }
    applyConfigurationShares(traffic);
    return result;
}

AxleLoadTableImport applyAxleLoadTableRoute(const AxleLoadTable& table, const ClassShares& shares,
                                            CStenorDoc& doc) {
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(doc);
    AxleLoadTableImport result = applyAxleLoadTable(table, shares, traffic);
    if (!result.ok())
        return result;
    showConfiguration(traffic);
    traffic.axleGroupsPerDay = computeAxleGroupsPerDay(traffic);
    applyLoadingAccept(traffic);
    traffic.copyToProject(doc);
    doc.useLoadSpectra = 1;
    return result;
}

ClassSharesParse parseClassShares(std::string_view text) {
    auto failed = [](std::string message) { return ClassSharesParse{std::nullopt, message}; };
    ClassShares shares{};
    std::array<bool, kVehicleClassCount> given{};
    for (;;) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const size_t equals = item.find('=');
        const std::string_view classText = item.substr(0, equals);
        int vehicleClass = 0;
        auto [classEnd, classEc] =
            std::from_chars(classText.data(), classText.data() + classText.size(), vehicleClass);
        double share = 0;
        const std::string_view shareText =
            equals == std::string_view::npos ? std::string_view{} : item.substr(equals + 1);
        auto [shareEnd, shareEc] =
            std::from_chars(shareText.data(), shareText.data() + shareText.size(), share);
        if (equals == std::string_view::npos || classText.empty() || classEc != std::errc() ||
            classEnd != classText.data() + classText.size() || shareText.empty() ||
            shareEc != std::errc() || shareEnd != shareText.data() + shareText.size()) {
            return failed("\"" + std::string(item) + "\" is not CLASS=PERCENT (for example 9=80)");
        }
        if (vehicleClass < 4 || vehicleClass > 13)
            return failed("class " + std::to_string(vehicleClass) + " is not one of 4 to 13");
        if (given[at(vehicleClass - 4)])
            return failed("class " + std::to_string(vehicleClass) + " is given twice");
        if (!(share >= 0 && share <= 100)) {
            return failed("the share of class " + std::to_string(vehicleClass) + " is " +
                          formatFieldNumber(share) + "%; it must be between 0% and 100%");
        }
        given[at(vehicleClass - 4)] = true;
        shares[at(vehicleClass - 4)] = share;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
    if (!(total > 0))
        return failed("the shares add up to 0; at least one class needs a share above 0");
    // A mix that does not add up is a typing error more often than an intent: refused, not
    // rescaled behind the engineer's back.
    if (std::fabs(total - 100.0) > kClassShareTotalTolerance) {
        return failed("the shares add up to " + formatFieldNumber(total) +
                      "%; they must add up to 100%");
    }
    return {shares, {}};
}

}  // namespace ardelon
