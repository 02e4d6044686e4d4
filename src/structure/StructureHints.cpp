// The tooltips of the Structure module's number fields and of its Input Variability dialog.

#include <string>

#include "structure/CInputVariabilityDlg.h"
#include "structure/StructureDlgSupport.h"

namespace ardelon {

using namespace structure_detail;

FieldHint CStructureDlg::hint(Control control) const {
    const std::string_view modulusUnit = isMetric() ? "MPa" : "psi";
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const std::string name = "Layer " + std::to_string(layer);
        const std::size_t l = at(layer - 1);
        // Moduli and ratios are held to the material's range when the edit is left.
        if (control == modulusEdit(layer))
            return fieldHint(name + " modulus", modulusUnit, {minModulus[l], maxModulus[l]});
        if (control == poissonEdit(layer))
            return fieldHint(name + " Poisson's ratio", "", {minPoisson[l], maxPoisson[l]});
        if (layer <= kThicknessCount && control == thicknessEdit(layer))
            return fieldHint(name + " thickness", layerThicknessUnit(isMetric()),
                             layerThicknessRange(isMetric()));
    }
    for (int s = Summer; s < kSeasonCount; ++s) {
        const std::string season(kSeasonNames[at(s)]);
        // Negative durations and a year other than 52 weeks are refused on Accept Changes.
        if (control == durationEdit(s))
            return fieldHint(season + " duration", "weeks", {0.0, double(kWeeksPerYear)},
                             "the durations total " + std::to_string(kWeeksPerYear));
        // Mean air temperatures stay in degrees F in either unit system.
        if (control == temperatureEdit(s))
            return fieldHint(season + " mean air temperature", "°F", kAnyNumber);
    }
    return {};
}

FieldHint CInputVariabilityDlg::hint(Control control) {
    const HintRange cov{kMinCovPercent, kMaxCovPercent};
    switch (control) {
        case Control::ModulusCov:
            return fieldHint("Modulus coefficient of variation", "%", cov);
        case Control::ThicknessCov:
            return fieldHint("Thickness coefficient of variation", "%", cov);
        default:
            return {};
    }
}

}  // namespace ardelon
