#pragma once
// The vehicle type dialog of the Load Spectra module: the road class preset, the ten truck class
// shares and their axles per vehicle.

#include <array>
#include <string>
#include <string_view>

#include "project/DialogHost.h"
#include "project/FieldHint.h"
#include "traffic/VehicleTypes.h"

namespace ardelon {

// "Vehicle Type Distribution (Press F1 for Help)".
class CVehicleTypeDlg : public ModalDialog {
  public:
    enum class Control : int {
        RoadClass = 1,
        Total,
        AcceptChanges,
        CancelChanges,
        FirstValue = 100,  // vehicleTypeValue[i] is FirstValue + i
    };
    static Control valueEdit(int index) {
        return static_cast<Control>(static_cast<int>(Control::FirstValue) + index);
    }

    static constexpr std::string_view kCaption = "Vehicle Type Distribution (Press F1 for Help)";
    static constexpr std::string_view kShareOutOfRangeText =
        "Please enter a value between 0% and 100%.";
    static constexpr std::string_view kShareOutOfRangeCaption = "Percentage Out of Range";
    // Accepting shares that do not total 100 is allowed after a warning.
    static constexpr std::string_view kSharesTotalCaption = "Class Shares";
    static constexpr std::array<std::string_view, 2> kSharesTotalText = {
        "The class shares total ", " %, not 100 %. Accept them anyway?"};

    // Form texts. The road class entries are kRoadClassNames; the ten classes are labelled
    // "4" to "13" (classLabel).
    static constexpr std::string_view kRoadClassLabel = "Roadway Functional Classification";
    static constexpr std::string_view kVehicleClassHeading = "Vehicle Classification";
    static constexpr std::string_view kShareHeading = "% AADTT";
    static constexpr std::string_view kAxlesGroup = "Average Number of Axles Per Vehicle";
    static constexpr std::string_view kSingleHeading = "Single";
    static constexpr std::string_view kTandemHeading = "Tandem";
    static constexpr std::string_view kTridemHeading = "Tridem";
    static constexpr std::string_view kTotalLabel = "Total";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";
    static std::string classLabel(int vehicleClass) { return std::to_string(vehicleClass + 4); }

    CVehicleTypeDlg() { openVehicleTypes(); }
    CVehicleTypeDlg(int roadClass, const VehicleTypeValues& values);

    std::string_view caption() const override { return kCaption; }

    // The dialog opens: "Total" of the shares shown.
    void openVehicleTypes() { total = classShareTotal(vehicleTypeValue); }
    // The road class drop-down changed: its preset shares replace the ten shares.
    void selectRoadClass();
    // The share edit of a class (0 for class 4) lost the focus. False when refused.
    bool shareEdited(DialogHost& host, int vehicleClass);
    // "Accept Changes": every share 0 to 100 and every axle count 0 to 10, else the message and
    // the focus on the first offending edit and false (the dialog stays open). Shares that do
    // not total 100 are accepted only when the engineer confirms.
    bool acceptVehicleTypes(DialogHost& host);
    // The tooltip of a share or axle-count edit.
    static FieldHint hint(Control control);

    int vehicleTypeRoadClass = 0;
    VehicleTypeValues vehicleTypeValue{};
    double total = 0;
};

}  // namespace ardelon
