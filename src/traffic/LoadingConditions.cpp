#include "traffic/LoadingConditions.h"

#include <climits>
#include <cmath>

#include "project/Rounding.h"
#include "traffic/CLoadingConditionsDlg.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

// Each field of the working copy beside the project's field it edits: the one list that both
// directions of the copy read.
template <class Copy, class Project, class Visit>
void forEachLoadingField(Copy& copy, Project& doc, Visit&& visit) {
    visit(copy.unitSystem, doc.unitSystem);
    visit(copy.aadt, doc.aadt);
    visit(copy.percentTrucks, doc.percentTrucks);
    visit(copy.percentTrucksDesignLane, doc.percentTrucksDesignLane);
    visit(copy.directionalDistribution, doc.directionalDistribution);
    visit(copy.axleGroupsPerDay, doc.axleGroupsPerDay);
    visit(copy.truckGrowthPercent, doc.truckGrowthPercent);
    visit(copy.configurationEnabled, doc.configurationEnabled);
    visit(copy.configurationPercent, doc.configurationPercent);
    visit(copy.currentConfiguration, doc.currentConfiguration);
    visit(copy.shownLoadPercent, doc.shownLoadPercent);
    visit(copy.loadSpectra, doc.loadSpectra);
    visit(copy.loadCdf, doc.loadCdf);
    visit(copy.totalAxlePercent, doc.totalAxlePercent);
    visit(copy.esalFactor, doc.esalFactor);
    visit(copy.axleTypeFraction, doc.axleTypeFraction);
    visit(copy.axlesPerTruck, doc.axlesPerTruck);
    visit(copy.vehicleTypeRoadClass, doc.vehicleTypeRoadClass);
    visit(copy.vehicleTypeValue, doc.vehicleTypeValue);
    visit(copy.spectraLibrary, doc.spectraLibrary);
}

// Binds every member of the working copy: a member added to it fails to build here until this
// binding and forEachLoadingField name it.
[[maybe_unused]] void bindsEveryLoadingField(LoadingWorkingCopy& copy) {
    [[maybe_unused]] auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15,
                            f16, f17, f18, f19] = copy;
}

}  // namespace

LoadingWorkingCopy LoadingWorkingCopy::fromProject(const CStenorDoc& doc) {
    LoadingWorkingCopy w;
    forEachLoadingField(w, doc, [](auto& mine, const auto& project) { mine = project; });
    return w;
}

void LoadingWorkingCopy::copyToProject(CStenorDoc& doc) const {
    forEachLoadingField(*this, doc, [](const auto& mine, auto& project) { project = mine; });
}

int axlesPerGroup(int configuration) {
    switch (configuration) {
        case Tandem:
            return 2;
        case Tridem:
            return 3;
        default:  // Single and Steer
            return 1;
    }
}

std::optional<int> firstCheckedConfiguration(const ConfigurationFlags& enabled, int skipped) {
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (c != skipped && isChecked(enabled, c))
            return c;
    }
    return std::nullopt;
}

double loadEquivalencyFactor(double loadKips, int axles, double structuralNumber,
                             double terminalServiceability) {
    // 0.37037037037037035 is 1 / 2.7, the serviceability loss from 4.2 down to 1.5.
    const double g = std::log10((4.2 - terminalServiceability) * 0.37037037037037035);
    const double snTerm = std::pow(structuralNumber + 1.0, 5.19);
    auto beta = [snTerm](double load, double n) {
        return 0.4 + 0.081 * std::pow(load + n, 3.23) / (snTerm * std::pow(n, 3.23));
    };
    const double n = axles;
    const double beta18 = beta(18.0, 1.0);
    const double x = 6.1252 - 4.79 * std::log10(loadKips + n) + 4.33 * std::log10(n) +
                     g / beta(loadKips, n) - g / beta18;
    return 1.0 / std::pow(10.0, x);
}

double binTotal(const BinArray& bins) {
    double sum = 0;
    for (double v : bins)
        sum += v;
    return roundHalfUpWhole(sum);
}

BinArray binPercentOfAxleGroups(const BinArray& bins) {
    double sum = 0;
    for (double v : bins)
        sum += v;
    if (!(sum > 0) || std::fabs(sum - 100.0) <= 0.5)
        return sum > 0 ? bins : BinArray{};
    BinArray percent{};
    for (int k = 0; k < kBinCount; ++k)
        percent[at(k)] = bins[at(k)] * 100.0 / sum;
    return percent;
}

