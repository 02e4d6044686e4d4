#pragma once
// The Structure module, "Structural and Seasonal Information": layers, materials, thicknesses,
// moduli, Poisson's ratios, seasons and air temperatures of the design, with their checks.
//
// The dialog works on a copy of the project's structural and seasonal fields (`loadFrom`, and
// `storeTo` when the user accepts). The form copies the widgets into the public members before a
// handler and shows the members again after it; which controls are enabled and visible follows
// from the members, is reported to the host after every handler and can be asked with
// `isEnabled` and `isVisible`.
//
// Units: `layerModulus`, `minModulus`, `maxModulus`, `thickness` and `acSurfaceTemperature` are
// held in display units (psi and in., or MPa and cm when the project works in metric units);
// every other field is English. Whole psi is the resolution of every modulus; a modulus shown in
// MPa keeps three decimals (1 kPa) so that switching units never shifts a stored value.

#include <array>
#include <string>
#include <string_view>

#include "project/CStenorDoc.h"
#include "project/CriterionSlot.h"
#include "project/DialogHost.h"
#include "project/Enumerations.h"
#include "project/LayerThickness.h"

namespace ardelon {

class CStructureDlg : public ModalDialog {
  public:
    enum class Control : int {
        Ok = 1,
        Cancel = 2,
        // "# of Layers" radio buttons, 2 to 5 layers.
        Layers2 = 1040,
        Layers3 = 1041,
        Layers4 = 1042,
        Layers5 = 1043,
        // "Material Type" lists.
        Material1 = 1044,
        Material2 = 1046,
        Material3 = 1045,
        Material4 = 1047,
        Material5 = 1048,
        // "PG Grade" high / low lists of layers 1 to 4.
        PgHigh1 = 1224,
        PgLow1 = 1225,
        PgHigh2 = 1226,
        PgLow2 = 1227,
        PgHigh3 = 1228,
        PgLow3 = 1229,
        PgHigh4 = 1230,
        PgLow4 = 1231,
        // Read-only modulus range.
        MinModulus1 = 1063,
        MinModulus2 = 1086,
        MinModulus3 = 1088,
        MinModulus4 = 1090,
        MinModulus5 = 1092,
        MaxModulus1 = 1073,
        MaxModulus2 = 1087,
        MaxModulus3 = 1089,
        MaxModulus4 = 1091,
        MaxModulus5 = 1093,
        Modulus1 = 1016,
        Modulus2,
        Modulus3,
        Modulus4,
        Modulus5,
        Poisson1 = 1021,
        Poisson2,
        Poisson3,
        Poisson4,
        Poisson5,
        // Read-only Poisson range ("Min - Max").
        MinPoisson1 = 1064,
        MaxPoisson1 = 1094,
        MinPoisson2 = 1096,
        MaxPoisson2 = 1097,
        MinPoisson3 = 1098,
        MaxPoisson3 = 1099,
        MinPoisson4 = 1100,
        MaxPoisson4 = 1101,
        MinPoisson5 = 1102,
        MaxPoisson5 = 1103,
        Thickness1 = 1026,
        Thickness2,
        Thickness3,
        Thickness4,
        Variability1 = 1079,
        Variability2,
        Variability3,
        Variability4,
        Variability5,
        Criteria1 = 1188,
        Criteria2,
        Criteria3,
        Criteria4,
        Criteria5,
        // Season check boxes (Summer is always on and has none).
        FallCheck = 1106,
        WinterCheck = 1104,
        SpringCheck = 1107,
        Spring2Check = 1184,
        // "Duration (weeks)" and "Mean Air Temperature, F", Summer to Spring 2.
        DurationSummer = 1115,
        DurationFall,
        DurationWinter,
        DurationSpring,
        DurationSpring2,
        TemperatureSummer = 1120,
        TemperatureFall,
        TemperatureWinter,
        TemperatureSpring,
        TemperatureSpring2,
        CurrentSeason = 1108,
        TemperatureCorrection = 1223,
    };

