#include "solver/InterfaceSystem.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

#include "solver/CpuDispatch.h"
#include "solver/KernelBrackets.h"

namespace ardelon::layered {

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

bool interfaceIsSeamless(const NormalisedLayers& layers, CoefficientSolution solution, int k) {
    const bool bonded =
        solution == CoefficientSolution::General ? (k == 3 || layers.bond[k] == 1.0) : k >= 2;
    return bonded && layers.modulus[k] == layers.modulus[k + 1] &&
           layers.poisson[k] == layers.poisson[k + 1];
}

void findHalfSpace(NormalisedLayers& layers, CoefficientSolution solution) {
    layers.halfSpace = 4;
    while (layers.halfSpace > 1 && interfaceIsSeamless(layers, solution, layers.halfSpace - 1))
        --layers.halfSpace;
}

// The lane helpers below pass vectors by value; they are internal and inlined, so no call crosses
// the processor-specific ABI that the warning is about.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace {

// Several values of m side by side: the march solves the nodes of a panel together. Without
// fused multiply-add each lane's operations round as the scalar ones do, so a lane's constants
// equal those of a solve at its m alone, bit for bit.
constexpr int kLanes = 4;
using Lanes = double __attribute__((vector_size(kLanes * sizeof(double))));
using LaneMask = decltype(Lanes{} < Lanes{});

double magnitude(double x) {
    return std::abs(x);
}
Lanes magnitude(Lanes x) {
    constexpr long kNoSign = 0x7fffffffffffffffL;
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(x) & kNoSign);
}
double exponential(double x) {
    return cutExp(x);
}
Lanes exponential(Lanes x) {
    Lanes e;
    for (int l = 0; l < kLanes; ++l)
        e[l] = cutExp(x[l]);
    return e;
}
// Exchanges a and b where `exchange` holds.
void exchangeWhere(bool exchange, double& a, double& b) {
    if (exchange)
        std::swap(a, b);
}
void exchangeWhere(LaneMask exchange, Lanes& a, Lanes& b) {
    const Lanes oldA = a;
    a = exchange ? b : a;
    b = exchange ? oldA : b;
}

// The interface equations form a block tridiagonal system. Interface k (1 to 4) has four
// equations; its own four unknowns are those whose exponential is 1 at its depth: the growing
// terms of the layer above (A, C; for layer 1 its correction B, D) and the decaying terms of the
// layer below (B, D). The decaying terms of the layer above (B, D, times exp(-m h) of that layer)
// couple it to the previous interface's unknowns, and the growing terms of the layer below (A, C,
// times exp(-m h) of that layer) to the next interface's. Every coupling carries a decaying
// exponential, so at large m h the blocks decouple instead of overflowing.
// One interface's equations, row by row: the coefficients of its own four unknowns, then the
// right-hand sides (minus the coupling to the next interface's A and C, and the load).
template <class T>
struct InterfaceRows {
    T row[4][7];
    T previous[4][2];  // coefficients of B, D of the layer above
};

// Fills one equation row from a bracket of the layer above (times upperFactor, 0 or 1) and one of
// the layer below (times lowerFactor: 0, 1, the modulus ratio or the bond times it).
template <class T>
[[gnu::always_inline]] inline void setRow(T (&row)[7], T (&previous)[2], const T (&up)[4],
                                          bool upperIsLayerOne, double upperFactor,
                                          const T (&lo)[4], double lowerFactor) {
    row[0] = upperFactor * up[upperIsLayerOne ? 1 : 0];
    row[1] = upperFactor * up[upperIsLayerOne ? 3 : 2];
    row[2] = -(lowerFactor * lo[1]);
    row[3] = -(lowerFactor * lo[3]);
    row[4] = lowerFactor * lo[0];
    row[5] = lowerFactor * lo[2];
    row[6] = T{} + 0.0;
    previous[0] = upperFactor * up[1];
    previous[1] = upperFactor * up[3];
}

