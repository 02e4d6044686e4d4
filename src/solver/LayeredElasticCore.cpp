#include "solver/LayeredElasticCore.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ardelon::layered {

double besselJ1(double x) {
    if (x <= kBesselSeriesLimit) {
        const double half = x / 2.0;
        const double halfSquared = half * half;
        double term = -halfSquared / 2.0;
        double sum = 1.0 + term;
        for (int k = 2; std::abs(term) > kSeriesTermLimit; ++k) {
            term = -term * halfSquared / (k * (k + 1));
            sum += term;
        }
        return half * sum;
    }
    return std::sqrt(kTwoOverPi / x) * std::sin(x - kQuarterPi);
}

void besselJ0J1(double x, double& j0, double& j1) {
    if (x == 0.0) {
        j0 = 1.0;
        j1 = 0.0;
        return;
    }
    if (x <= kBesselSeriesLimit) {
        const double half = x / 2.0;
        const double halfSquared = half * half;
        double term0 = -halfSquared;
        double sum0 = 1.0 + term0;
        for (int k = 2; std::abs(term0) > kSeriesTermLimit; ++k) {
            const double ratio = half / k;
            term0 = -term0 * (ratio * ratio);
            sum0 += term0;
        }
        double term1 = -halfSquared / 2.0;
        double sum1 = 1.0 + term1;
        for (int k = 2; std::abs(term1) > kSeriesTermLimit; ++k) {
            term1 = -term1 * halfSquared / (k * (k + 1));
            sum1 += term1;
        }
        j0 = sum0;
        j1 = half * sum1;
        return;
    }
    j0 = std::sqrt(kOneOverPi / (x / 2.0)) * std::cos(x - kQuarterPi);
    j1 = std::sqrt((1.0 / (x / 2.0)) / kPi) * std::sin(x - kPi / 4.0);
}

double hypergeometricHalf(double alpha, double gamma, double x) {
    double term = alpha * x / (2.0 * gamma);
    double sum = 1.0 + term;
    term = term * (alpha + 1.0) * 1.5 * x / (2.0 * (gamma + 1.0));
    sum += term;
    for (int k = 3; std::abs(term) > kSeriesTermLimit; ++k) {
        term = term * (alpha + k - 1.0) * (k - 0.5) * x / ((gamma + k - 1.0) * k);
        sum += term;
    }
    return sum;
}

NormalisedLayers normaliseLayers(const std::array<double, 5>& modulus,
                                 const std::array<double, 4>& thickness,
                                 const std::array<double, 5>& poisson,
                                 const std::array<double, 3>& bond) {
    NormalisedLayers n;
    n.modulus = modulus;
    n.poisson = poisson;
    n.bond = bond;
    const double h1 = thickness[0];
    double depth = 0.0;
    for (int i = 0; i < 4; ++i) {
        depth += thickness[i];
        n.interface[i] = depth / h1;
    }
    n.interface[0] = 1.0;
    n.top = {0.0, n.interface[0], n.interface[1], n.interface[2], n.interface[3]};
    for (int k = 0; k < 4; ++k) {
        n.ratio[k] = ((1.0 + poisson[k + 1]) * modulus[k]) / ((1.0 + poisson[k]) * modulus[k + 1]);
    }
    return n;
}

