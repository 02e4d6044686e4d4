#include "solver/ConvergedReference.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "solver/GaussKronrod.h"
#include "solver/KernelBrackets.h"
#include "solver/LayeredElasticCore.h"

namespace ardelon::testing {
namespace {

using namespace layered;

constexpr double kExactPi = 3.14159265358979323846;

enum Slot : int { W = 0, UX, UY, SX, SY, SZ, TYZ, TXZ, TXY, kSlots };
using Values = std::array<double, kSlots>;

// J0 and J1 to about 1e-15: the power series in extended precision up to 20, Hankel's expansion
// summed to its smallest term above (whose size is about exp(-2x)).
void bessel(double x, double& j0, double& j1) {
    if (x <= 20.0) {
        const long double half = x / 2.0L, hh = half * half;
        long double t0 = 1.0L, s0 = 1.0L, t1 = half, s1 = half;
        for (int k = 1; k < 200; ++k) {
            t0 *= -hh / (static_cast<long double>(k) * k);
            t1 *= -hh / (static_cast<long double>(k) * (k + 1));
            s0 += t0;
            s1 += t1;
            if (std::abs(t0) < 1e-22L && std::abs(t1) < 1e-22L)
                break;
        }
        j0 = static_cast<double>(s0);
        j1 = static_cast<double>(s1);
        return;
    }
    double p[2], q[2];
    for (int order = 0; order < 2; ++order) {
        const double mu = 4.0 * order * order;
        // P = sum (-1)^k a_2k / x^2k, Q = sum (-1)^k a_2k+1 / x^2k+1, a_k = prod (mu - (2j-1)^2) /
        // (k! 8^k).
        double term = 1.0, sumP = 1.0, sumQ = 0.0, previous = 2.0;
        for (int k = 1; k < 60; ++k) {
            term *= (mu - (2.0 * k - 1.0) * (2.0 * k - 1.0)) / (k * 8.0 * x);
            if (std::abs(term) > previous || std::abs(term) < 1e-17)
                break;
            previous = std::abs(term);
            const double sign = (k / 2) % 2 == 0 ? 1.0 : -1.0;
            if (k % 2 == 0)
                sumP += sign * term;
            else
                sumQ += sign * term;
        }
        p[order] = sumP;
        q[order] = sumQ;
    }
    const double amplitude = std::sqrt(2.0 / (kExactPi * x));
    const double c = std::cos(x - kExactPi / 4.0), s = std::sin(x - kExactPi / 4.0);
    // cos(x - 3 pi/4) = s, sin(x - 3 pi/4) = -c.
    j0 = amplitude * (p[0] * c - q[0] * s);
    j1 = amplitude * (p[1] * s + q[1] * c);
}

enum class Kind { Surface, LayerOne, Deep };

struct Pair {
    double r, a, q, cosT, sinT, cos2T, sin2T;
};

struct PointIntegrand {
    const NormalisedLayers& layers;
    CoefficientSolution solution;
    Kind kind;
    int layer;  // 0..4
    double z;
    std::array<Pair, kMaxLoads> pairs;
    int pairCount;

    // One layer-form field (constants A..D at brackets b) of a material E, nu into `f`.
    static void addLayerForm(Values& f, const KernelValues& k, double modulus, double nu, double m,
                             double q, double j0, double j1, double n, const Pair& p) {
        const double displacement = (1.0 + nu) / (modulus * m);
        f[W] += displacement * q * j0 * k.wb;
        const double mean = -0.5 * q * j0 * k.mb;
        f[SZ] += q * j0 * k.sz;
        if (p.r == 0.0) {
            f[SX] += mean;
            f[SY] += mean;
            return;
        }
        const double tangential = n * q * k.g;
        f[SX] += mean + tangential * p.cos2T;
        f[SY] += mean - tangential * p.cos2T;
        f[TXY] += tangential * p.sin2T;
        const double u = -displacement * q * j1 * k.g;
        f[UX] += u * p.cosT;
        f[UY] += u * p.sinT;
        const double t = -q * j1 * k.tb;
        f[TXZ] += t * p.cosT;
        f[TYZ] += t * p.sinT;
    }

