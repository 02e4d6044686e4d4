// The tooltips of the traffic forms' number fields: Load Spectra, Vehicle Type Distribution and
// ESAL Data.

#include <string>

#include "traffic/CEsalDataDlg.h"
#include "traffic/CLoadingConditionsDlg.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/VehicleTypes.h"

namespace ardelon {
namespace {

std::string configurationName(int configuration) {
    return std::string(kConfigurationNames[static_cast<std::size_t>(configuration)]);
}

}  // namespace

FieldHint CLoadingConditionsDlg::hint(Control control) const {
    // The ranged fields are refused outside their range when the edit is left.
    static constexpr std::array<std::string_view, 4> kQuantities = {
        "Two-way AADT", "Trucks", "Truck traffic growth", "Axle groups per day"};
    static constexpr std::array<std::string_view, 4> kUnits = {"vehicles per day", "% of AADT",
                                                               "% per year", "design lane"};
    for (std::size_t i = 0; i < kLoadingFields.size(); ++i) {
        if (control == controlOf(kLoadingFields[i])) {
            const FieldRange range = loadingFieldRange(kLoadingFields[i]);
            return fieldHint(kQuantities[i], kUnits[i], {range.minimum, range.maximum});
        }
    }
    if (control == Control::PercentTrucksDesignLane)
        return fieldHint("Trucks in the design lane", "%", kAnyNumber);
    if (control == Control::DirectionalDistribution)
        return fieldHint("Directional distribution", "%", kAnyNumber);
    for (int c = 0; c < kConfigurationCount; ++c) {
        if (control == percentEdit(c))
            return fieldHint(configurationName(c) + " share of the axle groups", "%", kAnyNumber);
    }
    const int bin = static_cast<int>(control) - static_cast<int>(Control::FirstBin);
    if (bin >= 0 && bin < kBinCount) {
        // Negative shares are refused when the edit is left.
        const std::string& label = binLabels[static_cast<std::size_t>(bin)];
        // The labels are weight classes in kip, or in kN when the project works in metric units.
        const std::string weight = label.empty() ? "bin " + std::to_string(bin + 1)
                                                 : label + (unitSystem == Metric ? " kN" : " kip");
        const std::string configuration = isConfiguration(currentConfiguration)
                                              ? configurationName(currentConfiguration) + " "
                                              : "";
        return fieldHint(configuration + "axles of " + weight, "%", kNotNegative);
    }
    return {};
}

FieldHint CVehicleTypeDlg::hint(Control control) {
    const int index = static_cast<int>(control) - static_cast<int>(Control::FirstValue);
    static constexpr std::array<std::string_view, 3> kGroups = {"single", "tandem", "tridem"};
    for (int k = 0; k < kVehicleClassCount; ++k) {
        const std::string name = "Class " + classLabel(k);
        if (index == shareIndex(k))
            return fieldHint(name + " share of the trucks", "% AADTT",
                             {kMinClassSharePercent, kMaxClassSharePercent});
        const int groups[] = {singleAxlesIndex(k), tandemAxlesIndex(k), tridemAxlesIndex(k)};
        for (std::size_t g = 0; g < kGroups.size(); ++g) {
            if (index == groups[g])
                return fieldHint(name + " " + std::string(kGroups[g]) + " axles per vehicle", "",
                                 {kMinAxlesPerVehicle, kMaxAxlesPerVehicle});
        }
    }
    return {};
}

FieldHint CEsalDataDlg::hint(Control control) {
    if (control != Control::ExpectedEsals)
        return {};
    return fieldHint("Expected equivalent single axle loads", "ESALs", kNotNegative);
}

}  // namespace ardelon