    // Controls of a row by layer (1 to 5) or season.
    static Control materialList(int layer);
    static Control pgHighList(int layer);  // layers 1 to 4
    static Control pgLowList(int layer);   // layers 1 to 4
    static Control modulusEdit(int layer);
    static Control minModulusField(int layer);
    static Control maxModulusField(int layer);
    static Control poissonEdit(int layer);
    static Control minPoissonField(int layer);
    static Control maxPoissonField(int layer);
    static Control thicknessEdit(int layer);  // layers 1 to 4
    static Control variabilityButton(int layer);
    static Control criteriaButton(int layer);
    static Control layerCountButton(int layers);  // 2 to 5
    static Control seasonCheck(int season);       // Fall to Spring 2
    static Control durationEdit(int season);
    static Control temperatureEdit(int season);

    static constexpr std::string_view kCaption =
        "Structural and Seasonal Information   (F1 for Help)";

    // Labels of the form: rows, groups and buttons.
    static constexpr std::string_view kMaterialTypeLabel = "Material Type";
    static constexpr std::string_view kPgGradeLabel = "PG Grade";
    static constexpr std::string_view kMinModulusLabel = "Min Modulus";
    static constexpr std::string_view kModulusLabel = "Modulus";
    static constexpr std::string_view kMaxModulusLabel = "Max Modulus";
    static constexpr std::string_view kPoissonLabel = "Poisson's Ratio";
    static constexpr std::string_view kPoissonRangeLabel = "Min - Max";
    static constexpr std::string_view kThicknessLabel = "Thickness";
    static constexpr std::string_view kInfiniteLabel = "Infinite";  // layer 5 thickness
    static constexpr std::string_view kVariabilityButton = "Variability";
    static constexpr std::string_view kCriteriaButton = "Performance Criteria";
    static constexpr std::string_view kLayerCountLabel = "# of Layers";
    static constexpr std::array<std::string_view, 4> kLayerCountButtons = {"&2", "&3", "&4", "&5"};
    // Season check boxes, Fall to Spring 2 (Summer is a label beside a ticked-box picture). The
    // Current Season list shows the season names of the project ("Spring 2").
    static constexpr std::string_view kSummerLabel = "Summer";
    static constexpr std::array<std::string_view, kSeasonCount> kSeasonCheckLabels = {
        "", "Fall", "Winter", "Spring", "Spring2"};
    static constexpr std::string_view kDurationLabel = "Duration (weeks)";
    static constexpr std::string_view kMeanAirTemperatureLabel = "Mean Air Temperature, F";
    static constexpr std::string_view kCurrentSeasonLabel = "Current Season";
    static constexpr std::string_view kTemperatureCorrectionLabel = "Temperature Correction";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";

