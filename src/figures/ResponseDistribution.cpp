// Response distributions against their limits, from the critical value every cycle recorded.

#include <algorithm>
#include <cmath>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/CycleGeometry.h"

namespace ardelon {
namespace {

constexpr std::array<const char*, 3> kLocations{"Top", "Middle", "Bottom"};
constexpr std::array<double, kDistributionLevels> kLevelPercentiles{95.0, 85.0, 75.0, 65.0, 55.0};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Larger values exceed positive limits and deflection limits; smaller values negative limits.
bool largerValuesExceed(const CriterionSlot& c) {
    if (c.responseType == VerticalDeflection)
        return true;
    if (c.responseType == HorizontalStrainDistribution)
        return c.distribution[0] >= 0;
    return c.threshold >= 0;
}

}  // namespace

FigureRowName figureRowName(const CStenorDoc& work, int slot) {
    const CriterionSlot& c = work.criteria[at(slot)];
    FigureRowName name;
    name.slot = slot;
    std::string criterion = "Tensile Strain";
    name.units = "microstrain";
    if (c.responseType != HorizontalStrainDistribution) {
        const ResponseName r = reportResponseName(c.responseType, work.unitSystem);
        criterion = std::string(r.name);
        name.units = std::string(r.units);
    }
    name.layer = slotLayer(slot);
    name.location = kLocations[at(slotPosition(slot))];
    name.criterion = criterion;
    name.title = "Layer " + std::to_string(name.layer) + " " + name.location + ", " + criterion;
    return name;
}

double percentAtOrBelow(const std::vector<double>& sorted, double x, bool largerExceeds, int cycles,
                        bool distributionLevel) {
    // The same strict comparison as the evaluation of a cycle: a value equal to the limit does
    // not exceed it.
    const auto exceeding = static_cast<int>(
        largerExceeds ? sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), x)
                      : std::lower_bound(sorted.begin(), sorted.end(), x) - sorted.begin());
    return distributionLevel ? (cycles - exceeding) * 100.0 / cycles
                             : 100.0 - exceeding * 100.0 / cycles;
}

std::vector<ResponseDistribution> responseDistributions(const CStenorDoc& work,
                                                        const AnalysisResults& results) {
    std::vector<ResponseDistribution> figures;
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    const int n = results.cycles;
    if (results.cycleRecords.empty() || n <= 0)
        return figures;
    for (int k = 0; k < slots.count; ++k) {
        const int slot = slots.slot[at(k)];
        const CriterionSlot& c = work.criteria[at(slot)];
        const bool level = c.responseType == HorizontalStrainDistribution;
        ResponseDistribution f;
        f.name = figureRowName(work, slot);
        f.largerExceeds = largerValuesExceed(c);

        std::vector<double> values;
        values.reserve(results.cycleRecords.size());
        for (const CycleRecord& r : results.cycleRecords)
            values.push_back(r.criticalValue[at(k)]);
        std::sort(values.begin(), values.end());
        const auto percentAt = [&](double x) {
            return percentAtOrBelow(values, x, f.largerExceeds, n, level);
        };

        if (level) {
            for (int j = 0; j < kDistributionLevels; ++j) {
                const double limit = c.distribution[at(j)];
                const double actual = percentAt(limit);
                f.limits.push_back(
                    {limit, kLevelPercentiles[at(j)], actual, actual > kLevelPercentiles[at(j)]});
            }
        } else {
            const double actual = percentAt(c.threshold);
            const double target = c.useTransferFunction != 0 ? NAN : c.targetPercentile;
            f.limits.push_back({c.threshold, target, actual, actual > target});
        }

        // Steps of the empirical distribution at evenly spaced ranks of the distinct values.
        std::vector<double> distinct = values;
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        std::vector<double> xs;
        const auto count = static_cast<int>(distinct.size());
        const int kept = std::min(count, kMaxDistributionPoints);
        for (int i = 0; i < kept; ++i) {
            const int rank = kept == 1 ? 0
                                       : static_cast<int>(std::lround(static_cast<double>(i) *
                                                                      (count - 1) / (kept - 1)));
            xs.push_back(distinct[at(rank)]);
        }
        for (const LimitMark& m : f.limits)
            xs.push_back(m.value);
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        // Counted in the units the criterion is held in, shown in the project's.
        const auto shown = [&](double v) {
            return reportResponseValue(c.responseType, work.unitSystem, v);
        };
        for (double x : xs)
            f.curve.push_back({shown(x), percentAt(x)});
        for (LimitMark& m : f.limits)
            m.value = shown(m.value);
        figures.push_back(std::move(f));
    }
    return figures;
}

}  // namespace ardelon
