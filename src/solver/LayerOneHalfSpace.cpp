// Points at the surface and in layer 1 carry the Boussinesq half-space of layer 1 (in closed form
// at the surface, by its own quadrature below it); the march integrates only the layered
// correction to it.
#include "solver/LayeredElasticSolver.h"

#include <cmath>

#include "solver/IntegralSlots.h"

namespace ardelon {

using namespace layered;

// The half-space quantities of a layer-1 pair; pairs with the same depth, distance and load
// (the same plan position under symmetric wheels) share one quadrature.
std::array<double, 6> LayeredElasticSolver::halfSpaceFor(double z, double r, int load) {
    const double a = radius_[load], q = pressure_[load];
    for (int k = 0; k < halfSpaceCount_; ++k) {
        const HalfSpaceEntry& e = halfSpaceCache_[k];
        if (e.depth == z && e.distance == r && e.radius == a && e.pressure == q)
            return e.values;
    }
    const auto values = halfSpace_.quantities(z, r, a, q);
    halfSpaceCache_[halfSpaceCount_++] = {z, r, a, q, values};
    return values;
}

// The Boussinesq half-space of layer 1 at layer-1 points, and the factors that turn the
// integrated corrections into responses; both before the march, whose stopping rule measures the
// integrals against the whole responses.
void LayeredElasticSolver::prepareHalfSpace() {
    halfSpaceCount_ = 0;
    const double e1 = layers_.modulus[0], nu1 = layers_.poisson[0];
    auto& in = halfSpacePart_;
    for (int i = 0; i < pointCount_; ++i) {
        for (int s = 0; s < kIntegrals; ++s) {
            in[s][i] = 0.0;
            integralFactor_[s][i] = 1.0;
        }
        if (kind_[i] == PointKind::Surface) {
            const double scale = 4.0 * (1.0 - nu1 * nu1) / e1;
            integralFactor_[W][i] = scale;
            integralFactor_[UX][i] = -scale;
            integralFactor_[UY][i] = -scale;
            integralFactor_[SZ][i] = 0.0;
            integralFactor_[TYZ][i] = 0.0;
            integralFactor_[TXZ][i] = 0.0;
            for (int j = 0; j < loadCount_; ++j) {
                const int pair = i * loadCount_ + j;
                const double r = distance_[pair], a = radius_[j], q = pressure_[j];
                if (r < a) {
                    const double f = hypergeometricHalf(-0.5, 1.0, (r / a) * (r / a));
                    in[W][i] -= 2.0 * f * (1.0 - nu1 * nu1) * a * q / e1;
                    if (r != 0.0) {
                        const double u = (1.0 - 2.0 * nu1) * (1.0 + nu1) * q * r / (2.0 * e1);
                        in[UX][i] += u * cosTheta_[pair];
                        in[UY][i] += u * sinTheta_[pair];
                    }
                    in[SX][i] += (2.0 * nu1 + 1.0) * q / 2.0;
                    in[SY][i] += (2.0 * nu1 + 1.0) * q / 2.0;
                    in[SZ][i] += q;
                } else if (r == a) {
                    // The edge of the loaded circle: the mean of the inside and outside limits.
                    in[W][i] -= 4.0 * (1.0 - nu1 * nu1) * q * a / (e1 * kPi);
                    const double u = (1.0 - 2.0 * nu1) * a * q * (1.0 + nu1) / (2.0 * e1);
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    const double p = (2.0 * nu1 + 1.0) * q / 4.0;
                    const double s = -(1.0 - 2.0 * nu1) * q / 4.0;
                    in[SX][i] += p + s * cos2Theta_[pair];
                    in[SY][i] += p - s * cos2Theta_[pair];
                    in[TXY][i] += s * sin2Theta_[pair];
                    in[SZ][i] += q / 2.0;
                } else {
                    const double f = hypergeometricHalf(0.5, 2.0, (a / r) * (a / r));
                    in[W][i] -= f * (1.0 - nu1 * nu1) * q * a * a / (r * e1);
                    const double u = (1.0 - 2.0 * nu1) * (1.0 + nu1) * q * a * a / (2.0 * r * e1);
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    const double s = -(1.0 - 2.0 * nu1) * q * a * a / (2.0 * r * r);
                    in[SX][i] += s * cos2Theta_[pair];
                    in[SY][i] -= s * cos2Theta_[pair];
                    in[TXY][i] += s * sin2Theta_[pair];
                }
            }
        } else if (kind_[i] == PointKind::LayerOne) {
            const double scale = (1.0 + nu1) / e1;
            integralFactor_[W][i] = scale;
            integralFactor_[UX][i] = -scale;
            integralFactor_[UY][i] = -scale;
            const double z = depth_[i];
            // The off-axis half-space is a quadrature: a point that needs no integral skips it.
            for (int j = 0; j < (slots_[i] != 0 ? loadCount_ : 0); ++j) {
                const int pair = i * loadCount_ + j;
                const double r = distance_[pair];
                const auto p = halfSpaceFor(z, r, j);
                const double p6 = p[0] * z, p7 = p[2] * r, p8 = p[3] * r;
                in[W][i] -= 2.0 * (1.0 - nu1 * nu1) * p[5] / e1 + (1.0 + nu1) * p6 / e1;
                const double h = (2.0 * nu1 + 1.0) * p[0] / 2.0 - p[1] / 2.0;
                if (r != 0.0) {
                    const double b = (1.0 - 2.0 * nu1) * (p[0] / 2.0 - p[2]) - p[1] / 2.0 + p[3];
                    in[SX][i] += h + b * cos2Theta_[pair];
                    in[SY][i] += h - b * cos2Theta_[pair];
                    in[TXY][i] += b * sin2Theta_[pair];
                    const double u =
                        (1.0 - 2.0 * nu1) * (1.0 + nu1) * p7 / e1 - (1.0 + nu1) * p8 / e1;
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    in[TXZ][i] += p[4] * cosTheta_[pair];
                    in[TYZ][i] += p[4] * sinTheta_[pair];
                } else {
                    in[SX][i] += h;
                    in[SY][i] += h;
                }
                in[SZ][i] += p[0] + p[1];
            }
        }
    }
}

// Responses of every point: the integrals in their units plus the half-space of layer 1.
void LayeredElasticSolver::closeIntegrals() {
    for (int s = 0; s < kIntegrals; ++s) {
        for (int i = 0; i < pointCount_; ++i)
            integral_[s][i] = integral_[s][i] * integralFactor_[s][i] + halfSpacePart_[s][i];
    }
}

}  // namespace ardelon
