// What governs each criterion: its exceedances and damage by axle configuration and load bin;
// and the load spectra themselves.

#include <cmath>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/CycleGeometry.h"
#include "traffic/CLoadingConditionsDlg.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

bool exceeds(double value, double limit, bool largerExceeds) {
    return largerExceeds ? value > limit : value < limit;
}

// For a strain distribution, the level its exceedances are counted against: the one with the
// smallest margin over its target percentile.
std::size_t governingLevel(const ResponseDistribution& f) {
    std::size_t governing = 0;
    for (std::size_t m = 0; m < f.limits.size(); ++m) {
        const LimitMark& mark = f.limits[m];
        const LimitMark& best = f.limits[governing];
        if (mark.actualPercentile - mark.targetPercentile <
            best.actualPercentile - best.targetPercentile)
            governing = m;
    }
    return governing;
}

std::string limitNote(double limit, const std::string& units, double targetPercentile,
                      bool levels) {
    std::string value = std::to_string(limit);
    value.erase(value.find_last_not_of('0') + 1);
    if (!value.empty() && value.back() == '.')
        value.pop_back();
    if (!levels)
        return "over the threshold " + value + " " + units;
    return "over the " + std::to_string(std::lround(targetPercentile)) + "th-percentile limit " +
           value + " " + units + " (of five, the least margin)";
}

void toPercent(std::array<std::array<double, kBinCount>, kConfigurationCount>& table,
               double total) {
    for (auto& row : table) {
        for (double& v : row)
            v = v * 100.0 / total;
    }
}

}  // namespace

std::vector<LoadShares> loadShares(const CStenorDoc& work, const AnalysisResults& results) {
    std::vector<LoadShares> figures;
    const std::vector<ResponseDistribution> distributions = responseDistributions(work, results);
    for (std::size_t k = 0; k < distributions.size(); ++k) {
        const ResponseDistribution& d = distributions[k];
        const CriterionSlot& c = work.criteria[at(d.name.slot)];
        const bool levels = c.responseType == HorizontalStrainDistribution;
        const LimitMark& mark = d.limits[levels ? governingLevel(d) : 0];
        const double limit = levels ? mark.value : c.threshold;
        LoadShares f;
        f.name = d.name;
        const ShownUnit shown = shownUnit(c.responseType, work.unitSystem);
        f.limitNote = limitNote(limit * shown.factor,
                                shown.label.empty() ? d.name.units : std::string(shown.label),
                                mark.targetPercentile, levels);
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
    return figures;
}

LoadSpectraFigure loadSpectraFigure(const CStenorDoc& work) {
    LoadSpectraFigure f;
    f.binLabels = CLoadingConditionsDlg::binLabelsFor(work.unitSystem);
    for (int c = 0; c < kConfigurationCount; ++c) {
        f.configurationUsed[at(c)] = work.configurationEnabled[at(c)] != 0;
        f.percent[at(c)] = work.loadSpectra[at(c)];
    }
    return f;
}

LoadSpectraFigure loadSpectraFigure(const LoadingWorkingCopy& traffic) {
    LoadSpectraFigure f;
    f.binLabels = CLoadingConditionsDlg::binLabelsFor(traffic.unitSystem);
    for (int c = 0; c < kConfigurationCount; ++c) {
        f.configurationUsed[at(c)] = traffic.configurationEnabled[at(c)] != 0;
        // The configuration on show reads its bins as they are being edited.
        f.percent[at(c)] = c == traffic.currentConfiguration ? traffic.shownLoadPercent
                                                             : traffic.loadSpectra[at(c)];
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
