#pragma once
// Stresses, strains and displacements in a five-layer linear-elastic pavement (four layers on a
// semi-infinite subgrade) under uniform circular vertical surface loads.
//
// Method: the classical Burmister solution. Each response is a Hankel-transform integral over the
// parameter m of Bessel functions of m·r times the transformed load q·a·J1(m·a) and four
// integration constants per layer, which the interface conditions fix at each m (16 linear
// equations). Lengths are normalised by the thickness of layer 1. The integral over m is taken by
// Weddle's rule (general solution with the three bond factors) or, when interface 1 or 2 is in
// full slip, by Simpson's rule (frictionless interfaces 1 and 2); the step grows once the layered
// correction has died out and the march stops on a small kernel value (Weddle) or after five
// tightenings of the tolerance (Simpson). Layer-1 points integrate only their difference from the
// Boussinesq half-space of layer 1, whose responses are added in closed form (surface points:
// hypergeometric series; below the surface: on-axis closed form or a 500-interval Simpson
// quadrature). Loads are superposed by summing integrands.
//
// Each call is independent of the previous one. The object owns its workspace, so one solver
// object per thread may run calls concurrently; a single object must not be entered twice at once.

#include <array>

#include "solver/LayerSystem.h"
#include "solver/LayeredElasticCore.h"

namespace ardelon {

class LayeredElasticSolver {
  public:
    // Preconditions (the callers validate them): h1 > 0, moduli > 0, Poisson's ratios other than
    // 1, radii > 0, 1 <= loadCount <= 30, 1 <= pointCount <= 50, layer numbers 1 to 5, and each
    // point's depth within its layer.
    ResponseTable computeResponses(const LayerSystem& system, const CircularLoad* loads,
                                   int loadCount, const EvaluationPoint* points, int pointCount);
    // The same, writing into `table`; columns beyond pointCount are left as they were.
    void computeResponses(const LayerSystem& system, const CircularLoad* loads, int loadCount,
                          const EvaluationPoint* points, int pointCount, ResponseTable& table);

  private:
    enum class PointKind : unsigned char { Surface, LayerOne, Deep };
    static constexpr int kPairs = kMaxLoads * kMaxPoints;
    // Integrals and integrands of a point, in the order w, u_x, u_y, sx, sy, sz, tyz, txz, txy.
    static constexpr int kIntegrals = 9;

    void prepare(const LayerSystem& system, const CircularLoad* loads,
                 const EvaluationPoint* points);
    double initialStep(double& tolerance);
    void addEndPointTerm(double h0);
    void evaluateIntegrands(double m, const layered::LayerCoefficients& c);
    void closeLayerOnePoints();
    void writeTable(ResponseTable& table, double h0) const;

    int loadCount_ = 0;
    int pointCount_ = 0;
    double h1_ = 1.0;
    layered::NormalisedLayers layers_;
    layered::CoefficientSolution solution_ = layered::CoefficientSolution::General;
    bool weddle_ = true;

    // Loads, normalised.
    std::array<double, kMaxLoads> pressure_{}, radius_{}, qa_{}, transformedLoad_{};
    // Points, normalised.
    std::array<double, kMaxPoints> depth_{};
    std::array<int, kMaxPoints> layer_{};  // 0..4
    std::array<PointKind, kMaxPoints> kind_{};
    // Point-load pairs, index point * loadCount + load.
    std::array<double, kPairs> distance_{}, cosTheta_{}, sinTheta_{}, cos2Theta_{}, sin2Theta_{};

    std::array<std::array<double, kMaxPoints>, kIntegrals> integral_{}, integrand_{};
};

}  // namespace ardelon
