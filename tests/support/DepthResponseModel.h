#pragma once
// A stand-in for the layered elastic solver whose responses follow a pavement's trends.

#include <algorithm>
#include <cmath>

#include "support/FakeResponseModels.h"

namespace ardelon::testing {

// Responses of a pavement as a smooth function of the point's depth d (in.), the wheel load and
// the layer-1 modulus, cheap enough for whole grids: a bending strain that peaks at 2.5 in. like
// a thin asphalt layer's, a vertical strain falling as 1/d², a deflection falling with the
// pavement's thickness.
class DepthResponseModel : public ResponseModel {
  public:
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        double load = 0.0;
        for (const CircularLoad& w : loads)
            load += M_PI * w.pressure * w.radius * w.radius;
        const double l = load / 9000.0;
        double pavement = 0.0;
        for (double h : system.thickness)
            pavement += h < 500 ? h : 0.0;
        const double stiffness = std::sqrt(500000.0 / system.modulus[0]);
        for (int i = 0; i < static_cast<int>(points.size()); ++i) {
            const double x = points[static_cast<std::size_t>(i)].depth / 2.5;
            const double d = std::max(points[static_cast<std::size_t>(i)].depth, 1.0);
            const double bending = -175.0 * l * stiffness * x / (1.0 + x * x);
            table.at(EpsX, i) = bending * 1e-6;
            table.at(EpsY, i) = 0.8 * bending * 1e-6;
            table.at(EpsZ, i) = 100.0 * l * (20.0 / d) * (20.0 / d) * 1e-6;
            table.at(DispZ, i) = -0.006 * l * 20.0 / (1.0 + pavement);
        }
    }
};

inline ResponseModelFactory depthModel() {
    return factoryOf<DepthResponseModel>();
}

}  // namespace ardelon::testing