namespace {

constexpr int kUnknowns = 16;

// Brackets of one layer's kernels at a depth, per coefficient (A, B, C, D): the vertical stress,
// the vertical shear (T), the vertical displacement (w) and the radial displacement (G) forms.
struct Brackets {
    double sz[4], tb[4], wb[4], g[4];
};

Brackets layerBrackets(double nu, double lambda, double ea, double eb) {
    Brackets b;
    b.sz[0] = ea;
    b.sz[1] = eb;
    b.sz[2] = -(1.0 - 2.0 * nu - lambda) * ea;
    b.sz[3] = (1.0 - 2.0 * nu + lambda) * eb;
    b.tb[0] = ea;
    b.tb[1] = -eb;
    b.tb[2] = (2.0 * nu + lambda) * ea;
    b.tb[3] = (2.0 * nu - lambda) * eb;
    b.wb[0] = ea;
    b.wb[1] = -eb;
    b.wb[2] = -(2.0 - 4.0 * nu - lambda) * ea;
    b.wb[3] = -(2.0 - 4.0 * nu + lambda) * eb;
    b.g[0] = ea;
    b.g[1] = eb;
    b.g[2] = (lambda + 1.0) * ea;
    b.g[3] = -(1.0 - lambda) * eb;
    return b;
}

// Layer 1's correction at depth z1: coefficients (B1, D1) in slots 1 and 3, slots 0 and 2 zero.
Brackets layerOneBrackets(double nu, double lambda, double ea, double ec) {
    Brackets b{};
    b.sz[1] = ea - (2.0 * lambda + 1.0) * ec;
    b.sz[3] = -(1.0 - 2.0 * nu - lambda) * ea + (1.0 - 2.0 * nu + lambda - 4.0 * nu * lambda) * ec;
    b.tb[1] = ea - (1.0 - 2.0 * lambda) * ec;
    b.tb[3] = (2.0 * nu + lambda) * ea - (2.0 * nu + lambda - 4.0 * nu * lambda) * ec;
    b.wb[1] = ea + (3.0 - 4.0 * nu + 2.0 * lambda) * ec;
    b.wb[3] = -(2.0 - 4.0 * nu - lambda) * ea -
              ((1.0 - 4.0 * nu) * lambda + 2.0 - 8.0 * nu * (1.0 - nu)) * ec;
    b.g[1] = ea + (3.0 - 4.0 * nu - 2.0 * lambda) * ec;
    b.g[3] = (lambda + 1.0) * ea - (1.0 - 8.0 * nu * (1.0 - nu) - (1.0 - 4.0 * nu) * lambda) * ec;
    return b;
}

// Column of coefficient (A, B, C, D) = slot 0..3 of layer index 0..4. The unknowns are ordered by
// the interface at which their exponential is 1, which makes the matrix block tridiagonal.
constexpr int column(int layer, int slot) {
    if (layer == 0)
        return slot == 1 ? 0 : 1;
    const int base = 4 * (layer - 1) - 2;
    switch (slot) {
        case 1:
            return base + 4;  // B
        case 3:
            return base + 5;  // D
        case 0:
            return base + 6;  // A
        default:
            return base + 7;  // C
    }
}
static_assert(column(1, 1) == 2 && column(1, 3) == 3 && column(1, 0) == 4 && column(1, 2) == 5);
static_assert(column(4, 1) == 14 && column(4, 3) == 15);

// Gaussian elimination with partial pivoting, confined to the band: each interface couples only
// neighbouring layers, so no entry lies more than kBand columns from the diagonal and row
// exchanges widen the upper band to 2 kBand. Entries outside the band are exact zeros, so the
// result equals that of the full elimination; fixed bounds per column let the compiler unroll.
constexpr int kBand = 5;

template <int Col>
[[gnu::always_inline]] inline void eliminateColumn(double (&a)[kUnknowns][kUnknowns + 1]) {
    constexpr int lastRow = std::min(kUnknowns - 1, Col + kBand);
    constexpr int lastColumn = std::min(kUnknowns - 1, Col + 2 * kBand);
    int pivot = Col;
    double largest = std::abs(a[Col][Col]);
    for (int r = Col + 1; r <= lastRow; ++r) {
        if (std::abs(a[r][Col]) > largest) {
            largest = std::abs(a[r][Col]);
            pivot = r;
        }
    }
    if (pivot != Col) {
        for (int c = Col; c <= lastColumn; ++c)
            std::swap(a[Col][c], a[pivot][c]);
        std::swap(a[Col][kUnknowns], a[pivot][kUnknowns]);
    }
    const double inverseDiagonal = 1.0 / a[Col][Col];
    for (int r = Col + 1; r <= lastRow; ++r) {
        const double factor = a[r][Col] * inverseDiagonal;
        for (int c = Col + 1; c <= lastColumn; ++c)
            a[r][c] -= factor * a[Col][c];
        a[r][kUnknowns] -= factor * a[Col][kUnknowns];
    }
    if constexpr (Col + 1 < kUnknowns)
        eliminateColumn<Col + 1>(a);
}

}  // namespace

