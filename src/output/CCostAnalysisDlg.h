#pragma once
// The Cost Analysis dialog of the Output and Design module: the material cost of the upper layers
// per lane-mile (English units) or per lane-km (metric units).

#include <array>
#include <string>
#include <string_view>

#include "project/DialogHost.h"
#include "project/Enumerations.h"
#include "project/FieldHint.h"

namespace ardelon {

class CCostAnalysisDlg : public ModalDialog {
  public:
    enum class Control : int {
        LaneWidth,
        Density1,  // Density1 + layer − 1
        Density2,
        Density3,
        Density4,
        CostPerTon1,  // CostPerTon1 + layer − 1
        CostPerTon2,
        CostPerTon3,
        CostPerTon4,
        LayerCost1,
        LayerCost2,
        LayerCost3,
        LayerCost4,
        Calculate,
        Total,
    };
    static constexpr std::string_view kCaption = "Cost Analysis";

    std::string_view caption() const override { return kCaption; }

    // Working copy, handed over by the Output and Design module.
    std::array<double, kThicknessCount> thickness{};  // in. or cm
    int layerCountIndex = 0;
    int valuesInEnglish = 1;
    double laneWidth = 12;
    std::array<double, kThicknessCount> density{};
    std::array<double, kThicknessCount> costPerTon{};
    std::array<double, kThicknessCount> layerCost{};
    double totalCost = 0;

    // Calls visit(dialogField, projectField) for each field of the working copy beside the
    // project's field of the same name: the one list that handing over and taking back read.
    template <class Dialog, class Project, class Visit>
    static void forEachWorkingField(Dialog& dialog, Project& project, Visit&& visit) {
        visit(dialog.thickness, project.thickness);
        visit(dialog.layerCountIndex, project.layerCountIndex);
        visit(dialog.valuesInEnglish, project.valuesInEnglish);
        visit(dialog.laneWidth, project.laneWidth);
        visit(dialog.density, project.density);
        visit(dialog.costPerTon, project.costPerTon);
        visit(dialog.layerCost, project.layerCost);
        visit(dialog.totalCost, project.totalCost);
    }

    // Unit labels.
    std::string laneWidthUnit;  // "ft" or "m"
    std::string lengthUnit;     // "Lane-mile" or "Lane-km"
    std::string tonUnit;        // "English Ton" or "Metric Ton"
    std::string densityUnit;    // "pcf" or "kg/m3"

    // Disables the inputs of the layers without thickness and zeroes their cost per ton,
    // calculates, and sets the unit labels.
    void onInitDialog(DialogHost& host);
    // "Calculate": each layer's cost and the total, rounded half up to cents.
    void calculateCosts(DialogHost& host);
    // The tooltip of a number field, in the project's units.
    FieldHint hint(Control control) const;
};

}  // namespace ardelon
