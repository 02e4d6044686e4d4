#pragma once
// Stand-ins for the layered elastic solver whose responses the tests control.

#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

#include "criteria/ResponseType.h"
#include "project/CStenorDoc.h"
#include "reliability/ResponseModel.h"

namespace ardelon::testing {

// Responses that depend only on the season, read back from the layer-1 modulus of a project whose
// layer-1 moduli are 100000 × (season + 1) with no variability:
//  - every point: DispZ = −0.01 × (season + 1) in. (a deflection of 10 × (season + 1) milli-in);
//  - layer-1 points: EpsX = −(60 + 20 season) microstrain at the second plan position and −10 at
//    the others, EpsY = 0;
//  - layer-2 points: EpsX = EpsY = −10 × season microstrain;
//  - SigmaZ = 25 × season psi everywhere.
class SeasonResponseModel : public ResponseModel {
  public:
    static int seasonOf(const LayerSystem& system) {
        return static_cast<int>(std::lround(system.modulus[0] / 100000.0)) - 1;
    }
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> /*loads*/,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        const int s = seasonOf(system);
        for (int i = 0; i < static_cast<int>(points.size()); ++i) {
            const EvaluationPoint& p = points[static_cast<std::size_t>(i)];
            table.at(DispZ, i) = -0.01 * (s + 1);
            table.at(SigmaZ, i) = 25.0 * s;
            if (p.layer == 1) {
                table.at(EpsX, i) = (i % 5 == 1 ? -(60.0 + 20.0 * s) : -10.0) * 1e-6;
                table.at(EpsY, i) = 0.0;
            } else {
                table.at(EpsX, i) = table.at(EpsY, i) = -10.0 * s * 1e-6;
            }
        }
    }
};

// A two-layer project for the season model: no variability, every axle a single in one bin, with
// a surface deflection criterion of `limit` milli-in (seasons s with 10 (s + 1) <= limit stay
// below) at the 50th percentile, a transfer-function strain at the bottom of layer 1 and a strain
// distribution at the bottom of layer 2.
inline CStenorDoc seasonProject(double deflectionLimit) {
    CStenorDoc doc;
    doc.seasonalModulus[0] = {100000, 200000, 300000, 400000, 500000};
    doc.modulusCov = {0, 0, 0, 0, 0};
    doc.thicknessCov = {0, 0, 0, 0};
    for (int k = 0; k < kBinCount; ++k)
        doc.loadCdf[Single][static_cast<std::size_t>(k)] = k >= 10 ? 1.0 : 0.0;
    auto& c = doc.criteria;
    c[0] = {.active = 1,
            .responseType = VerticalDeflection,
            .threshold = deflectionLimit,
            .targetPercentile = 50};
    c[2] = {.active = 1,
            .responseType = HorizontalStrain,
            .threshold = -100,
            .k1 = 1e-3,
            .k2 = 2,
            .useTransferFunction = 1};
    c[5] = {.active = 1,
            .responseType = HorizontalStrainDistribution,
            .distribution = {-5, -15, -25, -35, -45}};
    doc.costPerTon = {50, 20, 0, 0};
    doc.density = {145, 130, 0, 0};
    return doc;
}

// Smooth responses of every input (moduli, thicknesses, wheel radii and positions, point
// positions), cheap to compute: enough to make any difference in the inputs of a cycle show.
class SmoothResponseModel : public ResponseModel {
  public:
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        for (int i = 0; i < static_cast<int>(points.size()); ++i) {
            const EvaluationPoint& p = points[static_cast<std::size_t>(i)];
            double influence = 0.0;
            for (const CircularLoad& w : loads) {
                const double r2 = (p.x - w.x) * (p.x - w.x) + (p.y - w.y) * (p.y - w.y);
                influence += w.pressure * w.radius * w.radius /
                             (w.radius * w.radius + r2 + p.depth * p.depth);
            }
            const double e = system.modulus[static_cast<std::size_t>(p.layer - 1)];
            for (int row = 0; row < 18; ++row) {
                table.at(row, i) = influence * (row + 1) * (row % 2 == 0 ? 1.0 : -1.0) / 7.0;
            }
            table.at(EpsX, i) = -influence / e * (1.0 + system.thickness[0] / 50.0);
            table.at(EpsY, i) = -0.8 * influence / e;
            table.at(EpsZ, i) = 1.5 * influence / e;
            table.at(DispZ, i) = -influence / e * 40.0;
        }
    }
};

// Wraps a model and records every call's inputs (one recorder shared by all threads).
struct CallLog {
    std::mutex mutex;
    std::vector<LayerSystem> systems;
    std::vector<std::vector<CircularLoad>> loads;
    std::vector<std::vector<EvaluationPoint>> points;
};

template <typename Inner>
class RecordingModel : public ResponseModel {
  public:
    explicit RecordingModel(CallLog& log) : log_(log) {}
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        inner_.computeResponses(system, loads, points, table);
        std::lock_guard lock(log_.mutex);
        log_.systems.push_back(system);
        log_.loads.emplace_back(loads.begin(), loads.end());
        log_.points.emplace_back(points.begin(), points.end());
    }

  private:
    Inner inner_;
    CallLog& log_;
};

template <typename Model>
ResponseModelFactory factoryOf() {
    return [] { return std::make_unique<Model>(); };
}

}  // namespace ardelon::testing