__attribute__((target_clones("avx2", "default"))) void solveCoefficients(
    double m, const NormalisedLayers& layers, CoefficientSolution solution,
    LayerCoefficients& out) {
    double a[kUnknowns][kUnknowns + 1] = {};
    // exp(-m h) across layers 2 to 4: the decay of each layer's terms from one face to the other.
    std::array<double, 4> decay{};
    for (int layer = 1; layer < 4; ++layer) {
        decay[layer] = cutExp(-m * (layers.interface[layer] - layers.top[layer]));
    }

    for (int k = 0; k < 4; ++k) {  // interface k + 1 between layer index k and k + 1
        const double z = layers.interface[k];
        const double lambda = m * z;
        const int upper = k, lower = k + 1;
        Brackets up;
        if (upper == 0) {
            up = layerOneBrackets(layers.poisson[0], lambda, 1.0, cutExp(-2.0 * m * z));
        } else {
            up = layerBrackets(layers.poisson[upper], lambda, 1.0, decay[upper]);
        }
        const double eaLower = lower == 4 ? 0.0 : decay[lower];
        const Brackets lo = layerBrackets(layers.poisson[lower], lambda, eaLower, 1.0);

        const bool slip = solution == CoefficientSolution::Slip && k < 2;
        const double ratio = layers.ratio[k];
        const double bond =
            solution == CoefficientSolution::General && k < 3 ? layers.bond[k] : 1.0;
        const int row = 4 * k;
        for (int s = 0; s < 4; ++s) {
            if (upper == 0 && (s == 0 || s == 2))
                continue;
            const int cu = column(upper, s);
            a[row + 0][cu] += up.sz[s];
            if (slip) {
                a[row + 1][cu] += up.wb[s];
                a[row + 2][cu] += up.tb[s];
            } else {
                a[row + 1][cu] += up.tb[s];
                a[row + 2][cu] += up.wb[s];
                a[row + 3][cu] += up.g[s];
            }
        }
        for (int s = 0; s < 4; ++s) {
            if (lower == 4 && (s == 0 || s == 2))
                continue;
            const int cl = column(lower, s);
            a[row + 0][cl] -= lo.sz[s];
            if (slip) {
                a[row + 1][cl] -= ratio * lo.wb[s];
                a[row + 3][cl] -= lo.tb[s];
            } else {
                a[row + 1][cl] -= lo.tb[s];
                a[row + 2][cl] -= ratio * lo.wb[s];
                a[row + 3][cl] -= bond * ratio * lo.g[s];
            }
        }
        if (upper == 0) {
            // The half-space field of layer 1 (B = 2 nu1, D = 1 in the layer form) is the known
            // part of layer 1's field at interface 1.
            const double nu = layers.poisson[0];
            const double e = cutExp(-lambda);
            const double sz = (1.0 + lambda) * e;
            const double tb = -lambda * e;
            const double wb = -(2.0 - 2.0 * nu + lambda) * e;
            const double g = (2.0 * nu - 1.0 + lambda) * e;
            a[row + 0][kUnknowns] = -sz;
            if (slip) {
                a[row + 1][kUnknowns] = -wb;
                a[row + 2][kUnknowns] = -tb;
            } else {
                a[row + 1][kUnknowns] = -tb;
                a[row + 2][kUnknowns] = -wb;
                a[row + 3][kUnknowns] = -g;
            }
        }
    }

    eliminateColumn<0>(a);
    double x[kUnknowns];
    for (int r = kUnknowns - 1; r >= 0; --r) {
        double sum = a[r][kUnknowns];
        const int lastColumn = std::min(kUnknowns - 1, r + 2 * kBand);
        for (int c = r + 1; c <= lastColumn; ++c)
            sum -= a[r][c] * x[c];
        x[r] = sum / a[r][r];
    }

    out.A = {};
    out.C = {};
    out.B[0] = x[column(0, 1)];
    out.D[0] = x[column(0, 3)];
    for (int layer = 1; layer < 4; ++layer) {
        out.A[layer] = x[column(layer, 0)];
        out.B[layer] = x[column(layer, 1)];
        out.C[layer] = x[column(layer, 2)];
        out.D[layer] = x[column(layer, 3)];
    }
    out.B[4] = x[column(4, 1)];
    out.D[4] = x[column(4, 3)];

    // K(m): the deflection brackets at the bottom of layer 1 (correction) and top of layer 2.
    const double z1 = layers.interface[0];
    const double nu1 = layers.poisson[0], nu2 = layers.poisson[1];
    const double mz1 = m * z1;
    const double b1 = out.B[0], d1 = out.D[0];
    const double k1 =
        b1 - (2.0 - 4.0 * nu1 - mz1) * d1 +
        cutExp(-2.0 * mz1) * ((3.0 - 4.0 * nu1 + 2.0 * mz1) * b1 -
                              (8.0 * nu1 * nu1 - 8.0 * nu1 + 2.0 + mz1 - 4.0 * nu1 * mz1) * d1);
    const double e2 = decay[1];
    const double k2 = e2 * out.A[1] - out.B[1] - (2.0 - 4.0 * nu2 - mz1) * e2 * out.C[1] -
                      (2.0 - 4.0 * nu2 + mz1) * out.D[1];
    out.kernel = std::abs(k2) > std::abs(k1) ? k2 : k1;
}

