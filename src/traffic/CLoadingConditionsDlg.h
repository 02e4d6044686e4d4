#pragma once
// The Load Spectra module, "Loading Conditions (F1 for Help)": general traffic data, the axle
// configurations evaluated and their shares, and a 56-bin axle load distribution per
// configuration. One method per control reaction; the form copies the controls into the members
// before each call and shows the members again after it.

#include <array>
#include <string>
#include <string_view>

#include "project/CStenorDoc.h"
#include "project/DialogHost.h"
#include "traffic/LoadingConditions.h"

namespace ardelon {

class CLoadingConditionsDlg : public LoadingWorkingCopy {
  public:
    enum class Control : int {
        Aadt = 1,
        PercentTrucks,
        TruckGrowth,
        AxleGroupsPerDay,
        PercentTrucksDesignLane,
        DirectionalDistribution,
        SingleCheck,  // check boxes in configuration order
        TandemCheck,
        TridemCheck,
        SteerCheck,
        SinglePercent,  // share edits in configuration order
        TandemPercent,
        TridemPercent,
        SteerPercent,
        CurrentConfiguration,
        Total,
        ImportLoadSpectra,
        SaveLoadSpectra,
        InputByVehicleType,
        AcceptChanges,
        CancelChanges,
        ImportAxleLoadTable,
        FirstBin = 100,  // bin k is FirstBin + k
    };
    static Control checkBox(int configuration) {
        return static_cast<Control>(static_cast<int>(Control::SingleCheck) + configuration);
    }
    static Control percentEdit(int configuration) {
        return static_cast<Control>(static_cast<int>(Control::SinglePercent) + configuration);
    }
    static Control binEdit(int bin) {
        return static_cast<Control>(static_cast<int>(Control::FirstBin) + bin);
    }

    static constexpr std::string_view kCaption = "Loading Conditions (F1 for Help)";

    // Form texts: group boxes, field labels, column headings and buttons.
    static constexpr std::string_view kGeneralTrafficGroup = "General Traffic Data";
    static constexpr std::string_view kAadtLabel = "Two-Way AADT";
    static constexpr std::string_view kPercentTrucksLabel = "% Trucks";
    static constexpr std::string_view kTruckGrowthLabel = "% Truck Growth";
    static constexpr std::string_view kAxleGroupsPerDayLabel = "Axles Groups / Day";
    static constexpr std::string_view kPercentTrucksDesignLaneLabel = "% Trucks in Design Lane";
    static constexpr std::string_view kDirectionalDistributionLabel = "Directional Distribution";
    static constexpr std::string_view kPercentUnit = "%";  // beside the directional distribution
    static constexpr std::string_view kConfigurationsGroup =
        "Loading Configurations (Check All That Apply)";
    // The check boxes and the "Current Configuration" entries are kConfigurationNames.
    static constexpr std::string_view kCurrentConfigurationLabel = "Current Configuration";
    static constexpr std::string_view kDistributionGroup = "Current Axle Load Distribution";
    static constexpr std::string_view kAxlesPercentHeading = "% Axles";
    static constexpr std::string_view kTotalLabel = "Total";
    static constexpr std::string_view kImportButton = "Import Load Spectra";
    static constexpr std::string_view kSaveButton = "Save Load Spectra";
    static constexpr std::string_view kVehicleTypeButton = "Input Load Spectra by Vehicle Type";
    static constexpr std::string_view kAxleLoadTableButton = "Import Axle Load Table";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";
    // The bin edits stand in five columns of twelve, top to bottom: bins 0-11, 12-23, 24-35,
    // 36-47 and 48-55; "Total" sits under the last column.
    static constexpr int kBinsPerColumn = 12;
    static constexpr int kBinColumnCount = 5;
    static constexpr int binColumn(int bin) { return bin / kBinsPerColumn; }
    static constexpr int binRow(int bin) { return bin % kBinsPerColumn; }

    static constexpr std::string_view kNoConfigurationText =
        "Please evaluate at least one configuration.";
    static constexpr std::string_view kNoConfigurationCaption = "No Configurations Selected";
    static constexpr std::string_view kConfigurationErrorCaption = "Configuration Error";
    static constexpr std::string_view kNegativeBinText = "Please do not enter negative values.";
    static constexpr std::string_view kNumberOutOfRangeCaption = "Number Out of Range";
    // "Single Configuration has not been selected above." and its siblings.
    static std::string configurationNotSelectedText(int configuration);

    // The heading over the bin labels, in the unit of the labels.
    static std::string_view binHeading(int unitSystem) {
        return unitSystem == Metric ? "Axle Wt, kN" : "Axle Wt, kip";
    }

    CLoadingConditionsDlg() = default;
    explicit CLoadingConditionsDlg(const CStenorDoc& doc);
    // Copies the working copy back into the project ("Accept Changes").
    void copyToProject(CStenorDoc& doc) const { LoadingWorkingCopy::copyToProject(doc); }

    // The dialog opens: labels, current configuration check, shown bins, total, share edits.
    void openLoadingConditions(DialogHost& host);
    // A configuration check box was clicked; configurationEnabled already holds its new state.
    void toggleConfiguration(DialogHost& host, int configuration);
    // "Current Configuration" changed (currentConfiguration holds the choice).
    void selectConfiguration(DialogHost& host);
    // The focus entered the share edit of a configuration: that configuration is shown.
    void percentEditFocused(DialogHost& host, int configuration);
    // Bin edit k lost the focus; shownLoadPercent[k] holds the value typed.
    void binEdited(DialogHost& host, int bin);
    // AADT, % Trucks, % Trucks in Design Lane or Directional Distribution lost the focus.
    void trafficEdited();
    // "Accept Changes": derives the cumulative distributions, totals, fractions and the ESAL
    // factor, then checks the ranged fields (validateLoadingFields). True when the dialog may
    // close with OK; the form then calls copyToProject.
    bool acceptLoading(DialogHost& host);
    // The derivation alone, as accepting runs it first.
    void acceptLoading();
    // The range checks the form runs before it closes with OK, on the values held: the
    // framework's message with the application title, the focus on the first field out of
    // range, and false. (Text that does not parse is the form's to refuse, with
    // parseLoadingField.)
    bool validateLoadingFields(DialogHost& host);
    static Control controlOf(LoadingField field);
    // The tooltip of a number field; the bins name the weight class they show.
    FieldHint hint(Control control) const;

    // "Import Load Spectra" and "Save Load Spectra": a load spectra file (.lsf).
    void importLoadSpectra(DialogHost& host);
    void saveLoadSpectra(DialogHost& host);
    // "Import Axle Load Table": an agency's normalised axle load table (.csv) mixed with the
    // vehicle class mix in force; the result and its approximations are told, or why the file
    // was refused (nothing changes then).
    void importAxleLoadTable(DialogHost& host);
    // "Input Load Spectra by Vehicle Type": runs the vehicle type distribution dialog.
    void inputByVehicleType(DialogHost& host);

    // Steps shared by the handlers.
    void checkCurrentConfiguration(DialogHost& host);
    void recomputeTotal() { total = binTotal(shownLoadPercent); }

    double total = 0;                              // "Total" of the shown bins
    std::array<std::string, kBinCount> binLabels;  // set when the dialog opens
    std::string fileName;                          // last load spectra file chosen

  private:
    void enableShareEditsByCheckBoxes(DialogHost& host) const;
    void enableShareEditsByShares(DialogHost& host) const;
};

}  // namespace ardelon