// The four equations of interface k (0-based) between layer index k and k + 1: continuity of the
// vertical stress, then (bonded) shear, vertical and (bond factor) radial displacement or
// (frictionless) vertical displacement and zero shear on either face.
// imageDecay = exp(-2 m z1), the decay of layer 1's image terms down to interface 1.
template <class T>
[[gnu::always_inline]] inline void assembleInterface(int k, T m, const NormalisedLayers& layers,
                                                     CoefficientSolution solution,
                                                     const std::array<T, 4>& decay, T imageDecay,
                                                     InterfaceRows<T>& rows) {
    const double z = layers.interface[k];
    const T lambda = m * z;
    const int upper = k, lower = k + 1;
    const bool layerOne = upper == 0;
    const T one = T{} + 1.0, zero = T{} + 0.0;
    const BasicBrackets<T> up =
        layerOne ? layerOneBrackets(layers.poisson[0], lambda, one, imageDecay)
                 : layerBrackets(layers.poisson[upper], lambda, one, decay[upper]);
    const T eaLower = lower == layers.halfSpace ? zero : decay[lower];
    const BasicBrackets<T> lo = layerBrackets(layers.poisson[lower], lambda, eaLower, one);

    const bool slip = solution == CoefficientSolution::Slip && k < 2;
    const double ratio = layers.ratio[k];
    const double bond = solution == CoefficientSolution::General && k < 3 ? layers.bond[k] : 1.0;
    auto& r = rows.row;
    auto& p = rows.previous;
    setRow(r[0], p[0], up.sz, layerOne, 1.0, lo.sz, 1.0);
    if (slip) {
        setRow(r[1], p[1], up.wb, layerOne, 1.0, lo.wb, ratio);
        setRow(r[2], p[2], up.tb, layerOne, 1.0, lo.tb, 0.0);
        setRow(r[3], p[3], up.tb, layerOne, 0.0, lo.tb, 1.0);
    } else {
        setRow(r[1], p[1], up.tb, layerOne, 1.0, lo.tb, 1.0);
        setRow(r[2], p[2], up.wb, layerOne, 1.0, lo.wb, ratio);
        setRow(r[3], p[3], up.g, layerOne, 1.0, lo.g, bond * ratio);
    }
    if (layerOne) {
        // The half-space field of layer 1 (B = 2 nu1, D = 1 in the layer form) is the known part
        // of layer 1's field at interface 1.
        const double nu = layers.poisson[0];
        const T e = exponential(-lambda);
        const T sz = (1.0 + lambda) * e;
        const T tb = -lambda * e;
        const T wb = -(2.0 - 2.0 * nu + lambda) * e;
        const T g = (2.0 * nu - 1.0 + lambda) * e;
        r[0][6] = -sz;
        r[1][6] = slip ? -wb : -tb;
        r[2][6] = slip ? -tb : -wb;
        r[3][6] = slip ? zero : -g;
    }
}

// Gaussian elimination of the four rows with partial pivoting, then back substitution for the
// right-hand sides from `FirstColumn` on (the last interface has no next one to couple to). Rows
// are exchanged only in the columns still to be read.
template <int FirstColumn, class T>
[[gnu::always_inline]] inline void solveRows(T (&a)[4][7], T (&x)[4][3]) {
    T inverseDiagonal[4];
    for (int col = 0; col < 4; ++col) {
        for (int r = col + 1; r < 4; ++r) {
            const auto exchange = magnitude(a[r][col]) > magnitude(a[col][col]);
            for (int c = col; c < 4; ++c)
                exchangeWhere(exchange, a[r][c], a[col][c]);
            for (int c = 4 + FirstColumn; c < 7; ++c)
                exchangeWhere(exchange, a[r][c], a[col][c]);
        }
        inverseDiagonal[col] = 1.0 / a[col][col];
        for (int r = col + 1; r < 4; ++r) {
            const T factor = a[r][col] * inverseDiagonal[col];
            for (int c = col + 1; c < 4; ++c)
                a[r][c] -= factor * a[col][c];
            for (int c = 4 + FirstColumn; c < 7; ++c)
                a[r][c] -= factor * a[col][c];
        }
    }
    for (int r = 3; r >= 0; --r) {
        for (int c = FirstColumn; c < 3; ++c) {
            T sum = a[r][4 + c];
            for (int k = r + 1; k < 4; ++k)
                sum -= a[r][k] * x[k][c];
            x[r][c] = sum * inverseDiagonal[r];
        }
    }
}