double largestUpperCoefficient(const LayerCoefficients& c) {
    double largest = std::max(std::abs(c.B[0]), std::abs(c.D[0]));
    for (int layer = 1; layer < 4; ++layer) {
        largest = std::max({largest, std::abs(c.A[layer]), std::abs(c.B[layer]),
                            std::abs(c.C[layer]), std::abs(c.D[layer])});
    }
    return largest;
}

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

HalfSpaceQuadrature::HalfSpaceQuadrature() {
    const double dphi = kPi / kIntervals;
    for (int k = 1; k < kIntervals; ++k) {
        weight_[k] = (k % 2 == 1) ? 4.0 : 2.0;
        const double phi = k * dphi;
        const double sinPhi = std::sin(phi);
        cosPhi_[k] = std::cos(phi);
        sinPhiSquared_[k] = sinPhi * sinPhi;
    }
}

__attribute__((target_clones("avx2", "default"))) std::array<double, 6>
HalfSpaceQuadrature::quantities(double z, double r, double a, double q) const {
    if (r == 0.0) {
        const double rho = std::sqrt(z * z + a * a);
        const double p5 = (rho - z) * q;
        const double p0 = p5 / rho;
        const double p1 = q * z * a * a / (rho * rho * rho);
        return {p0, p1, p0 / 2.0, p1 / 2.0, 0.0, p5};
    }
    const double ds = 2.0 * a / kIntervals;
    const double dphi = kPi / kIntervals;
    const double zz = z * z, rr = r * r, aa = a * a;
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    // The logarithm does not vectorise: its arguments are gathered and taken in a second pass.
    std::array<double, kIntervals> logArgument;
    for (int k = 1; k < kIntervals; ++k) {
        const double weight = weight_[k];
        const double s = -a + k * ds;
        const double sin2 = sinPhiSquared_[k];
        const double d2 = aa + rr - 2.0 * a * r * cosPhi_[k];
        const double dd1 = s * s + rr + zz - 2.0 * s * r;
        const double dd2 = rr + zz + aa - 2.0 * s * r;
        const double c = std::sqrt(aa - s * s);
        const double root2 = std::sqrt(dd2);
        const double f0 = 2.0 * z * c / (dd1 * root2);
        const double f1 = 2.0 * z * c / (dd2 * root2) - (2.0 / dd1 + 1.0 / dd2) * 2.0 *
                                                            (rr + s * s - 2.0 * s * r) * z * c /
                                                            (root2 * dd1);
        const double rz = std::sqrt(zz + d2);  // = (d^2 + z^2)^(1/2)
        const double f2 = (1.0 - z / rz) * sin2 / d2;
        const double dz = d2 + zz;
        const double f3 = sin2 / (dz * rz);
        const double f4 = sin2 / (dz * dz * rz);
        logArgument[k] = (root2 + c) / (root2 - c);
        s0 += weight * f0;
        s1 += weight * f1;
        s2 += weight * f2;
        s3 += weight * f3;
        s4 += weight * f4;
    }
    double s5 = 0;
    for (int k = 1; k < kIntervals; ++k)
        s5 += weight_[k] * std::log(logArgument[k]);
    const double p0 = ds * s0 / 3.0 * q / (2.0 * kPi);
    const double p1 = ds * s1 / 3.0 * q / (2.0 * kPi) + p0;
    const double p2 = aa / kPi * dphi * s2 / 3.0 * q;
    const double p3 = aa * z / kPi * dphi * s3 / 3.0 * q;
    const double p4 = zz * r * aa * 3.0 / kPi * dphi * s4 / 3.0 * q;
    const double p5 = ds * s5 / 3.0 * q / (2.0 * kPi);
    return {p0, p1, p2, p3, p4, p5};
}

