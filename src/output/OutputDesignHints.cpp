// The tooltips of the Output and Design module's number fields and of its Monte Carlo Cycles and
// Cost Analysis dialogs.

#include <limits>
#include <string>

#include "output/CCostAnalysisDlg.h"
#include "output/CMonteCarloCyclesDlg.h"
#include "output/COutputDesignDlg.h"
#include "project/ShownUnits.h"
#include "reliability/AnalysisRun.h"

namespace ardelon {

FieldHint COutputDesignDlg::hint(Control control) const {
    const int layer = static_cast<int>(control) - static_cast<int>(Control::Thickness1) + 1;
    if (layer < 1 || layer > kThicknessCount)
        return {};
    // Held to this range when the edit is left, as in the Structure module.
    const bool metric = !heldInEnglish(work);
    return fieldHint("Layer " + std::to_string(layer) + " thickness", layerThicknessUnit(metric),
                     layerThicknessRange(metric));
}

FieldHint CMonteCarloCyclesDlg::hint(Control control) {
    if (control == Control::MaxCycles)
        return fieldHint("Most Monte Carlo cycles", "", {1.0, double(kMaxSettleCycles)});
    if (control != Control::Cycles)
        return {};
    return fieldHint("Monte Carlo cycles", "",
                     {double(kMinCycles), double(std::numeric_limits<int>::max())});
}

FieldHint CCostAnalysisDlg::hint(Control control) const {
    // Costs are calculated from the values as typed, in the units the dialog set on opening.
    if (control == Control::LaneWidth)
        return fieldHint("Lane width", laneWidthUnit, kAnyNumber);
    const int index = static_cast<int>(control) - static_cast<int>(Control::Density1);
    if (index < 0 || index >= 2 * kThicknessCount)
        return {};
    const std::string layer = "Layer " + std::to_string(index % kThicknessCount + 1);
    if (index < kThicknessCount)
        return fieldHint(layer + " density", densityUnit, kAnyNumber);
    return fieldHint(layer + " cost", "$ per " + tonUnit, kAnyNumber);
}

}  // namespace ardelon