    Values operator()(double m) const {
        LayerCoefficients c;
        solveCoefficients(m, layers, solution, c);
        Values f{};
        const double nu = layers.poisson[layer], modulus = layers.modulus[layer];
        const double lambda = m * z;
        for (int j = 0; j < pairCount; ++j) {
            const Pair& p = pairs[j];
            double unused, ja, j0 = 1.0, j1 = 0.0;
            bessel(m * p.a, unused, ja);
            const double q = p.q * p.a * ja;
            if (p.r != 0.0)
                bessel(m * p.r, j0, j1);
            const double n = p.r == 0.0 ? 0.0 : j1 / (m * p.r) - j0 / 2.0;
            if (kind == Kind::Surface) {
                const double z1 = layers.interface[0];
                const double e = std::exp(-m * z1);
                const double b1 = c.B[0], d1 = c.D[0];
                const double beta = (b1 + 2.0 * nu * d1) * e;
                const double scale = 4.0 * (1.0 - nu * nu) / modulus;
                f[W] += scale * (b1 - (1.0 - 2.0 * nu) * d1) * e * q * j0 / m;
                const double t0 = -2.0 * (1.0 + nu) * beta * q * j0;
                f[SX] += t0;
                f[SY] += t0;
                if (p.r != 0.0) {
                    const double s0 = 4.0 * (1.0 - nu) * beta * n * q;
                    f[SX] += s0 * p.cos2T;
                    f[SY] -= s0 * p.cos2T;
                    f[TXY] += s0 * p.sin2T;
                    const double u = -scale * beta * q * j1 / m;
                    f[UX] += u * p.cosT;
                    f[UY] += u * p.sinT;
                }
            } else if (kind == Kind::LayerOne) {
                const double z1 = layers.interface[0];
                // The half-space of layer 1 (B = 2 nu, D = 1 in the layer form) and its correction.
                const auto half = combine(layerBrackets(nu, lambda, 0.0, std::exp(-lambda)), 0.0,
                                          2.0 * nu, 0.0, 1.0);
                addLayerForm(f, half, modulus, nu, m, q, j0, j1, n, p);
                const auto correction = combine(
                    layerOneBrackets(nu, lambda, std::exp(-m * (z1 - z)), std::exp(-m * (z + z1))),
                    0.0, c.B[0], 0.0, c.D[0]);
                addLayerForm(f, correction, modulus, nu, m, q, j0, j1, n, p);
            } else {
                const double ea = layer == 4 ? 0.0 : std::exp(-m * (layers.interface[layer] - z));
                const double eb = std::exp(-m * (z - layers.top[layer]));
                const auto k = combine(layerBrackets(nu, lambda, ea, eb), c.A[layer], c.B[layer],
                                       c.C[layer], c.D[layer]);
                addLayerForm(f, k, modulus, nu, m, q, j0, j1, n, p);
            }
        }
        return f;
    }
};

struct PanelResult {
    Values integral, absolute, error;
};

template <typename F>
PanelResult kronrod(const F& f, double low, double high) {
    const double centre = 0.5 * (low + high), half = 0.5 * (high - low);
    PanelResult r{};
    Values gauss{};
    for (int k = 0; k < 8; ++k) {
        const int copies = k == 7 ? 1 : 2;
        for (int side = 0; side < copies; ++side) {
            const double x = centre + (side == 0 ? -1.0 : 1.0) * half * kGaussKronrodNode[k];
            const Values v = f(x);
            for (int s = 0; s < kSlots; ++s) {
                r.integral[s] += kKronrodWeight[k] * v[s];
                r.absolute[s] += kKronrodWeight[k] * std::abs(v[s]);
                if (k % 2 == 1)
                    gauss[s] += kGaussWeight[k / 2] * v[s];
            }
        }
    }
    for (int s = 0; s < kSlots; ++s) {
        r.integral[s] *= half;
        r.absolute[s] *= half;
        r.error[s] = std::abs(r.integral[s] - gauss[s] * half);
    }
    return r;
}

// Bisects until the two rules agree to 1e-8 of the panel's absolute integral or to 1e-12 of the
// absolute integral so far of the largest response of its kind (the floor of rounding in the
// kernels).
template <typename F>
void adaptive(const F& f, double low, double high, int depth, const double (&floor)[2], Values& sum,
              Values& absolute) {
    const PanelResult r = kronrod(f, low, high);
    // A response that is zero throughout (the shear on a frictionless face, the layered correction
    // of a homogeneous system) is held to the rounding of the largest of its kind, displacements
    // or stresses, and to a floor far below the loads' own scale.
    double kindAbsolute[2] = {};
    for (int s = 0; s < kSlots; ++s) {
        double& k = kindAbsolute[s <= UY ? 0 : 1];
        k = std::max(k, absolute[s] + r.absolute[s]);
    }
    bool converged = true;
    for (int s = 0; s < kSlots; ++s) {
        converged = converged && r.error[s] <= 1e-8 * r.absolute[s] +
                                                   1e-12 * kindAbsolute[s <= UY ? 0 : 1] +
                                                   floor[s <= UY ? 0 : 1];
    }
    if (converged || depth >= 8) {
        for (int s = 0; s < kSlots; ++s) {
            sum[s] += r.integral[s];
            absolute[s] += r.absolute[s];
        }
        return;
    }
    const double middle = 0.5 * (low + high);
    adaptive(f, low, middle, depth + 1, floor, sum, absolute);
    adaptive(f, middle, high, depth + 1, floor, sum, absolute);
}

// Bisects until every slot's two rules agree to `tolerance` or to 1e-12 of the panel's absolute
// integral (the rounding of the kernels), at most 24 times.
template <typename F>
Values bisected(const F& f, double low, double high, double tolerance, int depth = 0) {
    const PanelResult r = kronrod(f, low, high);
    bool converged = true;
    for (int s = 0; s < kSlots; ++s)
        converged = converged && r.error[s] <= std::max(tolerance, 1e-12 * r.absolute[s]);
    if (converged || depth >= 24)
        return r.integral;
    const double middle = 0.5 * (low + high);
    const Values left = bisected(f, low, middle, tolerance / 2, depth + 1);
    const Values right = bisected(f, middle, high, tolerance / 2, depth + 1);
    Values sum;
    for (int s = 0; s < kSlots; ++s)
        sum[s] = left[s] + right[s];
    return sum;
}

// Complete elliptic integrals of modulus k.
double ellipticK(double k) {
    return std::comp_ellint_1(k);
}
double ellipticE(double k) {
    return std::comp_ellint_2(k);
}

}  // namespace

HalfSpaceValues boussinesqOnAxis(double depth, double radius, double pressure, double modulus,
                                 double poisson) {
    const double z = depth, a = radius, q = pressure, nu = poisson;
    const double rho = std::sqrt(a * a + z * z);
    const double ratio3 = z * z * z / (rho * rho * rho);
    const double radial = q / 2.0 * ((1.0 + 2.0 * nu) - 2.0 * (1.0 + nu) * z / rho + ratio3);
    const double down = (1.0 + nu) * q * a / modulus * (a / rho + (1.0 - 2.0 * nu) * (rho - z) / a);
    return {radial, radial, q * (1.0 - ratio3), -down, 0.0};
}

HalfSpaceValues boussinesqAtSurface(double x, double radius, double pressure, double modulus,
                                    double poisson) {
    const double r = std::abs(x), a = radius, q = pressure, nu = poisson;
    const double stiffness = 4.0 * (1.0 - nu * nu) * q / (kExactPi * modulus);
    const double inward = (1.0 - 2.0 * nu) * (1.0 + nu) * q / (2.0 * modulus);
    const double sign = x < 0.0 ? -1.0 : 1.0;
    if (r < a) {
        const double s = (1.0 + 2.0 * nu) * q / 2.0;
        return {s, s, q, -stiffness * a * ellipticE(r / a), sign * inward * r};
    }
    if (r == a) {
        const double p = (1.0 + 2.0 * nu) * q / 4.0, s = -(1.0 - 2.0 * nu) * q / 4.0;
        return {p + s, p - s, q / 2.0, -stiffness * a, sign * inward * a};
    }
    const double k = a / r;
    const double s = -(1.0 - 2.0 * nu) * q * a * a / (2.0 * r * r);
    const double down = stiffness * r * (ellipticE(k) - (1.0 - k * k) * ellipticK(k));
    return {s, -s, 0.0, -down, sign * inward * a * a / r};
}

std::array<double, 6> boussinesqQuantities(double z, double r, double a, double q) {
    // The kernels are scaled to a magnitude of about 1, so that one tolerance serves all six;
    // the two divided by r are integrated undivided.
    const double stressScale = std::min(1.0, a * a / (z * z));
    const double lengthScale = a * std::min(1.0, a / z);
    // A load element at distance rho from the point's plan position, in direction alpha (pi
    // points at the load centre); x is the plan vector from it to the point along the
    // load-centre-to-point direction.
    const auto direction = [&](double alpha) {
        const double c = std::cos(alpha), s = std::sin(alpha);
        const double reach = std::sqrt(std::max(0.0, a * a - r * r * s * s));
        const double low = std::max(0.0, -r * c - reach), high = -r * c + reach;
        if (!(high > low))
            return Values{};
        const auto along = [&](double rho) {
            const double rr = rho * rho + z * z, distance = std::sqrt(rr);
            const double x = -rho * c, cubed = rr * distance, fifth = cubed * rr;
            Values v{};
            v[0] = z / cubed / stressScale;
            v[1] = 3.0 * z * z * z / fifth / stressScale;
            v[2] = x / (distance * (distance + z)) / stressScale;
            v[3] = z * x / cubed / stressScale;
            v[4] = 3.0 * z * z * x / fifth / stressScale;
            v[5] = 1.0 / distance / lengthScale;
            for (double& value : v)
                value *= rho;
            return v;
        };
        return bisected(along, low, high, 1e-12);
    };
    Values sum;
    if (r <= a) {
        sum = bisected(direction, 0.0, kExactPi, 1e-11);
    } else {
        // Only the directions within asin(a / r) of the centre meet the load; alpha = pi -
        // asin((a / r) sin u) removes the square root of the chord length at the tangents.
        const double k = a / r;
        const auto tangent = [&](double u) {
            const double su = k * std::sin(u);
            const double jacobian = k * std::cos(u) / std::sqrt(1.0 - su * su);
            Values v = direction(kExactPi - std::asin(su));
            for (double& value : v)
                value *= jacobian;
            return v;
        };
        sum = bisected(tangent, 0.0, kExactPi / 2.0, 1e-11);
    }
    // Both halves of the circle, times q / (2 pi).
    std::array<double, 6> p;
    for (int s = 0; s < 6; ++s)
        p[s] = sum[s] * q / kExactPi * (s == 5 ? lengthScale : stressScale);
    p[1] -= p[0];
    p[2] = r > 0.0 ? p[2] / r : p[0] / 2.0;
    p[3] = r > 0.0 ? p[3] / r : p[1] / 2.0;
    return p;
}

ResponseTable convergedResponses(const LayerSystem& system, const CircularLoad* loads,
                                 int loadCount, const EvaluationPoint* points, int pointCount) {
    const double h1 = system.thickness[0];
    const NormalisedLayers layers =
        normaliseLayers(system.modulus, system.thickness, system.poisson, system.bond);
    const CoefficientSolution solution = system.bond[0] != 0.0 && system.bond[1] != 0.0
                                             ? CoefficientSolution::General
                                             : CoefficientSolution::Slip;
    // The scales of the loads: the largest pressure, and the deflection it gives over the
    // widest radius on the softest layer (in lengths of layer 1).
    double pressure = 0.0, radius = 0.0;
    for (int j = 0; j < loadCount; ++j) {
        pressure = std::max(pressure, loads[j].pressure);
        radius = std::max(radius, loads[j].radius / h1);
    }
    const double softest = *std::min_element(system.modulus.begin(), system.modulus.end());
    const double floor[2] = {1e-14 * pressure * radius / softest, 1e-14 * pressure};
    ResponseTable table;
    for (int i = 0; i < pointCount; ++i) {
        const EvaluationPoint& point = points[i];
        const double z = point.depth / h1;
        const Kind kind =
            z == 0.0 ? Kind::Surface : (point.layer == 1 ? Kind::LayerOne : Kind::Deep);
        PointIntegrand f{layers, solution, kind,     kind == Kind::Surface ? 0 : point.layer - 1,
                         z,      {},       loadCount};
        double reach = 0.0;  // largest r + a
        for (int j = 0; j < loadCount; ++j) {
            const double dx = (point.x - loads[j].x) / h1, dy = (point.y - loads[j].y) / h1;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double theta = r == 0.0 ? 0.0 : std::atan2(dy, dx);
            f.pairs[j] = {r,
                          loads[j].radius / h1,
                          loads[j].pressure,
                          std::cos(theta),
                          std::sin(theta),
                          std::cos(2.0 * theta),
                          std::sin(2.0 * theta)};
            reach = std::max(reach, r + loads[j].radius / h1);
        }
        // The integrand falls as exp(-m d): the half-space of a layer-1 point from its depth, its
        // correction from interface 1, a deeper point's field from its depth.
        const double decay =
            kind == Kind::Surface ? 2.0 : (kind == Kind::LayerOne ? std::min(z, 1.0) : z);
        const double end = 36.0 / decay;
        const double width = std::min({kExactPi / reach, decay / 2.0, 0.5});
        Values sum{}, absolute{};
        double low = 0.0, high = width * 1e-5;
        while (low < end) {
            adaptive(f, low, high, 0, floor, sum, absolute);
            low = high;
            high = std::min(low + width, 2.0 * low);
        }
        // De-normalised lengths; the surface half-space of layer 1 in closed form.
        double w = sum[W] * h1, ux = sum[UX] * h1, uy = sum[UY] * h1;
        double sx = sum[SX], sy = sum[SY], sz = sum[SZ], tyz = sum[TYZ], txz = sum[TXZ],
               txy = sum[TXY];
        const int layer = kind == Kind::Surface ? 0 : point.layer - 1;
        if (kind == Kind::Surface) {
            tyz = txz = 0.0;
            sz = 0.0;
            for (int j = 0; j < loadCount; ++j) {
                const Pair& p = f.pairs[j];
                const HalfSpaceValues v = boussinesqAtSurface(p.r * h1, p.a * h1, p.q,
                                                              system.modulus[0], system.poisson[0]);
                // Radial and tangential along the direction from the load to the point.
                const double mean = (v.sigmaX + v.sigmaY) / 2.0,
                             deviator = (v.sigmaX - v.sigmaY) / 2.0;
                sx += mean + deviator * p.cos2T;
                sy += mean - deviator * p.cos2T;
                txy += deviator * p.sin2T;
                sz += v.sigmaZ;
                w += v.dispZ;
                ux += v.dispX * p.cosT;
                uy += v.dispX * p.sinT;
            }
        }
        table.at(SigmaX, i) = sx;
        table.at(SigmaY, i) = sy;
        table.at(SigmaZ, i) = sz;
        table.at(TauYZ, i) = tyz;
        table.at(TauXZ, i) = txz;
        table.at(TauXY, i) = txy;
        table.at(DispX, i) = ux;
        table.at(DispY, i) = uy;
        table.at(DispZ, i) = w;
        const double e = system.modulus[layer], nu = system.poisson[layer];
        const auto principal = principalStresses(sx, sy, sz, tyz, txz, txy);
        for (int k = 0; k < 3; ++k) {
            table.at(Sigma1 + k, i) = principal[k];
            table.at(Eps1 + k, i) =
                (principal[k] - nu * (principal[(k + 1) % 3] + principal[(k + 2) % 3])) / e;
        }
        table.at(EpsX, i) = (sx - nu * (sy + sz)) / e;
        table.at(EpsY, i) = (sy - nu * (sx + sz)) / e;
        table.at(EpsZ, i) = (sz - nu * (sx + sy)) / e;
    }
    return table;
}

}  // namespace ardelon::testing
