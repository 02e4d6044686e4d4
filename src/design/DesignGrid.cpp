#include "design/DesignGrid.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "output/LaneCost.h"
#include "project/LayerThickness.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"

namespace ardelon {
namespace {

// A range's last step may fall short of the maximum by this fraction of a step and still count.
constexpr double kStepTolerance = 1e-9;

std::string number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

double defaultThicknessStep(const CStenorDoc& project) {
    return heldInEnglish(project) ? 0.5 : 1.0;
}

std::string checkDesignGrid(const CStenorDoc& project, const std::vector<VaryRange>& vary) {
    const bool english = heldInEnglish(project);
    const std::string unit = english ? " in." : " cm";
    const std::string unitEnd = english ? "" : ".";  // "in." already ends the sentence
    const double low = english ? kMinLayerThicknessInches : kMinLayerThicknessCm;
    const double high = english ? kMaxLayerThicknessInches : kMaxLayerThicknessCm;
    const int layers = project.layerCountIndex + 2;
    if (vary.empty())
        return "Choose at least one layer to vary.";
    if (static_cast<int>(vary.size()) > kMaxVariedLayers)
        return "At most " + std::to_string(kMaxVariedLayers) + " layers can vary at once.";
    std::int64_t candidates = 1;
    for (std::size_t i = 0; i < vary.size(); ++i) {
        const VaryRange& r = vary[i];
        const std::string name = "Layer " + std::to_string(r.layer);
        if (r.layer < 1 || r.layer > layers - 1) {
            return name + " cannot vary: the project has " + std::to_string(layers) +
                   (layers == 2 ? " layers and only layer 1 has a thickness."
                                : " layers and only layers 1 to " + std::to_string(layers - 1) +
                                      " have a thickness.");
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (vary[j].layer == r.layer)
                return name + " is varied more than once.";
        }
        if (!std::isfinite(r.minThickness) || !std::isfinite(r.maxThickness) ||
            !std::isfinite(r.step))
            return name + ": the thicknesses and the step must be numbers.";
        if (r.minThickness > r.maxThickness) {
            return name + ": the minimum " + number(r.minThickness) + unit +
                   " is larger than the maximum " + number(r.maxThickness) + unit + unitEnd;
        }
        if (r.step <= 0)
            return name + ": the step " + number(r.step) + unit + " must be larger than 0.";
        if (r.minThickness < low || r.maxThickness > high) {
            return name + ": the range " + number(r.minThickness) + " to " +
                   number(r.maxThickness) + unit + " lies outside " + number(low) + " to " +
                   number(high) + unit + unitEnd;
        }
        const double steps =
            std::floor((r.maxThickness - r.minThickness) / r.step + kStepTolerance);
        if (steps + 1 > static_cast<double>(kMaxGridCandidates) ||
            static_cast<double>(candidates) * (steps + 1) >
                static_cast<double>(kMaxGridCandidates)) {
            return "The grid has more than " + std::to_string(kMaxGridCandidates) +
                   " candidates; use fewer layers, shorter ranges or larger steps.";
        }
        candidates *= static_cast<std::int64_t>(steps) + 1;
    }
    return {};
}

int rangeSize(const VaryRange& range) {
    return static_cast<int>(std::floor((range.maxThickness - range.minThickness) / range.step +
                                       kStepTolerance)) +
           1;
}

double rangeThickness(const VaryRange& range, int k) {
    return std::round((range.minThickness + k * range.step) * 10000.0) / 10000.0;
}

double candidateCost(const CStenorDoc& project, const std::vector<VaryRange>& vary,
                     const std::array<double, kThicknessCount>& thickness) {
    const bool priced = std::any_of(vary.begin(), vary.end(), [&](const VaryRange& r) {
        return project.costPerTon[at(r.layer - 1)] != 0.0;
    });
    if (!priced) {
        double sum = 0.0;
        for (const VaryRange& r : vary)
            sum += thickness[at(r.layer - 1)];
        return std::round(sum * 10000.0) / 10000.0;
    }
    // As the Cost Analysis dialog totals it: the layers with a thickness, then rounded to cents.
    return laneCost(thickness, project.layerCountIndex + 1, project.laneWidth, project.density,
                    project.costPerTon, heldInEnglish(project))
        .total;
}

bool preferredCandidate(const DesignCandidate& a, const DesignCandidate& b) {
    if (a.cost != b.cost)
        return a.cost < b.cost;
    if (a.totalVariedTenThousandths != b.totalVariedTenThousandths)
        return a.totalVariedTenThousandths < b.totalVariedTenThousandths;
    for (int i = 0; i < kThicknessCount; ++i) {
        if (a.thickness[at(i)] != b.thickness[at(i)])
            return a.thickness[at(i)] < b.thickness[at(i)];
    }
    return false;
}

std::vector<DesignCandidate> gridCandidates(const CStenorDoc& project,
                                            const std::vector<VaryRange>& vary) {
    std::vector<DesignCandidate> all;
    GridIndex size{1, 1, 1};
    for (std::size_t i = 0; i < vary.size(); ++i)
        size[i] = rangeSize(vary[i]);
    for (int a = 0; a < size[0]; ++a) {
        for (int b = 0; b < size[1]; ++b) {
            for (int c = 0; c < size[2]; ++c) {
                DesignCandidate d;
                d.index = {a, b, c};
                d.thickness = project.thickness;
                double total = 0.0;
                for (std::size_t i = 0; i < vary.size(); ++i) {
                    const double t = rangeThickness(vary[i], d.index[i]);
                    d.thickness[at(vary[i].layer - 1)] = t;
                    total += t;
                }
                d.totalVariedTenThousandths = std::llround(total * 10000.0);
                d.cost = candidateCost(project, vary, d.thickness);
                all.push_back(d);
            }
        }
    }
    return all;
}

int firstVariedLayer(const std::vector<VaryRange>& vary) {
    int first = kThicknessCount + 1;
    for (const VaryRange& r : vary)
        first = std::min(first, r.layer);
    return first;
}

}  // namespace ardelon
