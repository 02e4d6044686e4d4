#include "output/CCostAnalysisDlg.h"

#include "project/Rounding.h"

namespace ardelon {
namespace {

// English: inches to miles (1/63360), feet to miles (1/5280), pounds per cubic foot to tons of
// 2000 lb per cubic mile (5280³/2000).
constexpr double kInchToMile = 1.5782828282828283e-5;
constexpr double kFootToMile = 0.0001893939393939394;
constexpr double kPcfToTonPerCubicMile = 73598976.0;
// Metric: the module holds thicknesses in centimetres, so 1e-5 turns them into kilometres; metres
// to kilometres; kg/m3 to metric tons per cubic kilometre.
constexpr double kCentimetreToKm = 1e-5;
constexpr double kMetreToKm = 0.001;
constexpr double kKgPerM3ToTonPerCubicKm = 1000000.0;

}  // namespace

double costPerLane(double thickness, double laneWidth, double density, double costPerTon,
                   bool english) {
    if (english) {
        return (thickness * kInchToMile) * (laneWidth * kFootToMile) *
               (density * kPcfToTonPerCubicMile) * costPerTon;
    }
    return (thickness * kCentimetreToKm) * (laneWidth * kMetreToKm) *
           (density * kKgPerM3ToTonPerCubicKm) * costPerTon;
}

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
