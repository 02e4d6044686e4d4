// Damage over the years of a transfer-function criterion: the years-to-damage relation of the
// result lists turned round.

#include <algorithm>
#include <cmath>

#include "figures/FigureData.h"
#include "reliability/ResultLists.h"

namespace ardelon {
namespace {

constexpr int kCurveSteps = 100;
constexpr double kHorizonWithoutLevels = 50.0;  // years shown when no level is ever reached
constexpr double kHorizonBeyondLastLevel = 1.25;

}  // namespace

double damageAfterYears(double firstYearDamage, double growthPercent, double years) {
    const double r = growthPercent * 0.01;
    if (r == 0.0)
        return firstYearDamage * years;
    // (1 + r)^t − 1 through expm1 and log1p keeps the digits of a small growth.
    return firstYearDamage * std::expm1(years * std::log1p(r)) / r;
}

std::vector<DamageOverTime> damageOverTime(const CStenorDoc& work, const AnalysisResults& results) {
    std::vector<DamageOverTime> figures;
    if (results.cycles <= 0)
        return figures;
    const ResultLists lists = buildResultLists(work, results);
    for (const TransferFunctionRow& row : lists.transferFunction) {
        DamageOverTime f;
        f.name = figureRowName(work, row.slot);
        f.firstYearDamage = work.axleGroupsPerDay * row.damagePerMillion * 0.000365;
        f.growthPercent = work.truckGrowthPercent;
        f.yearsToDamage01 = row.yearsToDamage01;
        f.yearsToDamage10 = row.yearsToDamage10;
        if (f.firstYearDamage > 0.0) {
            double horizon = kHorizonWithoutLevels;
            if (std::isfinite(f.yearsToDamage10))
                horizon = kHorizonBeyondLastLevel * f.yearsToDamage10;
            else if (std::isfinite(f.yearsToDamage01))
                horizon = kHorizonBeyondLastLevel * f.yearsToDamage01;
            // The curve passes through the listed years exactly, so it crosses D = 0.1 and 1.0
            // there whatever the spacing of the other steps.
            std::vector<double> years;
            for (int i = 1; i <= kCurveSteps; ++i)
                years.push_back(horizon * i / kCurveSteps);
            for (double t : {f.yearsToDamage01, f.yearsToDamage10}) {
                if (std::isfinite(t) && t > 0.0)
                    years.push_back(t);
            }
            std::sort(years.begin(), years.end());
            years.erase(std::unique(years.begin(), years.end()), years.end());
            for (double t : years)
                f.curve.push_back({t, damageAfterYears(f.firstYearDamage, f.growthPercent, t)});
        }
        figures.push_back(std::move(f));
    }
    return figures;
}

}  // namespace ardelon
