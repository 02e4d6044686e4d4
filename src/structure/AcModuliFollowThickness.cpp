#include "structure/AcModuliFollowThickness.h"

#include <algorithm>

#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "project/Units.h"
#include "structure/AcTemperature.h"
#include "structure/StructureDlgSupport.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

void followAcModuliFromLayer(CStenorDoc& doc, int firstLayer) {
    if (doc.temperatureCorrection == 0)
        return;
    // The temperature relationship works in inches.
    std::array<double, kThicknessCount> inches = doc.thickness;
    if (!heldInEnglish(doc)) {
        for (double& h : inches)
            h *= units::kCmToInch;
    }
    const std::array<double, kThicknessCount> depth = evaluationDepths(inches);
    const int season = std::clamp(doc.currentSeason, 0, kSeasonCount - 1);
    for (int layer = std::max(firstLayer, 1); layer <= kThicknessCount; ++layer) {
        const std::size_t l = at(layer - 1);
        if (materialOf(layer, doc.materialIndex[l]) != MaterialType::AC)
            continue;
        for (int s = Summer; s < kSeasonCount; ++s) {
            if (s != Summer && doc.seasonEnabled[at(s)] == 0)
                continue;
            doc.seasonalModulus[l][at(s)] = roundHalfUpWhole(acModulusFromTemperature(
                doc.meanAirTemperature[at(s)], depth[l], doc.pgHighIndex[l]));
        }
        const double psi = doc.seasonalModulus[l][at(season)];
        doc.layerModulus[l] =
            shownInEnglish(doc)
                ? roundHalfUpWhole(psi)
                : structure_detail::roundHalfUpThreeDecimals(psi * units::kPsiToMpa);
    }
}

}  // namespace ardelon
