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
    double total = 0.0;
    for (std::size_t i = 0; i < layerCost.size(); ++i) {
        const double cost =
            costPerLane(thickness[i], laneWidth, density[i], costPerTon[i], valuesInEnglish != 0);
        total += cost;
        layerCost[i] = roundHalfUpTwoDecimals(cost);
    }
    totalCost = roundHalfUpTwoDecimals(total);
    host.refresh();
}

}  // namespace ardelon
