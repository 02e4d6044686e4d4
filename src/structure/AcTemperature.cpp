#include "structure/AcTemperature.h"

#include <algorithm>
#include <cmath>

namespace ardelon {

AcTemperatureCoefficients acTemperatureCoefficients(int pgHighIndex) {
    // PG 82, 76 and 70 share one curve, as do 52 and 46.
    static constexpr std::array<AcTemperatureCoefficients, 7> kByGrade = {{
        {8187876.0, 0.034},
        {8187876.0, 0.034},
        {8187876.0, 0.034},
        {7351157.0, 0.038},
        {5677719.0, 0.045},
        {4841000.0, 0.048},
        {4841000.0, 0.048},
    }};
    const int index = std::clamp(pgHighIndex, 0, static_cast<int>(kByGrade.size()) - 1);
    return kByGrade[static_cast<size_t>(index)];
}

double pavementTemperature(double meanAirTemperatureF, double depthIn) {
    // The relationship holds from the surface down. A negative thickness typed out of range
    // (and kept, with its warning) must not reach z = -4 in., where it has no value at all and
    // the modulus would come out as not-a-number.
    const double inverse = 1.0 / (std::max(depthIn, 0.0) + 4.0);
    return meanAirTemperatureF * (1.0 + inverse) - 34.0 * inverse + 6.0;
}

double acModulusFromTemperature(double meanAirTemperatureF, double depthIn, int pgHighIndex) {
    const AcTemperatureCoefficients c = acTemperatureCoefficients(pgHighIndex);
    const double modulus = c.a * std::exp(-c.k * pavementTemperature(meanAirTemperatureF, depthIn));
    return std::clamp(modulus, kAcMinimumModulusPsi, kAcMaximumModulusPsi);
}

std::array<double, kThicknessCount> evaluationDepths(
    const std::array<double, kThicknessCount>& thickness) {
    std::array<double, kThicknessCount> depth{};
    double top = 0.0;
    for (size_t layer = 0; layer < depth.size(); ++layer) {
        depth[layer] = top + thickness[layer] / 3.0;
        top += thickness[layer];
    }
    return depth;
}

}  // namespace ardelon
