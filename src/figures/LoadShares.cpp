// What governs each criterion: its exceedances and damage by axle configuration and load bin;
// and the load spectra themselves.

#include <cmath>
#include <cstdio>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/CycleGeometry.h"
#include "traffic/LoadingConditions.h"
#include "traffic/WeightClassLabels.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

bool exceeds(double value, double limit, bool largerExceeds) {
    return largerExceeds ? value > limit : value < limit;
}

// The note under a governing-loads chart: which limit its exceedances are counted over, in the
// units the figure shows: "over the threshold -70 microstrain", "over the 75th-percentile limit
// -74.2 microstrain".
std::string limitNote(double limit, const std::string& units, int level) {
    char value[32];
    std::snprintf(value, sizeof value, "%.6g", limit);
    if (level < 0)
        return std::string("over the threshold ") + value + " " + units;
    return "over the " + std::to_string(95 - 10 * level) + "th-percentile limit " + value + " " +
           units;
}

void toPercent(std::array<std::array<double, kBinCount>, kConfigurationCount>& table,
               double total) {
    for (auto& row : table) {
        for (double& v : row)
            v = v * 100.0 / total;
    }
}

}  // namespace

namespace {

std::string plainNumber(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
}

}  // namespace

std::vector<LoadShares> loadShares(const CStenorDoc& work, const AnalysisResults& results) {
    std::vector<LoadShares> figures;
    const std::vector<ResponseDistribution> distributions = responseDistributions(work, results);
    for (std::size_t k = 0; k < distributions.size(); ++k) {
        const ResponseDistribution& d = distributions[k];
        const CriterionSlot& c = work.criteria[at(d.name.slot)];
        const bool levels = c.responseType == HorizontalStrainDistribution;
        // The record holds critical values in the units the criterion is given in; the figure's
        // limits may be shown in others.
        const std::size_t limitCount = levels ? d.limits.size() : 1;
        for (std::size_t j = 0; j < limitCount; ++j) {
            const double limit = levels ? c.distribution[j] : c.threshold;
            LoadShares f;
            f.name = d.name;
            f.level = levels ? static_cast<int>(j) : -1;
            f.limit = d.limits[j].value;
            if (levels) {
                f.levelName = std::string(kDistributionLevelNames[j]) + " percentile, " +
                              plainNumber(f.limit) + " " + d.name.units;
            }
            f.limitNote = limitNote(f.limit, d.name.units, f.level);
            double damage = 0.0;
            for (const CycleRecord& r : results.cycleRecords) {
                const auto config = at(r.sample.configuration);
                const auto bin = at(r.loadBin);
                if (exceeds(r.criticalValue[k], limit, d.largerExceeds)) {
                    ++f.exceedances;
                    f.exceedancePercent[config][bin] += 1.0;
                }
                f.damagePercent[config][bin] += r.damagePerMillion[k];
                damage += r.damagePerMillion[k];
            }
            if (f.exceedances > 0)
                toPercent(f.exceedancePercent, f.exceedances);
            f.hasDamage = c.useTransferFunction != 0 && !levels && damage > 0.0;
            if (f.hasDamage)
                toPercent(f.damagePercent, damage);
            else
                f.damagePercent = {};
            figures.push_back(std::move(f));
        }
    }
    return figures;
}

LoadSpectraFigure loadSpectraFigure(const CStenorDoc& work) {
    LoadSpectraFigure f;
    f.binLabels = binLabelsFor(work.unitSystem);
    for (int c = 0; c < kConfigurationCount; ++c) {
        f.configurationUsed[at(c)] = work.configurationEnabled[at(c)] != 0;
        f.percent[at(c)] = binPercentOfAxleGroups(work.loadSpectra[at(c)]);
    }
    return f;
}

LoadSpectraFigure loadSpectraFigure(const LoadingWorkingCopy& traffic) {
    LoadSpectraFigure f;
    f.binLabels = binLabelsFor(traffic.unitSystem);
    for (int c = 0; c < kConfigurationCount; ++c) {
        f.configurationUsed[at(c)] = traffic.configurationEnabled[at(c)] != 0;
        // The configuration on show reads its bins as they are being edited.
        f.percent[at(c)] =
            binPercentOfAxleGroups(c == traffic.currentConfiguration ? traffic.shownLoadPercent
                                                                     : traffic.loadSpectra[at(c)]);
    }
    return f;
}

RunFigures runFigures(const CStenorDoc& work, const AnalysisResults& results,
                      const ResponseModelFactory& models) {
    RunFigures f;
    f.distributions = responseDistributions(work, results);
    f.damage = damageOverTime(work, results);
    f.depthProfiles = depthProfiles(work, models);
    f.loadShares = loadShares(work, results);
    f.spectra = loadSpectraFigure(work);
    return f;
}

}  // namespace ardelon
