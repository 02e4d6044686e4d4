#include "solver/HalfSpaceQuadrature.h"

#include <algorithm>
#include <cmath>

#include "solver/GaussKronrod.h"

namespace ardelon::layered {
namespace {

// Exact pi (not the 3.141592 of the method's tables): the quadrature meets the closed form on the
// axis to its own accuracy.
constexpr double kExactPi = 3.14159265358979323846;
// The panel with the largest error estimate (Gauss against Kronrod) is halved until the
// estimates sum to at most this share of each integral.
constexpr double kRelativeTolerance = 1e-9;
// Bounds the time of any input: a peak under the point costs two panels per halving, some 40
// for a point 1e-5 of the radius deep.
constexpr int kMaxPanels = 256;

using Triple = std::array<double, 3>;

struct Panel {
    double low, high;
    Triple sums, error;
};

// The Kronrod sums of one panel and their error estimates, the Gauss-Kronrod differences.
template <class Integrand>
[[gnu::always_inline]] inline void evaluatePanel(const Integrand& f, Panel& panel) {
    const double centre = 0.5 * (panel.low + panel.high), half = 0.5 * (panel.high - panel.low);
    Triple values[15];
    for (int i = 0; i < 15; ++i) {
        const int node = i < 8 ? i : 14 - i;
        values[i] = f(centre + (i < 8 ? -half : half) * kGaussKronrodNode[node]);
    }
    for (int k = 0; k < 3; ++k) {
        double sumK = kKronrodWeight[7] * values[7][k], sumG = kGaussWeight[3] * values[7][k];
        for (int node = 0; node < 7; ++node) {
            const double pair = values[node][k] + values[14 - node][k];
            sumK += kKronrodWeight[node] * pair;
            if (node % 2 == 1)
                sumG += kGaussWeight[node / 2] * pair;
        }
        panel.sums[k] = half * sumK;
        panel.error[k] = half * std::abs(sumK - sumG);
    }
}

// The three integrals of f over [low, high]. The first panel's sums set each integral's
// tolerance: a share of its own magnitude or of that of integral scaleOf[k], whichever is larger
// (an integrand that changes sign may integrate to almost nothing).
template <class Integrand>
Triple integrate(const Integrand& f, double low, double high, const std::array<int, 3>& scaleOf) {
    Panel panels[kMaxPanels];
    panels[0].low = low;
    panels[0].high = high;
    evaluatePanel(f, panels[0]);
    Triple allowed, error;
    for (int k = 0; k < 3; ++k) {
        allowed[k] = kRelativeTolerance *
                     std::max(std::abs(panels[0].sums[k]), std::abs(panels[0].sums[scaleOf[k]]));
        error[k] = panels[0].error[k];
    }
    int count = 1;
    while (count < kMaxPanels) {
        int worst = -1;
        double worstShare = 0.0;
        bool converged = true;
        for (int k = 0; k < 3; ++k)
            converged = converged && error[k] <= allowed[k];
        if (converged)
            break;
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k) {
                const double share = panels[i].error[k] / allowed[k];
                if (share > worstShare) {
                    worstShare = share;
                    worst = i;
                }
            }
        }
        Panel& left = panels[worst];
        Panel& right = panels[count++];
        for (int k = 0; k < 3; ++k)
            error[k] -= left.error[k];
        right.high = left.high;
        left.high = right.low = 0.5 * (left.low + left.high);
        evaluatePanel(f, left);
        evaluatePanel(f, right);
        for (int k = 0; k < 3; ++k)
            error[k] += left.error[k] + right.error[k];
    }
    Triple total = {0.0, 0.0, 0.0};
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < 3; ++k)
            total[k] += panels[i].sums[k];
    }
    return total;
}

}  // namespace

std::array<double, 6> HalfSpaceQuadrature::quantities(double z, double r, double a,
                                                      double q) const {
    if (r == 0.0) {
        const double rho = std::sqrt(z * z + a * a);
        const double p5 = (rho - z) * q;
        const double p0 = p5 / rho;
        const double p1 = q * z * a * a / (rho * rho * rho);
        return {p0, p1, p0 / 2.0, p1 / 2.0, 0.0, p5};
    }
    const double zz = z * z;
    // Along the chord at s = -a cos(t), half-length c = a sin(t): the integrals over the chord of
    // z / R^3, 3 z^3 / R^5 - 2 z / R^3 and 1 / R, times ds = c dt. D1 is the squared distance from
    // the point to the chord's midpoint and D2 = D1 + c^2 to its ends.
    const auto chord = [=](double t) -> Triple {
        const double s = -a * std::cos(t), c = a * std::sin(t);
        const double offset = s - r;
        const double d1 = offset * offset + zz, d2 = d1 + c * c;
        const double root2 = std::sqrt(d2);
        const double over1 = 1.0 / d1, over2 = 1.0 / d2;
        const double zc2 = 2.0 * z * c;
        const double f0 = zc2 * over1 / root2;
        const double f1 = zc2 * over2 / root2 - (2.0 * over1 + over2) * offset * offset * f0;
        // ln((root2 + c) / (root2 - c)), without the cancellation of root2 - c under the point.
        const double f5 = std::log((root2 + c) * (root2 + c) * over1);
        return {f0 * c, f1 * c, f5 * c};
    };
    // The chord under the point splits the range, so that its peak (width z) sits at panel ends.
    // The second chord integral, part of the vertical stress, takes the first one's scale.
    const std::array<int, 3> chordScale = {0, 0, 2};
    Triple sChord;
    if (r < a) {
        const double split = std::acos(-r / a);
        const Triple left = integrate(chord, 0.0, split, chordScale);
        const Triple right = integrate(chord, split, kExactPi, chordScale);
        for (int k = 0; k < 3; ++k)
            sChord[k] = left[k] + right[k];
    } else {
        sChord = integrate(chord, 0.0, kExactPi, chordScale);
    }
    // Along the ray from the point to the rim point at angle phi (distance d): the integrals of
    // x / (R (R + z)), z x / R^3 and 3 z^2 x / R^5 over the ray, in closed form.
    const double gap = a - r, ar4 = 4.0 * a * r;
    const auto ray = [=](double phi) -> Triple {
        const double sinHalf = std::sin(0.5 * phi), sinPhi = std::sin(phi);
        const double dz = gap * gap + ar4 * sinHalf * sinHalf + zz;  // d^2 + z^2
        const double rz = std::sqrt(dz);
        const double sin2 = sinPhi * sinPhi;
        const double g3 = sin2 / (dz * rz);
        return {sin2 / (rz * (rz + z)), g3, g3 / dz};
    };
    const Triple sRay = integrate(ray, 0.0, kExactPi, {0, 1, 2});

    const double aa = a * a;
    const double p0 = sChord[0] * q / (2.0 * kExactPi);
    const double p1 = sChord[1] * q / (2.0 * kExactPi) + p0;
    const double p2 = aa / kExactPi * sRay[0] * q;
    const double p3 = aa * z / kExactPi * sRay[1] * q;
    const double p4 = zz * r * aa * 3.0 / kExactPi * sRay[2] * q;
    const double p5 = sChord[2] * q / (2.0 * kExactPi);
    return {p0, p1, p2, p3, p4, p5};
}

}  // namespace ardelon::layered
