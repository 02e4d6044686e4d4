#include "output/CCostAnalysisDlg.h"

#include "output/LaneCost.h"
#include "project/Rounding.h"

namespace ardelon {

void CCostAnalysisDlg::onInitDialog(DialogHost& host) {
    const int layers = layerCountIndex + 2;
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        // The last layer and those below it have no thickness to price.
        const bool priced = layer < layers;
        host.setEnabled(static_cast<int>(Control::Density1) + layer - 1, priced);
        host.setEnabled(static_cast<int>(Control::CostPerTon1) + layer - 1, priced);
        if (!priced)
            costPerTon[static_cast<std::size_t>(layer - 1)] = 0.0;
    }
    calculateCosts(host);
    const bool english = valuesInEnglish != 0;
    laneWidthUnit = english ? "ft" : "m";
    lengthUnit = english ? "Lane-mile" : "Lane-km";
    tonUnit = english ? "English Ton" : "Metric Ton";
    densityUnit = english ? "pcf" : "kg/m3";
    host.refresh();
}

void CCostAnalysisDlg::calculateCosts(DialogHost& host) {
    // Every layer: those without a thickness had their cost per ton zeroed when the form opened.
    const LaneCost cost =
        laneCost(thickness, kThicknessCount, laneWidth, density, costPerTon, valuesInEnglish != 0);
    layerCost = cost.layerCost;
    totalCost = cost.total;
    host.refresh();
}

}  // namespace ardelon
