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
