#include "traffic/CVehicleTypeDlg.h"

#include <cmath>

#include "project/NumberField.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

}  // namespace

CVehicleTypeDlg::CVehicleTypeDlg(int roadClass, const VehicleTypeValues& values)
    : vehicleTypeRoadClass(roadClass), vehicleTypeValue(values) {
    openVehicleTypes();
}

void CVehicleTypeDlg::selectRoadClass() {
    // A road class outside the list (a damaged project) has no preset to load.
    if (vehicleTypeRoadClass < 0 || vehicleTypeRoadClass >= kRoadClassCount)
        return;
    const ClassShares& preset = kRoadClassShares[at(vehicleTypeRoadClass)];
    for (int k = 0; k < kVehicleClassCount; ++k) {
        vehicleTypeValue[at(shareIndex(k))] = preset[at(k)];
    }
    total = classShareTotal(vehicleTypeValue);
}

bool CVehicleTypeDlg::shareEdited(DialogHost& host, int vehicleClass) {
    const double share = vehicleTypeValue[at(shareIndex(vehicleClass))];
    if (!(share >= kMinClassSharePercent && share <= kMaxClassSharePercent)) {
        host.showMessage(kShareOutOfRangeText, kShareOutOfRangeCaption, MessageIcon::Exclamation);
        host.setFocus(static_cast<int>(valueEdit(shareIndex(vehicleClass))));
        return false;
    }
    total = classShareTotal(vehicleTypeValue);
    return true;
}

bool CVehicleTypeDlg::acceptVehicleTypes(DialogHost& host) {
    // A share refused on leaving its edit stays typed there; it must not reach the mix.
    for (int k = 0; k < kVehicleClassCount; ++k) {
        if (!shareEdited(host, k))
            return false;
    }
    for (int i = singleAxlesIndex(0); i < kVehicleTypeValueCount; ++i) {
        const double axles = vehicleTypeValue[at(i)];
        if (!(axles >= kMinAxlesPerVehicle && axles <= kMaxAxlesPerVehicle)) {
            host.showMessage("Please enter a number between " +
                                 formatFieldNumber(kMinAxlesPerVehicle) + " and " +
                                 formatFieldNumber(kMaxAxlesPerVehicle) + ".",
                             kApplicationTitle, MessageIcon::Exclamation);
            host.setFocus(static_cast<int>(valueEdit(i)));
            return false;
        }
    }
    // Shares are typed with at most two decimals; a hundredth is the tolerance of the total.
    if (std::fabs(total - 100.0) >= 0.005) {
        const std::string text = std::string(kSharesTotalText[0]) + formatFieldNumber(total) +
                                 std::string(kSharesTotalText[1]);
        if (host.showMessage(text, kSharesTotalCaption, MessageIcon::Exclamation,
                             MessageButtons::OkCancel) != MessageAnswer::Ok) {
            host.setFocus(static_cast<int>(valueEdit(shareIndex(0))));
            return false;
        }
    }
    return true;
}

}  // namespace ardelon
