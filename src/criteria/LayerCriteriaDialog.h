#pragma once
// "Layer Performance Criteria": the three criterion slots (Top, Middle, Bottom) of one layer.
//
// The dialog works on a copy of all fifteen slots and the endurance limit; the caller copies
// `slots` and `enduranceLimit` back when the dialog is accepted. The form binds the controls of
// position p to `slots[slotIndex(layer, p)]`, copies the widgets into it before each handler and
// shows it again afterwards; which controls are visible follows from the slots and is reported
// to the host after every handler (and can be asked with `isVisible`).

#include <array>
#include <string_view>
#include <utility>

#include "project/CStenorDoc.h"
#include "project/CriterionSlot.h"
#include "project/DialogHost.h"
#include "project/FieldHint.h"

namespace ardelon {

class LayerCriteriaDialog : public ModalDialog {
  public:
    // Controls of one position: the control of position p is `base + p` (see `control`).
    enum class Control : int {
        Layer = 1,  // read-only layer number
        ActiveTop = 10,
        ActiveMiddle,
        ActiveBottom,
        TypeTop = 20,
        TypeMiddle,
        TypeBottom,
        ThresholdTop = 30,
        ThresholdMiddle,
        ThresholdBottom,
        UnitTop = 40,
        UnitMiddle,
        UnitBottom,
        TargetPercentileTop = 50,
        TargetPercentileMiddle,
        TargetPercentileBottom,
        TransferTop = 60,
        TransferMiddle,
        TransferBottom,
        K1Top = 70,
        K1Middle,
        K1Bottom,
        K2Top = 80,
        K2Middle,
        K2Bottom,
        // Distribution block of the Bottom position, 95th to 55th percentile.
        Distribution95 = 90,
        Distribution85,
        Distribution75,
        Distribution65,
        Distribution55,
        LoadDefaultDistribution = 100,
        EnterEnduranceLimit,
        Accept,
        Cancel,
    };
    // The control of a row (given by its Top member) for a position.
    static constexpr Control control(Control topOfRow, int position) {
        return static_cast<Control>(static_cast<int>(topOfRow) + position);
    }

    static constexpr std::string_view kCaption = "Layer Performance Criteria (Press F1 for Help)";
    static constexpr std::array<std::string_view, 3> kPositionNames = {"Top", "Middle", "Bottom"};
    static constexpr std::string_view kSignNote = "Note:  The following sign convetion is used...";
    static constexpr std::string_view kTensionNote = "Negative = Tension";
    static constexpr std::string_view kCompressionNote = "Positive = Compression";
    static constexpr std::string_view kDeflectionNote = "Deflection is Positive Downward";
    static constexpr std::string_view kTransferNote =
        "Note:  The transfer functions are for strain only.";
    // Labels of a position's fields and of the Bottom distribution block.
    static constexpr std::string_view kTargetPercentileLabel = "Target Percentile";
    static constexpr std::string_view kK1Label = "k1";
    static constexpr std::string_view kK2Label = "k2";
    static constexpr std::string_view kPercentileHeading = "Percentile";
    static constexpr std::string_view kMicrostrainHeading = "Microstrain";
    static constexpr std::array<std::string_view, kDistributionLevels> kPercentileLabels = {
        "95th", "85th", "75th", "65th", "55th"};
    static constexpr std::string_view kLoadDefaultButton = "Load Default Distribution";
    static constexpr std::string_view kEnduranceLimitButton = "Enter Endurance Limit";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";

    static constexpr std::string_view kDefaultDistributionCaption =
        "Default OMRA Test Track Distribution";
    static constexpr std::string_view kDefaultDistributionText =
        "You are selecting a default distribution from OMRA Test Track research. See full help "
        "file for more details.";
    static constexpr std::string_view kEnduranceDistributionText =
        "You are selecting a default distribution from OMRA Test Track research based on an "
        "endurance limit measured in the lab. See full help file for more details.";
    static constexpr std::string_view kInvalidDistributionText =
        "The cumulative strain distribution must be uniformly decreasing or increasing.";
    static constexpr std::string_view kInvalidDistributionCaption =
        "Invalid Cumulative Strain Distribution - Please Adjust";
    static constexpr std::string_view kTooManyLocationsText =
        "At most 10 criterion locations can be active in one project: the analysis evaluates "
        "five points at each active location and the layered elastic solver takes at most 50 "
        "points. Clear another location before activating this one.";
    static constexpr std::string_view kTooManyLocationsCaption = "Too Many Criterion Locations";

