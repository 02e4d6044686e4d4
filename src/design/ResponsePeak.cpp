#include "design/ResponsePeak.h"

#include "structure/AcModuliFollowThickness.h"

#include <cmath>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisResults.h"
#include "reliability/CycleEvaluation.h"
#include "reliability/CycleGeometry.h"
#include "reliability/MonteCarloSampler.h"

namespace ardelon {
namespace {

constexpr double kRiseTolerance = 1e-9;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// +1 when a criterion judges the largest value, -1 when the most negative.
double judgedDirection(const CriterionSlot& c) {
    if (c.responseType == HorizontalStrainDistribution)
        return c.distribution[0] >= 0 ? 1.0 : -1.0;
    return (c.responseType == VerticalDeflection || c.threshold >= 0) ? 1.0 : -1.0;
}

// The mean-input cycle of one season and configuration with the given thicknesses.
CycleSample meanSample(const CStenorDoc& w, int season, int configuration,
                       const std::array<double, kThicknessCount>& thickness) {
    CycleSample s;
    s.season = season;
    const int layers = w.layerCountIndex + 2;
    for (int i = 0; i < kLayerCount; ++i) {
        const int from = std::min(i, layers - 1);
        s.modulus[at(i)] = std::max(w.seasonalModulus[at(from)][at(season)], 1000.0);
    }
    for (int i = 0; i < kThicknessCount; ++i) {
        s.thickness[at(i)] = std::max(
            MonteCarloSampler::sampleThickness(
                thickness[at(i)], 0.0, w.thicknessDistribution[at(i)], 0.0, w.valuesInEnglish),
            1.0);
    }
    s.configuration = configuration;
    s.loadPerTire = kPeakScanLoadPerTire;
    return s;
}

}  // namespace

ResponsePeaks locateResponsePeaks(const CStenorDoc& work, const std::vector<VaryRange>& vary,
                                  const ResponseModelFactory& models,
                                  const std::atomic<bool>* cancel) {
    ResponsePeaks peaks;
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    std::unique_ptr<ResponseModel> model = models();
    ResponseTable table{};
    AnalysisResults scratch;
    scratch.cycles = 1;
    const std::size_t varied = vary.size();
    std::vector<int> from(varied, 0);
    for (std::size_t d = 0; d < varied; ++d) {
        const int size = rangeSize(vary[d]);
        // The other varied layers at all their minimums, then all their maximums.
        for (int extreme = 0; extreme < (varied > 1 ? 2 : 1); ++extreme) {
            std::array<double, kThicknessCount> thickness = work.thickness;
            for (std::size_t o = 0; o < varied; ++o) {
                if (o != d) {
                    thickness[at(vary[o].layer - 1)] =
                        extreme == 0 ? vary[o].minThickness
                                     : rangeThickness(vary[o], rangeSize(vary[o]) - 1);
                }
            }
            for (int season = 0; season < kSeasonCount; ++season) {
                if (work.seasonWeeks[at(season)] <= 0)
                    continue;
                for (int config = 0; config < kConfigurationCount; ++config) {
                    if (work.axleTypeFraction[at(config)] <= 0)
                        continue;
                    std::vector<double> previous;
                    for (int k = 0; k < size; ++k) {
                        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                            peaks.cancelled = true;
                            return peaks;
                        }
                        thickness[at(vary[d].layer - 1)] = rangeThickness(vary[d], k);
                        // The asphalt moduli follow the thicknesses as they do in the analysis.
                        CStenorDoc scan = work;
                        scan.thickness = thickness;
                        followAcModuliFromLayer(scan, firstVariedLayer(vary));
                        const CycleGeometry g =
                            cycleGeometry(meanSample(scan, season, config, thickness), scan, slots);
                        model->computeResponses(
                            g.system,
                            std::span<const CircularLoad>(g.loads.data(), at(g.loadCount)),
                            std::span<const EvaluationPoint>(g.points.data(), at(g.pointCount)),
                            table);
                        if (std::string why = model->lastFailure(); !why.empty()) {
                            peaks.failure = why;
                            return peaks;
                        }
                        evaluateCycle(work.criteria, slots, table, 1, scratch);
                        std::vector<double> judged(at(slots.count));
                        for (int s = 0; s < slots.count; ++s) {
                            judged[at(s)] = judgedDirection(work.criteria[at(slots.slot[at(s)])]) *
                                            scratch.cycleValues[at(s)];
                        }
                        for (std::size_t s = 0; s < previous.size(); ++s) {
                            const double rise = judged[s] - previous[s];
                            if (rise > kRiseTolerance * std::fabs(previous[s]) && k > from[d])
                                from[d] = k;
                        }
                        previous = std::move(judged);
                    }
                }
            }
        }
    }
    peaks.monotoneFrom = std::move(from);
    return peaks;
}

}  // namespace ardelon
