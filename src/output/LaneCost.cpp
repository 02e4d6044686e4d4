#include "output/LaneCost.h"

#include <algorithm>

#include "project/Rounding.h"
#include "project/ShownUnits.h"

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

LaneCost laneCost(const std::array<double, kThicknessCount>& thickness, int thicknessLayers,
                  double laneWidth, const std::array<double, kThicknessCount>& density,
                  const std::array<double, kThicknessCount>& costPerTon, bool english) {
    LaneCost cost;
    double total = 0.0;
    for (int layer = 0; layer < std::clamp(thicknessLayers, 0, kThicknessCount); ++layer) {
        const auto i = static_cast<std::size_t>(layer);
        if (costPerTon[i] != 0.0)
            cost.priced = true;
        const double c = costPerLane(thickness[i], laneWidth, density[i], costPerTon[i], english);
        total += c;
        cost.layerCost[i] = roundHalfUpTwoDecimals(c);
    }
    cost.total = roundHalfUpTwoDecimals(total);
    return cost;
}

LaneCost laneCost(const CStenorDoc& project) {
    // The layer count index counts from two layers; the last layer has no thickness.
    return laneCost(project.thickness, project.layerCountIndex + 1, project.laneWidth,
                    project.density, project.costPerTon, heldInEnglish(project));
}

}  // namespace ardelon
