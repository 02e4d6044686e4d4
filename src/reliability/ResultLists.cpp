#include "reliability/ResultLists.h"

#include "criteria/ResponseType.h"
#include "reliability/CycleGeometry.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

constexpr std::array<const char*, 3> kLocationNames{"Top", "Middle", "Bottom"};
constexpr std::array<const char*, kDistributionLevels> kLevelPercentileTexts{"95", "85", "75", "65",
                                                                             "55"};
constexpr std::array<double, kDistributionLevels> kLevelPercentiles{95.0, 85.0, 75.0, 65.0, 55.0};

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

std::string layerText(int slot) {
    return std::to_string(slotLayer(slot));
}

double percentBelow(int exceedances, int cycles) {
    return 100.0 - exceedances * 100.0 / cycles;
}

}  // namespace

std::string verdictColumnHeading(std::string_view column, double confidence) {
    const std::string text(column);
    const auto bracket = text.find('[');
    if (bracket != std::string::npos)
        return text.substr(0, bracket + 1) + confidenceText(confidence) + " " +
               text.substr(bracket + 1);
    return text + " (" + confidenceText(confidence) + ")";
}

bool ResultLists::settled() const {
    for (const PercentileRow& r : percentile) {
        if (r.settled.verdict == Verdict::Undecided)
            return false;
    }
    for (const TransferFunctionRow& r : transferFunction) {
        if (r.lifeChecked && r.settledYears.verdict == Verdict::Undecided)
            return false;
    }
    return true;
}

std::string verdictCell(const PercentileRow& row) {
    return settledText(row.settled);
}

std::string verdictCell(const TransferFunctionRow& row) {
    const std::string interval =
        "[" + formatYears(row.settledYears.low) + ", " + formatYears(row.settledYears.high) + "]";
    return row.lifeChecked ? std::string(verdictText(row.settledYears.verdict)) + " " + interval
                           : interval;
}

ResultLists buildResultLists(const CStenorDoc& work, const AnalysisResults& results,
                             const VerdictRules& rules) {
    ResultLists lists;
    lists.rules = rules;
    const int n = results.cycles;
    for (int i = 0; i <= kLastReportedSlot; ++i) {
        const CriterionSlot& c = work.criteria[at(i)];
        if (!isEvaluatedSlot(c, i) || c.responseType >= HorizontalStrainDistribution)
            continue;
        if (c.useTransferFunction == 0)
            continue;
        const ResponseName name = responseName(c.responseType);
        TransferFunctionRow row;
        row.slot = i;
        row.threshold = c.threshold;
        row.exceedCount = results.exceedCount[at(i)];
        row.percentBelowCritical = percentBelow(row.exceedCount, n);
        row.damageShown = work.esalFactor >= 0;
        row.damagePerMillion = results.damagePerMillion[at(i)];
        row.yearsToDamage01 =
            yearsUntilDamage(kDamage01, trafficGrowth(work), row.damagePerMillion);
        row.yearsToDamage10 =
            yearsUntilDamage(kDamage10, trafficGrowth(work), row.damagePerMillion);
        row.cells = {layerText(i),
                     kLocationNames[at(slotPosition(i))],
                     std::string(name.name),
                     formatSignificant(c.threshold),
                     std::string(name.units),
                     formatSignificant(row.percentBelowCritical),
                     row.damageShown ? formatSignificant(row.damagePerMillion) : std::string(),
                     formatYears(row.yearsToDamage01),
                     formatYears(row.yearsToDamage10)};
        const DamageSums damage{row.damagePerMillion, results.damageShareSquareSum[at(i)], n};
        row.settledYears = yearsVerdict(damage, trafficGrowth(work), kDamage10, rules.confidence,
                                        rules.designLifeYears);
        row.lifeChecked = rules.designLifeYears.has_value();
        lists.transferFunction.push_back(std::move(row));
    }

    for (int i = 0; i <= kLastReportedSlot; ++i) {
        const CriterionSlot& c = work.criteria[at(i)];
        if (!isEvaluatedSlot(c, i))
            continue;
        if (c.responseType == HorizontalStrainDistribution) {
            for (int level = 0; level < kDistributionLevels; ++level) {
                PercentileRow row;
                row.slot = i;
                row.level = level;
                row.targetValue = c.distribution[at(level)];
                row.targetPercentile = kLevelPercentiles[at(level)];
                row.exceedCount = results.limitExceedCount[at(level)][at(i)];
                row.actualPercentile = (n - row.exceedCount) * 100.0 / n;
                row.pass = row.actualPercentile > row.targetPercentile;
                row.settled = percentileVerdict(n - row.exceedCount, n, row.targetPercentile,
                                                rules.confidence);
                const bool first = level == 0;
                row.cells = {first ? layerText(i) : std::string(),
                             first ? kLocationNames[at(slotPosition(i))] : std::string(),
                             first ? std::string("Tensile Strain") : std::string(),
                             first ? std::string("microstrain") : std::string(),
                             formatSignificant(row.targetValue),
                             kLevelPercentileTexts[at(level)],
                             formatSignificant(row.actualPercentile),
                             row.pass ? "Pass" : "Fail"};
                lists.percentile.push_back(std::move(row));
            }
            continue;
        }
        if (c.useTransferFunction != 0)
            continue;
        const ResponseName name = responseName(c.responseType);
        PercentileRow row;
        row.slot = i;
        row.targetValue = c.threshold;
        row.targetPercentile = c.targetPercentile;
        row.exceedCount = results.exceedCount[at(i)];
        row.actualPercentile = percentBelow(row.exceedCount, n);
        row.pass = row.actualPercentile > row.targetPercentile;
        row.settled =
            percentileVerdict(n - row.exceedCount, n, row.targetPercentile, rules.confidence);
        // The bottom of layer 1 reads "Bot" in this list.
        row.cells = {layerText(i),
                     i == 2 ? std::string("Bot") : std::string(kLocationNames[at(slotPosition(i))]),
                     std::string(name.name),
                     std::string(name.units),
                     formatSignificant(c.threshold),
                     formatSignificant(c.targetPercentile),
                     formatSignificant(row.actualPercentile),
                     row.pass ? "Pass" : "Fail"};
        lists.percentile.push_back(std::move(row));
    }
    return lists;
}

}  // namespace ardelon
