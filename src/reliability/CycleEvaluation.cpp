#include "reliability/CycleEvaluation.h"

#include <algorithm>
#include <cmath>

#include "criteria/ResponseType.h"

namespace ardelon {
namespace {

constexpr double kMicrostrain = 1000000.0;
constexpr double kMilliInchDeflection = -1000.0;  // DispZ is reported negated

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The rows a response type reads and the scale that turns them into the criterion's units.
struct TypeRows {
    int first = -1;
    int second = -1;  // -1 when the type reads one row
    double scale = 1.0;
};

TypeRows rowsOf(int type, double threshold) {
    switch (type) {
        case HorizontalStress:
            return {SigmaX, SigmaY, 1.0};
        case VerticalStress:
            return {SigmaZ, -1, 1.0};
        case PrincipalStress:
            return {threshold >= 0 ? Sigma1 : Sigma3, -1, 1.0};
        case HorizontalStrain:
            return {EpsX, EpsY, kMicrostrain};
        case VerticalStrain:
            return {EpsZ, -1, kMicrostrain};
        case PrincipalStrain:
            return {threshold >= 0 ? Eps1 : Eps3, -1, kMicrostrain};
        case VerticalDeflection:
            return {DispZ, -1, kMilliInchDeflection};
        case HorizontalStrainDistribution:
            return {EpsX, EpsY, kMicrostrain};
        default:
            return {};
    }
}

bool exceeds(double v, double limit) {
    return limit >= 0 ? v > limit : v < limit;
}

}  // namespace

ResponseMask criterionResponses(const CriterionSlot& c) {
    const double sign =
        c.responseType == HorizontalStrainDistribution ? c.distribution[0] : c.threshold;
    const TypeRows rows = rowsOf(c.responseType, sign);
    ResponseMask mask = 0;
    for (int row : {rows.first, rows.second}) {
        if (row >= 0)
            mask |= responseBit(row);
    }
    return mask;
}

void evaluateCycle(const CriterionSlots& criteria, const EvaluatedSlots& slots,
                   const ResponseTable& table, int cycles, AnalysisResults& results) {
    for (int k = 0; k < slots.count; ++k) {
        const int i = slots.slot[at(k)];
        const CriterionSlot& c = criteria[at(i)];
        const int p = k * kPointsPerLocation;
        const int type = c.responseType;

        if (type == HorizontalStrainDistribution) {
            const auto& limits = c.distribution;
            const TypeRows rows = rowsOf(type, limits[0]);
            const bool largest = limits[0] >= 0;
            double critical = largest ? -INFINITY : INFINITY;
            std::array<bool, kDistributionLevels> levelExceeded{};
            for (int j = 0; j < kPointsPerLocation; ++j) {
                for (int row : {rows.first, rows.second}) {
                    const double v = table.at(row, p + j) * rows.scale;
                    critical = largest ? std::max(critical, v) : std::min(critical, v);
                    for (int n = 0; n < kDistributionLevels; ++n) {
                        if (exceeds(v, limits[at(n)]))
                            levelExceeded[at(n)] = true;
                    }
                }
            }
            results.cycleValues[at(k)] = critical;
            for (int n = 0; n < kDistributionLevels; ++n) {
                if (levelExceeded[at(n)])
                    ++results.limitExceedCount[at(n)][at(i)];
            }
            continue;
        }

        const double T = c.threshold;
        const TypeRows rows = rowsOf(type, T);
        // Deflection is judged by its largest value whatever the sign of the threshold.
        const bool deflection = type == VerticalDeflection;
        const bool largest = deflection || T >= 0;
        double critical = largest ? -INFINITY : INFINITY;
        int firstExceeding = -1;
        for (int j = 0; j < kPointsPerLocation; ++j) {
            bool pointExceeds = false;
            for (int row : {rows.first, rows.second}) {
                if (row < 0)
                    continue;
                const double v = table.at(row, p + j) * rows.scale;
                critical = largest ? std::max(critical, v) : std::min(critical, v);
                if (deflection ? v > T : exceeds(v, T))
                    pointExceeds = true;
            }
            if (pointExceeds && firstExceeding < 0)
                firstExceeding = j;
        }
        results.cycleValues[at(k)] = critical;
        if (firstExceeding < 0)
            continue;
        ++results.exceedCount[at(i)];
        if (type == HorizontalStrain || type == VerticalStrain) {
            const int point = p + firstExceeding;
            double strain = 0.0;
            if (type == VerticalStrain) {
                strain = table.at(EpsZ, point);
            } else {
                const double ex = table.at(EpsX, point), ey = table.at(EpsY, point);
                strain = T < 0 ? std::min(ex, ey) : std::max(ex, ey);
            }
            const double allowedLoads = c.k1 * std::pow(1.0 / std::fabs(strain), c.k2);
            const double damage = (1.0 / allowedLoads) * 1000000.0 / cycles;
            results.damagePerMillion[at(i)] += damage;
            results.damageShareSquareSum[at(i)] += damage * damage;
            results.cycleDamage[at(k)] = damage;
        }
    }
}

}  // namespace ardelon