std::array<double, 6> halfSpaceQuantities(double z, double r, double a, double q) {
    return HalfSpaceQuadrature().quantities(z, r, a, q);
}

namespace {

constexpr int kMaxSeriesTerms = 64;  // far more than x <= 16 needs
constexpr int kSeriesLanes = 4;

// -1/k^2 and -1/(k (k+1)): the factors of the J0 and J1 term recurrences.
constexpr std::array<double, kMaxSeriesTerms> kJ0Factor = [] {
    std::array<double, kMaxSeriesTerms> f{};
    for (int k = 1; k < kMaxSeriesTerms; ++k)
        f[k] = -1.0 / (static_cast<double>(k) * k);
    return f;
}();
constexpr std::array<double, kMaxSeriesTerms> kJ1Factor = [] {
    std::array<double, kMaxSeriesTerms> f{};
    for (int k = 1; k < kMaxSeriesTerms; ++k)
        f[k] = -1.0 / (static_cast<double>(k) * (k + 1));
    return f;
}();

}  // namespace

// Built for AVX2 as well as the baseline; both give the same results (no fused operations).
__attribute__((target_clones("avx2", "default"))) void besselSeriesBlock(const double* x,
                                                                         double* j0, double* j1,
                                                                         int count) {
    for (int begin = 0; begin < count; begin += kSeriesLanes) {
        const int lanes = std::min(kSeriesLanes, count - begin);
        double half[kSeriesLanes], halfSquared[kSeriesLanes];
        double term0[kSeriesLanes], sum0[kSeriesLanes], active0[kSeriesLanes];
        double term1[kSeriesLanes], sum1[kSeriesLanes], active1[kSeriesLanes];
        for (int l = 0; l < kSeriesLanes; ++l) {
            half[l] = l < lanes ? x[begin + l] / 2.0 : 0.0;  // padding converges at once
            halfSquared[l] = half[l] * half[l];
            term0[l] = -halfSquared[l];
            sum0[l] = 1.0 + term0[l];
            active0[l] = std::abs(term0[l]) > kSeriesTermLimit ? 1.0 : 0.0;
            term1[l] = -halfSquared[l] / 2.0;
            sum1[l] = 1.0 + term1[l];
            active1[l] = std::abs(term1[l]) > kSeriesTermLimit ? 1.0 : 0.0;
        }
        for (int k = 2; k < kMaxSeriesTerms; ++k) {
            double anyActive = 0.0;
            for (int l = 0; l < kSeriesLanes; ++l)
                anyActive += active0[l] + active1[l];
            if (anyActive == 0.0)
                break;
            const double f0 = kJ0Factor[k], f1 = kJ1Factor[k];
            for (int l = 0; l < kSeriesLanes; ++l) {
                // A lane adds term k only while its previous term exceeded the limit.
                term0[l] *= halfSquared[l] * f0;
                sum0[l] += active0[l] * term0[l];
                active0[l] = std::abs(term0[l]) > kSeriesTermLimit ? active0[l] : 0.0;
                term1[l] *= halfSquared[l] * f1;
                sum1[l] += active1[l] * term1[l];
                active1[l] = std::abs(term1[l]) > kSeriesTermLimit ? active1[l] : 0.0;
            }
        }
        for (int l = 0; l < lanes; ++l) {
            j0[begin + l] = sum0[l];
            j1[begin + l] = half[l] * sum1[l];
        }
    }
}

}  // namespace ardelon::layered