    static constexpr std::string_view kHeightText =
        "Please enter a height between 1.0 in. and 999.0 in.";
    static constexpr std::string_view kHeightMetricText =
        "Please enter a height between 2.54 cm and 2530 cm";
    static constexpr std::string_view kHeightCaption = "Height Out of Range";
    static constexpr std::string_view kModulusText = "Please enter a modulus in range.";
    static constexpr std::string_view kModulusCaption = "Modulus Out of Range";
    static constexpr std::string_view kPoissonText = "Please enter a ratio in range.";
    static constexpr std::string_view kPoissonCaption = "Poisson's Ratio Out of Range";
    static constexpr std::string_view kMaterialCaption =
        "Improper Material Selection - Please Adjust";
    // Suffixes of the material messages for a bottom layer 2, 3 and 4.
    static constexpr std::array<std::string_view, 3> kBottomMaterialSuffix = {
        " is not acceptable as 2nd layer in a two layer pavement.",
        " is not acceptable as 3rd layer in a three layer pavement.",
        " is not acceptable as 4th layer in a four layer pavement."};
    // Layer-count messages for 2, 3 and 4 layers.
    static constexpr std::array<std::string_view, 3> kLayerCountMaterialText = {
        "Unacceptable 2nd layer material in two layer pavement.",
        "Unacceptable 3rd layer material in three layer pavement.",
        "Unacceptable 4th layer material in four layer pavement."};
    // Messages for an optional season (Fall to Spring 2) chosen while it is not in use.
    static constexpr std::array<std::string_view, kSeasonCount> kSeasonNotSelectedText = {
        "", "Fall Season has not been selected.", "Winter Season has not been selected.",
        "Spring Season has not been selected", "2nd Spring Season has not been selected"};
    static constexpr std::string_view kLayerCountCaption = "Change the Number of Layers";
    static constexpr std::string_view kSeasonCaption = "Season Error";
    static constexpr std::string_view kDurationText =
        "Seasonal durations do not add to 52 weeks/year";
    static constexpr std::string_view kDurationCaption =
        "Invalid Seasonal Durations - Please Adjust";
    static constexpr std::string_view kNegativeDurationText =
        "Seasonal durations cannot be negative";
    static constexpr int kWeeksPerYear = 52;
    // The running total under the durations: "Total: 46 of 52 weeks".
    std::string weeksTotalText() const;

    // Thickness range and the thickness that stands for a semi-infinite layer.
    static constexpr double kMinThicknessIn = kMinLayerThicknessInches;
    static constexpr double kMaxThicknessIn = kMaxLayerThicknessInches;
    static constexpr double kMinThicknessCm = kMinLayerThicknessCm;
    static constexpr double kMaxThicknessCm = kMaxLayerThicknessCm;
    // Default thickness COVs, percent, of layers 2, 3 and 4 when they are above the bottom.
    static constexpr std::array<double, 3> kDefaultThicknessCov = {8, 15, 20};

    std::string_view caption() const override { return kCaption; }

    // Copies the Structure command's fields in and (after OK) back.
    void loadFrom(const CStenorDoc& doc);
    void storeTo(CStenorDoc& doc) const;

    // The opening rules without the controls: every index inside its list, the display values
    // (moduli ranges, thicknesses, the Modulus row, the AC surface temperature) in `unitSystem`.
    void showInUnitSystem();

    // Handlers. `layer` is 1 to 5, `season` a Season.
    void onInitDialog(DialogHost& host);
    void onThicknessChanged(DialogHost& host, int layer);  // edit lost the focus
    void onModulusChanged(DialogHost& host, int layer);    // edit lost the focus
    void onPoissonChanged(DialogHost& host, int layer);    // edit lost the focus
    void onMaterialChanged(DialogHost& host, int layer);   // list selection changed
    // Radio button chosen. When the change would clear data (thicknesses, criteria, the layers
    // below a new bottom), the engineer is asked first; No leaves everything as it was.
    void onLayerCountChanged(DialogHost& host);
    // The question asked before going from the applied number of layers to `layerCount()`, or ""
    // when the change clears nothing.
    std::string layerCountQuestion() const;
    void onPgHighChanged(DialogHost& host, int layer);  // layers 1 to 4
    void onPgLowChanged(DialogHost& host, int layer) { (void)host, (void)layer; }
    void onSeasonCheckChanged(DialogHost& host, int season);         // Fall to Spring 2
    void onCurrentSeasonChanged(DialogHost& host);                   // list selection changed
    void onSeasonEditFocused(DialogHost& host, int season);          // duration or temperature edit
    void onMeanAirTemperatureChanged(DialogHost& host, int season);  // edit lost the focus
    void onTemperatureCorrectionChanged(DialogHost& host);
    void onVariability(DialogHost& host, int layer);  // opens the Input Variability dialog
    void onCriteria(DialogHost& host, int layer);     // opens the Layer Performance Criteria
    bool onOk(DialogHost& host);  // "Accept Changes": true when the dialog may close