// The constants of every layer solved for, and the deflection brackets either side of interface 1.
template <class T>
struct Solved {
    T A[5], B[5], C[5], D[5];
    T kernelAbove, kernelBelow;
};

// Block elimination from interface 1 down to the top of the semi-infinite layer: each interface's
// block, less the coupling to the solution of the interfaces above, is solved for the coupling to
// the next interface and for the load; back substitution from the deepest one up then gives every
// layer's constants. Partial pivoting within each 4 × 4 block.
template <class T>
[[gnu::always_inline]] inline void solveCoefficientsOf(T m, const NormalisedLayers& layers,
                                                       CoefficientSolution solution,
                                                       bool withKernel, Solved<T>& out) {
    // exp(-m h) across the finite layers below layer 1: the decay of each layer's terms from one
    // face to the other.
    const int interfaces = layers.halfSpace;
    const T zero = T{} + 0.0;
    std::array<T, 4> decay{};
    for (int layer = 1; layer < interfaces; ++layer)
        decay[layer] = exponential(-m * (layers.interface[layer] - layers.top[layer]));

    const double z1 = layers.interface[0];
    const T mz1 = m * z1;
    const T imageDecay = exponential(-2.0 * mz1);
    // Per interface: its unknowns as the load part (column 2) plus columns 0 and 1 times the next
    // interface's first two unknowns (A, C of the layer below).
    T reduced[4][4][3];
    for (int k = 0; k < interfaces; ++k) {
        InterfaceRows<T> rows;
        assembleInterface(k, m, layers, solution, decay, imageDecay, rows);
        if (k > 0) {
            // The layer above's B, D from the previous interface, in terms of this one's unknowns.
            const T(&carried)[4][3] = reduced[k - 1];
            for (int r = 0; r < 4; ++r) {
                const T p0 = rows.previous[r][0], p1 = rows.previous[r][1];
                rows.row[r][0] += p0 * carried[2][0] + p1 * carried[3][0];
                rows.row[r][1] += p0 * carried[2][1] + p1 * carried[3][1];
                rows.row[r][6] -= p0 * carried[2][2] + p1 * carried[3][2];
            }
        }
        if (k < interfaces - 1) {
            solveRows<0>(rows.row, reduced[k]);
        } else {
            solveRows<2>(rows.row, reduced[k]);
            for (int r = 0; r < 4; ++r)
                reduced[k][r][0] = reduced[k][r][1] = zero;
        }
    }
    // Back substitution from the deepest interface up.
    T x[4][4];
    for (int k = interfaces - 1; k >= 0; --k) {
        const T nextA = k < interfaces - 1 ? x[k + 1][0] : zero;
        const T nextC = k < interfaces - 1 ? x[k + 1][1] : zero;
        for (int r = 0; r < 4; ++r)
            x[k][r] = reduced[k][r][2] + reduced[k][r][0] * nextA + reduced[k][r][1] * nextC;
    }

    for (int layer = 0; layer < 5; ++layer)
        out.A[layer] = out.B[layer] = out.C[layer] = out.D[layer] = zero;
    out.B[0] = x[0][0];
    out.D[0] = x[0][1];
    for (int k = 0; k < interfaces; ++k) {
        out.B[k + 1] = x[k][2];
        out.D[k + 1] = x[k][3];
        if (k > 0) {
            out.A[k] = x[k][0];
            out.C[k] = x[k][1];
        }
    }
    if (!withKernel)
        return;
    // K(m): the deflection brackets at the bottom of layer 1 (correction) and top of layer 2.
    const double nu1 = layers.poisson[0], nu2 = layers.poisson[1];
    const BasicBrackets<T> top = layerOneBrackets(nu1, mz1, T{} + 1.0, imageDecay);
    out.kernelAbove =
        zero * top.wb[0] + out.B[0] * top.wb[1] + zero * top.wb[2] + out.D[0] * top.wb[3];
    const BasicBrackets<T> below = layerBrackets(nu2, mz1, decay[1], T{} + 1.0);
    out.kernelBelow = out.A[1] * below.wb[0] + out.B[1] * below.wb[1] + out.C[1] * below.wb[2] +
                      out.D[1] * below.wb[3];
}