    // Most active locations in one project (five evaluation points each, 50 solver points).
    static constexpr int kMaxActiveLocations = 10;

    // Test-track allowable horizontal strain distribution, microstrain, 95th to 55th percentile.
    static constexpr std::array<double, kDistributionLevels> kTestTrackDistribution = {
        -257, -194, -158, -131, -110};
    // Multipliers of the endurance limit for the 95th to 55th percentile.
    static constexpr std::array<double, kDistributionLevels> kEnduranceLimitFactors = {
        1.73, 1.31, 1.06, 0.88, 0.74};

    // `layer` 1 to 5; `isLastLayer` when the layer is the semi-infinite bottom of the structure.
    LayerCriteriaDialog(int layer, bool isLastLayer, const CriterionSlots& slots,
                        double enduranceLimit);
    std::string_view caption() const override { return kCaption; }

    // Handlers.
    void onInitDialog(DialogHost& host);
    // The position's check box changed; `slots[...]`.active holds the new state.
    void onActiveChanged(DialogHost& host, int position);
    // The position's response type changed (selection change); the new type is in the slot.
    void onResponseTypeChanged(DialogHost& host, int position);
    // The position's transfer-function check box changed; the new flag is in the slot.
    void onTransferFunctionChanged(DialogHost& host, int position);
    void onLoadDefaultDistribution(DialogHost& host);
    void onEnterEnduranceLimit(DialogHost& host);
    // "Accept Changes": true when the dialog may close.
    bool onAccept(DialogHost& host);

    // State the form shows.
    CriterionSlot& slot(int position) {
        return slots[static_cast<size_t>(slotIndex(layer, position))];
    }
    const CriterionSlot& slot(int position) const {
        return slots[static_cast<size_t>(slotIndex(layer, position))];
    }
    bool isPositionOffered(int position) const { return !isLastLayer || position == Top; }
    std::string_view unitLabel(int position) const;
    // The threshold as the form shows it: in kPa or mm in a metric project (the slot holds psi
    // and milli-inches). Setting the value shown unchanged leaves the slot's value as it is.
    double shownThreshold(int position) const;
    void setShownThreshold(int position, double shown);
    bool isVisible(Control control) const;
    int activeLocationCount() const;
    // The tooltip of a number field; a threshold takes the unit of its response type.
    FieldHint hint(Control control) const;

    // Working copy.
    int layer;
    bool isLastLayer;
    CriterionSlots slots;
    double enduranceLimit;
    int unitSystem = English;  // the project's: thresholds shown in its units
    // The project's K1 to K4: the coefficients a newly ticked transfer function starts from.
    std::array<double, 4> transferCoefficient = CStenorDoc{}.transferCoefficient;

    // k1 and k2 of a new transfer function on `responseType`: fatigue (horizontal strain) takes
    // K1 and K2; rutting (vertical strain) takes K3 and K4, its K3 turned to the strain as a
    // fraction that k1 and k2 work on: k1 = K3 · (10^-6)^K4.
    std::pair<double, double> defaultCoefficients(int responseType) const;

  private:
    // Clearing a check box hides k1, k2 (and the flag) but keeps them here, so that ticking it
    // again brings them back.
    void setAside(int position);
    void bringBack(int position);

    std::array<CriterionSlot, 3> setAside_{};
    void showControlStates(DialogHost& host) const;
    void fillDistribution(const std::array<double, kDistributionLevels>& values);
};

// True when the five values never rise or never fall from the 95th to the 55th percentile
// (equal neighbours allowed).
bool isMonotonicDistribution(const std::array<double, kDistributionLevels>& distribution);

}  // namespace ardelon