    // State the form shows.
    int layerCount() const { return layerCountIndex + 2; }
    bool isMetric() const { return unitSystem == Metric; }
    MaterialType materialTypeOf(int layer) const;
    bool isAc(int layer) const;
    bool isEnabled(Control control) const;
    bool isVisible(Control control) const;
    // The tooltip of a number field: quantity, unit and the values its check accepts.
    FieldHint hint(Control control) const;
    std::string_view modulusUnitLabel() const { return isMetric() ? "(MPa)" : "(psi)"; }
    std::string_view thicknessUnitLabel() const { return isMetric() ? "(cm)" : "(in)"; }
    // Unit of the AC surface temperature; the mean air temperatures stay in degrees F.
    std::string_view temperatureUnitLabel() const { return isMetric() ? "C" : "F"; }

    // Working copy (names as in the project).
    int unitSystem = English;
    int valuesInEnglish = 1;
    int layerCountIndex = 0;
    std::array<int, kLayerCount> materialIndex{};
    std::array<double, kThicknessCount> thickness{};
    std::array<double, kLayerCount> layerModulus{};
    Table<kLayerCount, kSeasonCount> seasonalModulus{};
    std::array<double, kLayerCount> minModulus{};
    std::array<double, kLayerCount> maxModulus{};
    std::array<double, kLayerCount> poisson{};
    std::array<double, kLayerCount> minPoisson{};
    std::array<double, kLayerCount> maxPoisson{};
    std::array<double, kInterfaceCount> slipValue{};
    std::array<int, kInterfaceCount> interfaceBond{};
    std::array<int, kThicknessCount> pgHighIndex{};
    std::array<int, kThicknessCount> pgLowIndex{};
    int fatigueLayer = 1;
    std::array<int, kSeasonCount> seasonEnabled{1, 0, 0, 0, 0};
    std::array<int, kSeasonCount> seasonWeeks{};
    int currentSeason = Summer;
    std::array<double, kSeasonCount> meanAirTemperature{};
    int temperatureCorrection = 1;
    std::array<double, kSeasonCount> seasonAcTemperature{};
    double acSurfaceTemperature = 0;
    std::array<double, 3> acTempCoefficient{};
    std::array<int, kLayerCount> modulusDistribution{};
    std::array<double, kLayerCount> modulusCov{};
    std::array<int, kThicknessCount> thicknessDistribution{};
    std::array<double, kThicknessCount> thicknessCov{};
    CriterionSlots criteria{};
    double enduranceLimit = 0;
    // The project's K1 to K4 (not edited here): new transfer functions of the criteria start
    // from them.
    std::array<double, 4> transferCoefficient = CStenorDoc{}.transferCoefficient;

    // Evaluation depth of layers 1 to 4, inches, one third into each layer.
    std::array<double, kThicknessCount> evaluationDepth{};

  private:
    // Applies the layer-count rules for `layerCount()`; false when the new bottom layer's
    // material cannot be semi-infinite (its thickness and criteria are cleared all the same).
    bool applyLayerCount();
    int appliedLayerCountIndex_ = 0;  // the number of layers the members were made for
    void showControlStates(DialogHost& host) const;
    void refreshModulusRow();
    void recomputeDepths();
    // AC moduli of layer `layer` for Summer and every optional season in use.
    void recomputeAcModuli(int layer);
    void recomputeAcModulus(int layer, int season);
    void setMaterialProperties(int layer);
    // Copies layer `from` to every layer below it (material, moduli, ranges, Poisson's ratio).
    void copyLayerDownwards(int from, bool withVariability);
    // Display value of a modulus in psi, and psi of a displayed modulus.
    double displayModulus(double psi) const;
    double modulusPsi(double displayed) const;
    void setMaterialIndex(int layer, MaterialType material);
};

// The unit commands: the project's display values in its `unitSystem` at once, as opening the
// Structure module would put them, so that every module shows the units chosen.
void applyUnitSystem(CStenorDoc& doc);

}  // namespace ardelon
