#pragma once
// "Transfer Functions": the project-wide fatigue (K1, K2) and rutting (K3, K4) coefficients.
//
//   fatigue  N_F = K1 · (10^6 / |ε_t|)^K2, ε_t tensile horizontal strain in microstrain
//   rutting  N_R = K3 · (1 / ε_v)^K4,      ε_v compressive vertical strain in microstrain
//
// The values are kept and saved with the project; the analysis applies each criterion's own
// k1 and k2 instead.

#include <array>
#include <string_view>

#include "project/CStenorDoc.h"
#include "project/DialogHost.h"
#include "project/FieldHint.h"

namespace ardelon {

class TransferFunctionsDialog : public ModalDialog {
  public:
    enum class Control : int { K1 = 1, K2, K3, K4, ResetFatigue, ResetRutting, Ok, Cancel };

    static constexpr std::string_view kCaption = "Transfer Functions (F1 for Help)";
    static constexpr std::string_view kFatigueGroup = "Fatigue";
    static constexpr std::string_view kRuttingGroup = "Rutting";
    static constexpr std::string_view kResetButton = "Reset Defaults";
    static constexpr std::array<std::string_view, 4> kCoefficientLabels = {"K1", "K2", "K3", "K4"};
    static constexpr std::string_view kOkButton = "OK";
    static constexpr std::string_view kCancelButton = "Cancel";
    static constexpr std::string_view kWarningCaption = "WARNING!";
    // Where the analysis takes its coefficients from, shown under the groups.
    static constexpr std::string_view kStartingPointNote =
        "The analysis uses the k1 and k2 of each performance criterion. A transfer function "
        "ticked anew there starts from these coefficients (fatigue: K1, K2; rutting: K3, K4); "
        "criteria already set keep their own.";
    static constexpr std::string_view kWarningText =
        "The transfer functions must be handled with care.\n"
        "Since they operate on a log scale, seemingly small\n"
        "changes in the coefficients can lead to large\n"
        "differences in damage and reliability calculations.\n"
        "Consult the Help file for further details.";

    static constexpr std::array<double, 4> kDefaults = {2.83e-06, 3.20596, 5.5e15, 3.929};

    TransferFunctionsDialog(double k1, double k2, double k3, double k4)
        : coefficient{k1, k2, k3, k4} {}
    std::string_view caption() const override { return kCaption; }

    // Copies of the project's transferCoefficient, in and back on OK.
    void loadFrom(const CStenorDoc& doc) { coefficient = doc.transferCoefficient; }
    void storeTo(CStenorDoc& doc) const { doc.transferCoefficient = coefficient; }

    // Handlers.
    void onInitDialog(DialogHost& host);  // shows the WARNING! box first
    void onResetFatigue() { coefficient[0] = kDefaults[0], coefficient[1] = kDefaults[1]; }
    void onResetRutting() { coefficient[2] = kDefaults[2], coefficient[3] = kDefaults[3]; }

    static FieldHint hint(Control control);

    // Working copy: K1 to K4, accepted as typed.
    std::array<double, 4> coefficient;
};

}  // namespace ardelon
