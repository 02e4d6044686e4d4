#pragma once
// Modulus of an asphalt concrete (AC) layer from the season's mean air temperature.
//
// Method: the pavement temperature at the layer's evaluation depth z (one third into the layer,
// inches from the surface) follows from the mean air temperature MAAT (degrees F) as
//     Tp = MAAT · (1 + 1/(z + 4)) − 34/(z + 4) + 6,
// and the modulus decays exponentially with it, E = A · e^(−k·Tp), with A and k chosen by the
// binder's PG high-temperature grade (stiffer binders keep a higher modulus when hot). The result
// is held between 50000 and 4000000 psi; the caller rounds it to whole psi.

#include <array>

#include "project/Enumerations.h"

namespace ardelon {

inline constexpr double kAcMinimumModulusPsi = 50000.0;
inline constexpr double kAcMaximumModulusPsi = 4000000.0;

struct AcTemperatureCoefficients {
    double a;  // psi
    double k;  // 1/degree F
};

// Coefficients for a PG high grade list index (0 to 6: 82, 76, 70, 64, 58, 52, 46). An index
// outside the list (a foreign file) is treated as the nearest end of the list.
AcTemperatureCoefficients acTemperatureCoefficients(int pgHighIndex);

// Pavement temperature, degrees F, at depth `depthIn` inches for a mean air temperature in F.
// A depth above the surface (from a negative thickness) is taken as the surface.
double pavementTemperature(double meanAirTemperatureF, double depthIn);

// AC modulus in psi (not rounded), limited to 50000 to 4000000 psi.
double acModulusFromTemperature(double meanAirTemperatureF, double depthIn, int pgHighIndex);

// Evaluation depths of layers 1 to 4, one third into each layer, from the thicknesses of layers
// 1 to 4 (same unit in and out): z1 = h1/3, z2 = h1 + h2/3, ...
std::array<double, kThicknessCount> evaluationDepths(
    const std::array<double, kThicknessCount>& thickness);

}  // namespace ardelon