int computeAxleGroupsPerDay(const LoadingWorkingCopy& traffic) {
    double axles = 0;
    for (double a : traffic.axlesPerTruck)
        axles += a;
    // Multiplied in this order so that the figure matches the one engineers have on record.
    const double groups = axles * (traffic.percentTrucksDesignLane * 0.01) *
                          (traffic.directionalDistribution * 0.01) *
                          (traffic.percentTrucks * 0.01) * traffic.aadt;
    // Unranged percentages from a file may give any figure: keep it within an int.
    if (!(groups >= 1.0))
        return 1;
    if (groups >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(groups);
}

void showConfiguration(LoadingWorkingCopy& traffic) {
    if (!isConfiguration(traffic.currentConfiguration))
        return;
    traffic.shownLoadPercent = traffic.loadSpectra[at(traffic.currentConfiguration)];
}

bool correctCurrentConfiguration(LoadingWorkingCopy& traffic) {
    const int c = traffic.currentConfiguration;
    if (isConfiguration(c) && isChecked(traffic.configurationEnabled, c))
        return false;
    if (auto first = firstCheckedConfiguration(traffic.configurationEnabled, c)) {
        traffic.currentConfiguration = *first;
    } else if (!isConfiguration(c)) {
        traffic.currentConfiguration = Single;  // a damaged file: show a distribution that exists
    }
    return true;
}

void applyLoadingAccept(LoadingWorkingCopy& traffic) {
    ConfigurationValues totals{};
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!isChecked(traffic.configurationEnabled, c))
            continue;
        for (double v : traffic.loadSpectra[at(c)])
            totals[at(c)] += v;
    }
    for (int c = 0; c < kConfigurationCount; ++c) {
        const double total = totals[at(c)];
        if (!(total > 0))
            continue;  // no axles to draw from: keep the previous distribution
        double running = 0;
        for (int k = 0; k < kBinCount; ++k) {
            running += traffic.loadSpectra[at(c)][at(k)];
            traffic.loadCdf[at(c)][at(k)] = running / total;
        }
    }
    traffic.totalAxlePercent = totals[0] + totals[1] + totals[2] + totals[3];
    for (int c = 0; c < kConfigurationCount; ++c) {
        traffic.axleTypeFraction[at(c)] = traffic.configurationPercent[at(c)] * 0.01;
    }
    double equivalentLoads = 0;
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (!isChecked(traffic.configurationEnabled, c))
            continue;
        for (int k = 0; k < kBinCount; ++k) {
            equivalentLoads += loadEquivalencyFactor(binLoadKips(k), axlesPerGroup(c)) *
                               traffic.loadSpectra[at(c)][at(k)];
        }
    }
    // With no axle groups at all there is nothing to average: the factor is 0, not 0 / 0.
    traffic.esalFactor =
        traffic.totalAxlePercent != 0 ? equivalentLoads / traffic.totalAxlePercent : 0.0;
}

void applyLoadingAccept(CStenorDoc& doc) {
    LoadingWorkingCopy traffic = LoadingWorkingCopy::fromProject(doc);
    applyLoadingAccept(traffic);
    traffic.copyToProject(doc);
}

FieldRange loadingFieldRange(LoadingField field) {
    switch (field) {
        case LoadingField::Aadt:
            return {true, 1, 500000};
        case LoadingField::PercentTrucks:
        case LoadingField::TruckGrowth:
            return {false, 0, 100};
        case LoadingField::AxleGroupsPerDay:
            return {true, 1, 100000000};
    }
    return {false, 0, 0};
}

FieldValue<double> parseLoadingField(LoadingField field, std::string_view text) {
    const FieldRange range = loadingFieldRange(field);
    if (range.integer) {
        const FieldValue<int> v = parseIntegerField(text, static_cast<int>(range.minimum),
                                                    static_cast<int>(range.maximum));
        if (!v.ok())
            return {std::nullopt, v.message};
        return {static_cast<double>(*v.value), {}};
    }
    return parseNumberField(text, range.minimum, range.maximum);
}

std::string loadingFieldRangeMessage(LoadingField field, double value) {
    const FieldRange range = loadingFieldRange(field);
    if (value >= range.minimum && value <= range.maximum)
        return {};
    if (range.integer) {
        return "Please enter an integer between " +
               std::to_string(static_cast<int>(range.minimum)) + " and " +
               std::to_string(static_cast<int>(range.maximum)) + ".";
    }
    return "Please enter a number between " + formatFieldNumber(range.minimum) + " and " +
           formatFieldNumber(range.maximum) + ".";
}

std::string_view loadingFieldLabel(LoadingField field) {
    using Dlg = CLoadingConditionsDlg;
    switch (field) {
        case LoadingField::Aadt:
            return Dlg::kAadtLabel;
        case LoadingField::PercentTrucks:
            return Dlg::kPercentTrucksLabel;
        case LoadingField::TruckGrowth:
            return Dlg::kTruckGrowthLabel;
        case LoadingField::AxleGroupsPerDay:
            return Dlg::kAxleGroupsPerDayLabel;
    }
    return {};
}

double loadingFieldValue(const LoadingWorkingCopy& traffic, LoadingField field) {
    switch (field) {
        case LoadingField::Aadt:
            return traffic.aadt;
        case LoadingField::PercentTrucks:
            return traffic.percentTrucks;
        case LoadingField::TruckGrowth:
            return traffic.truckGrowthPercent;
        case LoadingField::AxleGroupsPerDay:
            return traffic.axleGroupsPerDay;
    }
    return 0;
}

std::string loadingFieldsProblem(const LoadingWorkingCopy& traffic) {
    for (LoadingField field : kLoadingFields) {
        const double value = loadingFieldValue(traffic, field);
        if (loadingFieldRangeMessage(field, value).empty())
            continue;
        const FieldRange range = loadingFieldRange(field);
        return "\"" + std::string(loadingFieldLabel(field)) + "\" must be " +
               (range.integer ? "an integer" : "a number") + " between " +
               formatFieldNumber(range.minimum) + " and " +
               (range.integer ? std::to_string(static_cast<int>(range.maximum))
                              : formatFieldNumber(range.maximum)) +
               ", not " + formatFieldNumber(value);
    }
    return {};
}

}  // namespace ardelon
