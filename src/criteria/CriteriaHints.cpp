// The tooltips of the criteria forms' number fields. Thresholds, coefficients and strains are
// taken as typed: their hints give the unit and the sign convention.

#include <string>

#include "criteria/EnduranceLimitDialog.h"
#include "criteria/LayerCriteriaDialog.h"
#include "criteria/ResponseType.h"
#include "criteria/TransferFunctionsDialog.h"

namespace ardelon {
namespace {

constexpr std::string_view kTensionNegative = "tension negative";

}  // namespace

FieldHint LayerCriteriaDialog::hint(Control control) const {
    for (int p = 0; p < static_cast<int>(kPositionNames.size()); ++p) {
        const std::string position(kPositionNames[static_cast<std::size_t>(p)]);
        if (control == this->control(Control::ThresholdTop, p)) {
            const int type = slot(p).responseType;
            // Stresses and strains carry a sign; a deflection does not.
            const bool signed_ = type >= HorizontalStress && type <= PrincipalStrain;
            return fieldHint(position + " threshold", unitLabel(p), kAnyNumber,
                             signed_ ? kTensionNegative : "");
        }
        if (control == this->control(Control::TargetPercentileTop, p))
            return fieldHint(position + " target percentile", "", kAnyNumber);
        if (control == this->control(Control::K1Top, p))
            return fieldHint(position + " transfer function k1", "", kAnyNumber);
        if (control == this->control(Control::K2Top, p))
            return fieldHint(position + " transfer function k2", "", kAnyNumber);
    }
    for (int level = 0; level < kDistributionLevels; ++level) {
        if (static_cast<int>(control) == static_cast<int>(Control::Distribution95) + level)
            return fieldHint("Allowable horizontal strain at the " +
                                 std::string(kPercentileLabels[static_cast<std::size_t>(level)]) +
                                 " percentile",
                             "microstrain", kAnyNumber, kTensionNegative);
    }
    return {};
}

FieldHint EnduranceLimitDialog::hint(Control control) {
    if (control != Control::EnduranceLimit)
        return {};
    return fieldHint("Endurance limit", kUnitLabel, kAnyNumber, kTensionNegative);
}

FieldHint TransferFunctionsDialog::hint(Control control) {
    static constexpr std::array<std::string_view, 4> kNames = {
        "Fatigue coefficient K1", "Fatigue exponent K2", "Rutting coefficient K3",
        "Rutting exponent K4"};
    const int index = static_cast<int>(control) - static_cast<int>(Control::K1);
    if (index < 0 || index >= static_cast<int>(kNames.size()))
        return {};
    return fieldHint(kNames[static_cast<std::size_t>(index)], "", kAnyNumber);
}

}  // namespace ardelon
