#include "solver/InterfaceSystem.h"

#include <algorithm>
#include <cmath>
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

namespace {

// The interface equations form a block tridiagonal system. Interface k (1 to 4) has four
// equations; its own four unknowns are those whose exponential is 1 at its depth: the growing
// terms of the layer above (A, C; for layer 1 its correction B, D) and the decaying terms of the
// layer below (B, D). The decaying terms of the layer above (B, D, times exp(-m h) of that layer)
// couple it to the previous interface's unknowns, and the growing terms of the layer below (A, C,
// times exp(-m h) of that layer) to the next interface's. Every coupling carries a decaying
// exponential, so at large m h the blocks decouple instead of overflowing.
// One interface's equations, row by row: the coefficients of its own four unknowns, then the
// right-hand sides (minus the coupling to the next interface's A and C, and the load).
struct InterfaceRows {
    double row[4][7];
    double previous[4][2];  // coefficients of B, D of the layer above
};

// Fills one equation row from a bracket of the layer above (times upperFactor, 0 or 1) and one of
// the layer below (times lowerFactor: 0, 1, the modulus ratio or the bond times it).
[[gnu::always_inline]] inline void setRow(double (&row)[7], double (&previous)[2],
                                          const double (&up)[4], bool upperIsLayerOne,
                                          double upperFactor, const double (&lo)[4],
                                          double lowerFactor) {
    row[0] = upperFactor * up[upperIsLayerOne ? 1 : 0];
    row[1] = upperFactor * up[upperIsLayerOne ? 3 : 2];
    row[2] = -(lowerFactor * lo[1]);
    row[3] = -(lowerFactor * lo[3]);
    row[4] = lowerFactor * lo[0];
    row[5] = lowerFactor * lo[2];
    row[6] = 0.0;
    previous[0] = upperFactor * up[1];
    previous[1] = upperFactor * up[3];
}

// The four equations of interface k (0-based) between layer index k and k + 1: continuity of the
// vertical stress, then (bonded) shear, vertical and (bond factor) radial displacement or
// (frictionless) vertical displacement and zero shear on either face.
// imageDecay = exp(-2 m z1), the decay of layer 1's image terms down to interface 1.
void assembleInterface(int k, double m, const NormalisedLayers& layers,
                       CoefficientSolution solution, const std::array<double, 4>& decay,
                       double imageDecay, InterfaceRows& rows) {
    const double z = layers.interface[k];
    const double lambda = m * z;
    const int upper = k, lower = k + 1;
    const bool layerOne = upper == 0;
    const Brackets up = layerOne ? layerOneBrackets(layers.poisson[0], lambda, 1.0, imageDecay)
                                 : layerBrackets(layers.poisson[upper], lambda, 1.0, decay[upper]);
    const double eaLower = lower == layers.halfSpace ? 0.0 : decay[lower];
    const Brackets lo = layerBrackets(layers.poisson[lower], lambda, eaLower, 1.0);

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
        const double e = cutExp(-lambda);
        const double sz = (1.0 + lambda) * e;
        const double tb = -lambda * e;
        const double wb = -(2.0 - 2.0 * nu + lambda) * e;
        const double g = (2.0 * nu - 1.0 + lambda) * e;
        r[0][6] = -sz;
        r[1][6] = slip ? -wb : -tb;
        r[2][6] = slip ? -tb : -wb;
        r[3][6] = slip ? 0.0 : -g;
    }
}

// Gaussian elimination of the four rows with partial pivoting (rows exchanged by pointer), then
// back substitution for the three right-hand sides.
// Right-hand sides from `FirstColumn` on (the last interface has no next one to couple to).
template <int FirstColumn>
[[gnu::always_inline]] inline void solveRows(double (&a)[4][7], double (&x)[4][3]) {
    double* row[4] = {a[0], a[1], a[2], a[3]};
    double inverseDiagonal[4];
    for (int col = 0; col < 4; ++col) {
        for (int r = col + 1; r < 4; ++r) {
            if (std::abs(row[r][col]) > std::abs(row[col][col]))
                std::swap(row[r], row[col]);
        }
        inverseDiagonal[col] = 1.0 / row[col][col];
        for (int r = col + 1; r < 4; ++r) {
            const double factor = row[r][col] * inverseDiagonal[col];
            for (int c = col + 1; c < 4; ++c)
                row[r][c] -= factor * row[col][c];
            for (int c = 4 + FirstColumn; c < 7; ++c)
                row[r][c] -= factor * row[col][c];
        }
    }
    for (int r = 3; r >= 0; --r) {
        for (int c = FirstColumn; c < 3; ++c) {
            double sum = row[r][4 + c];
            for (int k = r + 1; k < 4; ++k)
                sum -= row[r][k] * x[k][c];
            x[r][c] = sum * inverseDiagonal[r];
        }
    }
}

}  // namespace

