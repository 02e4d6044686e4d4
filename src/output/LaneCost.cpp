#include "output/LaneCost.h"

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

}  // namespace ardelon
