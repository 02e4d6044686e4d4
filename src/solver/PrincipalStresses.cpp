#include "solver/PrincipalStresses.h"

#include <algorithm>
#include <cmath>

namespace ardelon::layered {

std::array<double, 3> principalStresses(double sx, double sy, double sz, double tyz, double txz,
                                        double txy) {
    const double i1 = sx + sy + sz;
    // A negligible stress state has zero principal values. A vanishing first invariant alone
    // does not make it negligible (the surface outside a load has sigma_x = -sigma_y), so every
    // component must be negligible too.
    const double largest = std::max(
        {std::abs(sx), std::abs(sy), std::abs(sz), std::abs(tyz), std::abs(txz), std::abs(txy)});
    if (std::abs(i1) < kNegligibleStress && sz < kNegligibleStress && largest < kNegligibleStress) {
        return {0.0, 0.0, 0.0};
    }
    const double i2 = sx * sy + sy * sz + sz * sx - txy * txy - tyz * tyz - txz * txz;
    const double i3 =
        sx * sy * sz + 2.0 * tyz * txz * txy - sx * tyz * tyz - sy * txz * txz - sz * txy * txy;
    const double p = (3.0 * i2 - i1 * i1) / 3.0;
    if (p >= 0.0)
        return {sx, sy, sz};
    const double qv = (9.0 * i1 * i2 - 2.0 * i1 * i1 * i1 - 27.0 * i3) * 0.037037037037037035;
    const double t = std::sqrt(-p / 3.0);
    const double c = std::clamp(3.0 * qv / (2.0 * p * t), -1.0, 1.0);
    const double phi = std::acos(c) / 3.0;
    std::array<double, 3> roots = {2.0 * t * std::cos(phi) + i1 / 3.0,
                                   2.0 * t * std::cos(phi + kTwoPiOverThree) + i1 / 3.0,
                                   2.0 * t * std::cos(phi + kFourPiOverThree) + i1 / 3.0};
    std::sort(roots.begin(), roots.end(), [](double l, double r) { return l > r; });
    return roots;
}

}  // namespace ardelon::layered
