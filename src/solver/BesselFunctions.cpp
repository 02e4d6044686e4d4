#include "solver/BesselFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "solver/CpuDispatch.h"

namespace ardelon::layered {

namespace {

// Hankel's expansion above 16; with the fine term limit to x^-7 and with pi exact in the phase.
void hankelForms(double x, double termLimit, double& j0, double& j1) {
    const double phase = x - (termLimit < kSeriesTermLimit ? kExactQuarterPi : kQuarterPi);
    besselAsymptotic(x, std::sqrt(kTwoOverPi / x), std::cos(phase), std::sin(phase), j0, j1,
                     termLimit);
}

}  // namespace

double besselJ1(double x, double termLimit) {
    if (x <= kBesselSeriesLimit) {
        const double half = x / 2.0;
        const double halfSquared = half * half;
        double term = -halfSquared / 2.0;
        double sum = 1.0 + term;
        for (int k = 2; std::abs(term) > termLimit; ++k) {
            term = -term * halfSquared / (k * (k + 1));
            sum += term;
        }
        return half * sum;
    }
    double j0, j1;
    hankelForms(x, termLimit, j0, j1);
    return j1;
}

void besselJ0J1(double x, double& j0, double& j1, double termLimit) {
    if (x > kBesselSeriesLimit) {
        hankelForms(x, termLimit, j0, j1);
        return;
    }
    const double half = x / 2.0;
    double term = -half * half;
    double sum = 1.0 + term;
    for (int k = 2; std::abs(term) > termLimit; ++k) {
        const double ratio = half / k;
        term = -term * (ratio * ratio);
        sum += term;
    }
    j0 = sum;
    j1 = besselJ1(x, termLimit);
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

// Four arguments side by side, as one vector (two halves on processors without AVX).
using Lanes = double __attribute__((vector_size(4 * sizeof(double))));
using LaneMask = long long __attribute__((vector_size(4 * sizeof(double))));
static_assert(kSeriesLanes == 4);

[[gnu::always_inline]] inline void besselSeriesOf(const double* x, double* j0, double* j1,
                                                  int count, double limit) {
    for (int begin = 0; begin < count; begin += kSeriesLanes) {
        const int lanes = std::min(kSeriesLanes, count - begin);
        Lanes half{};  // padding lanes converge at once
        for (int l = 0; l < lanes; ++l)
            half[l] = x[begin + l] / 2.0;
        const Lanes halfSquared = half * half;
        Lanes term0 = -halfSquared, sum0 = 1.0 + term0;
        Lanes term1 = -halfSquared / 2.0, sum1 = 1.0 + term1;
        // A lane adds term k only while its previous term exceeded the limit: the mask keeps
        // the term's bits or clears them to +0.
        LaneMask active0 = (term0 > limit) | (term0 < -limit);
        LaneMask active1 = (term1 > limit) | (term1 < -limit);
        for (int k = 2; k < kMaxSeriesTerms; ++k) {
            const LaneMask any = active0 | active1;
            if ((any[0] | any[1] | any[2] | any[3]) == 0)
                break;
            term0 *= halfSquared * kJ0Factor[k];
            sum0 += reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(term0) & active0);
            active0 &= (term0 > limit) | (term0 < -limit);
            term1 *= halfSquared * kJ1Factor[k];
            sum1 += reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(term1) & active1);
            active1 &= (term1 > limit) | (term1 < -limit);
        }
        for (int l = 0; l < lanes; ++l) {
            j0[begin + l] = sum0[l];
            j1[begin + l] = half[l] * sum1[l];
        }
    }
}

// besselJ1's own series (each term from the last by -(x/2)^2 / (k (k + 1))) in lanes, so that
// each result equals besselJ1's bit for bit; arguments above 16 take Hankel's expansion.
[[gnu::always_inline]] inline void besselJ1Of(const double* x, double* j1, int count,
                                              double limit) {
    for (int begin = 0; begin < count; begin += kSeriesLanes) {
        const int lanes = std::min(kSeriesLanes, count - begin);
        Lanes half{};
        for (int l = 0; l < lanes; ++l)
            half[l] = x[begin + l] <= kBesselSeriesLimit ? x[begin + l] / 2.0 : 0.0;
        const Lanes halfSquared = half * half;
        Lanes term = -halfSquared / 2.0, sum = 1.0 + term;
        LaneMask active = (term > limit) | (term < -limit);
        for (int k = 2; k < kMaxSeriesTerms; ++k) {
            if ((active[0] | active[1] | active[2] | active[3]) == 0)
                break;
            term = -term * halfSquared / static_cast<double>(k * (k + 1));
            sum += reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(term) & active);
            active &= (term > limit) | (term < -limit);
        }
        for (int l = 0; l < lanes; ++l) {
            j1[begin + l] = x[begin + l] <= kBesselSeriesLimit ? half[l] * sum[l]
                                                               : besselJ1(x[begin + l], limit);
        }
    }
}

ARDELON_TARGET_AVX2 void besselJ1Avx2(const double* x, double* j1, int count, double limit) {
    besselJ1Of(x, j1, count, limit);
}

void besselJ1Baseline(const double* x, double* j1, int count, double limit) {
    besselJ1Of(x, j1, count, limit);
}

ARDELON_TARGET_AVX2 void besselSeriesAvx2(const double* x, double* j0, double* j1, int count,
                                          double limit) {
    besselSeriesOf(x, j0, j1, count, limit);
}

void besselSeriesBaseline(const double* x, double* j0, double* j1, int count, double limit) {
    besselSeriesOf(x, j0, j1, count, limit);
}

}  // namespace

void besselJ1Block(const double* x, double* j1, int count, double termLimit) {
    if (processorHasAvx2())
        besselJ1Avx2(x, j1, count, termLimit);
    else
        besselJ1Baseline(x, j1, count, termLimit);
}

void besselSeriesBlock(const double* x, double* j0, double* j1, int count, double termLimit) {
    if (processorHasAvx2())
        besselSeriesAvx2(x, j0, j1, count, termLimit);
    else
        besselSeriesBaseline(x, j0, j1, count, termLimit);
}

}  // namespace ardelon::layered
