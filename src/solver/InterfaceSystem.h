#pragma once
// The interface system of the Burmister solution: the layer properties in normalised lengths and
// the integration constants of every layer at one value of the transform parameter m, from the
// four equations of each interface.

#include <array>

#include "solver/MethodConstants.h"

namespace ardelon::layered {

// Layer properties in normalised lengths, derived once per call.
struct NormalisedLayers {
    std::array<double, 5> modulus{};
    std::array<double, 5> poisson{};
    std::array<double, 5> top{};         // depth of the top of layer 1..5: 0, z1, z2, z3, z4
    std::array<double, 4> interface {};  // z1..z4
    std::array<double, 4> ratio{};       // R_k = (1 + nu_{k+1}) E_k / ((1 + nu_k) E_{k+1})
    std::array<double, 3> bond{};
    // The layer solved as the semi-infinite one (index 1..4): the layers below it are the same
    // material, bonded to it, so they only continue its field.
    int halfSpace = 4;
};

NormalisedLayers normaliseLayers(const std::array<double, 5>& modulus,
                                 const std::array<double, 4>& thickness,
                                 const std::array<double, 5>& poisson,
                                 const std::array<double, 3>& bond);

// Which interface conditions the coefficients satisfy.
enum class CoefficientSolution {
    // Interfaces 1 to 3 follow their bond factors k: stresses and vertical displacement
    // continuous, radial displacement of the upper face k times that of the lower face.
    General,
    // Interfaces 1 and 2 frictionless, interface 3 bonded (bond factors not read).
    Slip,
};

// Whether interface k (0-based) joins two layers of one material with full bond: no interface at
// all, since the field passes it unchanged.
bool interfaceIsSeamless(const NormalisedLayers& layers, CoefficientSolution solution, int k);

// Sets `halfSpace` to the deepest layer below which every interface is seamless (at least layer
// 2): a structure of fewer than five layers repeats its subgrade below it.
void findHalfSpace(NormalisedLayers& layers, CoefficientSolution solution);

// The integration constants of every layer at one m. Index 0..4 is layer 1..5. Layer 1 carries
// only the correction to the half-space of layer 1 (B, D); the semi-infinite layer has no growing
// terms (A, C), and those below it are zero: a point there is read as one in it.
struct LayerCoefficients {
    std::array<double, 5> A{}, B{}, C{}, D{};
    double kernel = 0.0;  // K(m): the larger of the deflection brackets either side of interface 1
};

// Solves the interface equations at m (> 0), four per interface above the semi-infinite layer, by
// block elimination, interface by interface (4 × 4 blocks, partial pivoting within each), and
// evaluates K(m) where `withKernel`. Every matrix entry is a decaying exponential times a
// polynomial in m, so the system stays well scaled at every m.
void solveCoefficients(double m, const NormalisedLayers& layers, CoefficientSolution solution,
                       LayerCoefficients& out, bool withKernel = true);

// The same at `count` values of m (the nodes of a panel), solved side by side: out[i] equals
// solveCoefficients at m[i] bit for bit. K(m) only of the last (the march reads it at panel ends).
void solveCoefficientsBatch(const double* m, int count, const NormalisedLayers& layers,
                            CoefficientSolution solution, bool kernelLast, LayerCoefficients* out);

}  // namespace ardelon::layered
