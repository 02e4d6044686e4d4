#pragma once
// "Input Variability": distribution and coefficient of variation (COV) of one layer's modulus
// and, for layers of finite thickness, of its thickness, for the Monte Carlo sampling.

#include <array>
#include <string>
#include <string_view>

#include "project/DialogHost.h"
#include "project/Enumerations.h"
#include "project/FieldHint.h"

namespace ardelon {

class CInputVariabilityDlg : public ModalDialog {
  public:
    enum class Control : int {
        MaterialLabel = 1016,
        ModulusDistribution = 1159,
        ModulusCov = 1115,
        ThicknessDistribution = 1160,
        ThicknessCov = 1116,
        Ok = 1,
        Cancel = 2,
    };

    static constexpr std::string_view kCaption = "Input Variability";
    static constexpr std::string_view kModulusGroup = "Modulus Variability";
    static constexpr std::string_view kThicknessGroup = "Thickness Variability";
    // Each group has a distribution list (the project's distribution names) and a COV edit.
    static constexpr std::string_view kDistributionLabel = "Distribution Type";
    static constexpr std::string_view kCovLabel = "Coefficient of Variation";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";
    static constexpr std::array<std::string_view, kMaterialTypeCount> kMaterialLabels = {
        "Layer: AC",
        "Layer: Cracked AC",
        "Layer: PCC",
        "Layer: Rubblized PCC",
        "Layer: Crack and Seat PCC",
        "Layer: Break and Seat PCC",
        "Layer: Granular Base",
        "Layer: Soil",
        "Layer: Rock",
        "Layer: Other"};
    static constexpr std::string_view kMinimumText = "The value has been set to the minimum.";
    static constexpr std::string_view kMaximumText = "The value has been set to the maximum.";
    static constexpr std::string_view kOutOfRangeCaption = "Value Out of Range";
    static constexpr double kMinCovPercent = 0.0;
    static constexpr double kMaxCovPercent = 1000.0;
    // The thickness list of the semi-infinite layer 5 shows no selection.
    static constexpr int kNoSelection = -1;

    std::string_view caption() const override { return kCaption; }

    // Handlers.
    void onInitDialog(DialogHost& host);
    void onModulusCovChanged(DialogHost& host);    // the COV edit lost the focus
    void onThicknessCovChanged(DialogHost& host);  // the COV edit lost the focus

    std::string_view materialLabel() const;
    // The heading that says whose variability this is: "Layer 2: Gran Base".
    std::string layerHeading() const;
    // Thickness variability exists only for layers of finite thickness.
    bool isThicknessEnabled() const;
    // The tooltip of a COV edit.
    static FieldHint hint(Control control);

    // Working copy, filled by the Structure module.
    int materialType = 0;  // MaterialType value
    int layer = 1;         // 1 to 5
    int layerCountIndex = 0;
    int modulusDistribution = LogNormal;
    double modulusCov = 0.0;  // percent
    int thicknessDistribution = Normal;
    double thicknessCov = 0.0;  // percent

  private:
    static void limitCov(DialogHost& host, double& cov);
};

}  // namespace ardelon