// Block elimination from interface 1 down to the top of the semi-infinite layer: each interface's
// block, less the coupling to the solution of the interfaces above, is solved for the coupling to
// the next interface and for the load; back substitution from the deepest one up then gives every
// layer's constants. Partial pivoting within each 4 × 4 block.
[[gnu::always_inline]] inline void solveCoefficientsOf(double m, const NormalisedLayers& layers,
                                                       CoefficientSolution solution,
                                                       LayerCoefficients& out, bool withKernel) {
    // exp(-m h) across the finite layers below layer 1: the decay of each layer's terms from one
    // face to the other.
    const int interfaces = layers.halfSpace;
    std::array<double, 4> decay{};
    for (int layer = 1; layer < interfaces; ++layer) {
        decay[layer] = cutExp(-m * (layers.interface[layer] - layers.top[layer]));
    }

    // Per interface: its unknowns as the load part (column 2) plus columns 0 and 1 times the next
    // interface's first two unknowns (A, C of the layer below).
    const double z1 = layers.interface[0];
    const double mz1 = m * z1;
    const double imageDecay = cutExp(-2.0 * mz1);
    double reduced[4][4][3];
    for (int k = 0; k < interfaces; ++k) {
        InterfaceRows rows;
        assembleInterface(k, m, layers, solution, decay, imageDecay, rows);
        if (k > 0) {
            // The layer above's B, D from the previous interface, in terms of this one's unknowns.
            const double(&carried)[4][3] = reduced[k - 1];
            for (int r = 0; r < 4; ++r) {
                const double p0 = rows.previous[r][0], p1 = rows.previous[r][1];
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
                reduced[k][r][0] = reduced[k][r][1] = 0.0;
        }
    }
    // Back substitution from the deepest interface up.
    double x[4][4];
    for (int k = interfaces - 1; k >= 0; --k) {
        const double nextA = k < interfaces - 1 ? x[k + 1][0] : 0.0;
        const double nextC = k < interfaces - 1 ? x[k + 1][1] : 0.0;
        for (int r = 0; r < 4; ++r)
            x[k][r] = reduced[k][r][2] + reduced[k][r][0] * nextA + reduced[k][r][1] * nextC;
    }

    out.A = {};
    out.C = {};
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
    const Brackets top = layerOneBrackets(nu1, mz1, 1.0, imageDecay);
    const double k1 = combine(top, 0.0, out.B[0], 0.0, out.D[0]).wb;
    const Brackets below = layerBrackets(nu2, mz1, decay[1], 1.0);
    const double k2 = combine(below, out.A[1], out.B[1], out.C[1], out.D[1]).wb;
    out.kernel = std::abs(k2) > std::abs(k1) ? k2 : k1;
}

namespace {

ARDELON_TARGET_AVX2 [[gnu::flatten]] void solveCoefficientsAvx2(double m,
                                                                const NormalisedLayers& layers,
                                                                CoefficientSolution solution,
                                                                LayerCoefficients& out,
                                                                bool withKernel) {
    solveCoefficientsOf(m, layers, solution, out, withKernel);
}

[[gnu::flatten]] void solveCoefficientsBaseline(double m, const NormalisedLayers& layers,
                                                CoefficientSolution solution,
                                                LayerCoefficients& out, bool withKernel) {
    solveCoefficientsOf(m, layers, solution, out, withKernel);
}

}  // namespace

void solveCoefficients(double m, const NormalisedLayers& layers, CoefficientSolution solution,
                       LayerCoefficients& out, bool withKernel) {
    if (processorHasAvx2())
        solveCoefficientsAvx2(m, layers, solution, out, withKernel);
    else
        solveCoefficientsBaseline(m, layers, solution, out, withKernel);
}

}  // namespace ardelon::layered