// Lane l of the solution into `out`.
template <class T>
void copyLane(const Solved<T>& s, int lane, bool withKernel, LayerCoefficients& out) {
    const auto at = [lane](const T& v) {
        if constexpr (std::is_same_v<T, double>)
            return v;
        else
            return v[lane];
    };
    for (int layer = 0; layer < 5; ++layer) {
        out.A[layer] = at(s.A[layer]);
        out.B[layer] = at(s.B[layer]);
        out.C[layer] = at(s.C[layer]);
        out.D[layer] = at(s.D[layer]);
    }
    if (withKernel) {
        const double k1 = at(s.kernelAbove), k2 = at(s.kernelBelow);
        out.kernel = std::abs(k2) > std::abs(k1) ? k2 : k1;
    }
}

// The constants at count (1 to kLanes) values of m at once; kernelLast: K(m) of the last one.
template <class T>
[[gnu::always_inline]] inline void solveBatchOf(const double* m, int count,
                                                const NormalisedLayers& layers,
                                                CoefficientSolution solution, bool kernelLast,
                                                LayerCoefficients* out) {
    T lanes;
    if constexpr (std::is_same_v<T, double>) {
        lanes = m[0];
    } else {
        for (int l = 0; l < kLanes; ++l)
            lanes[l] = m[std::min(l, count - 1)];  // spare lanes repeat the last m
    }
    Solved<T> s;
    solveCoefficientsOf(lanes, layers, solution, kernelLast, s);
    for (int l = 0; l < count; ++l)
        copyLane(s, l, kernelLast && l == count - 1, out[l]);
}

ARDELON_TARGET_AVX2 [[gnu::flatten]] void solveBatchAvx2(const double* m, int count,
                                                         const NormalisedLayers& layers,
                                                         CoefficientSolution solution,
                                                         bool kernelLast, LayerCoefficients* out) {
    solveBatchOf<Lanes>(m, count, layers, solution, kernelLast, out);
}

[[gnu::flatten]] void solveBatchBaseline(const double* m, int count, const NormalisedLayers& layers,
                                         CoefficientSolution solution, bool kernelLast,
                                         LayerCoefficients* out) {
    solveBatchOf<Lanes>(m, count, layers, solution, kernelLast, out);
}

}  // namespace

void solveCoefficients(double m, const NormalisedLayers& layers, CoefficientSolution solution,
                       LayerCoefficients& out, bool withKernel) {
    solveBatchOf<double>(&m, 1, layers, solution, withKernel, &out);
}

void solveCoefficientsBatch(const double* m, int count, const NormalisedLayers& layers,
                            CoefficientSolution solution, bool kernelLast, LayerCoefficients* out) {
    for (int begin = 0; begin < count; begin += kLanes) {
        const int lanes = std::min(kLanes, count - begin);
        const bool kernel = kernelLast && begin + lanes == count;
        if (processorHasAvx2())
            solveBatchAvx2(m + begin, lanes, layers, solution, kernel, out + begin);
        else
            solveBatchBaseline(m + begin, lanes, layers, solution, kernel, out + begin);
    }
}

}  // namespace ardelon::layered
