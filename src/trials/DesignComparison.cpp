#include "trials/DesignComparison.h"

#include <algorithm>

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

constexpr int kThresholdBit = 0;

bool sameCriterion(const CriterionSlot& a, const CriterionSlot& b) {
    return a.responseType == b.responseType && a.threshold == b.threshold &&
           a.distribution == b.distribution;
}

template <typename Row>
void pairList(int list, const std::vector<Row>& firstRows, const std::vector<Row>& secondRows,
              const ComparedDesign& first, const ComparedDesign& second, double confidence,
              std::vector<RowDifference>& out) {
    auto levelOf = [](const Row& r) {
        if constexpr (requires { r.level; })
            return r.level;
        return -1;
    };
    auto percentOf = [](const Row& r) {
        if constexpr (requires { r.actualPercentile; })
            return r.actualPercentile;
        else
            return r.percentBelowCritical;
    };
    const int cycles = std::min(first.exceedances.cycles(), second.exceedances.cycles());
    for (std::size_t j = 0; j < secondRows.size(); ++j) {
        const Row& s = secondRows[j];
        const auto match = std::find_if(firstRows.begin(), firstRows.end(), [&](const Row& f) {
            return f.slot == s.slot && levelOf(f) == levelOf(s) &&
                   sameCriterion(first.run.work.criteria[at(f.slot)],
                                 second.run.work.criteria[at(s.slot)]);
        });
        if (match == firstRows.end())
            continue;
        int firstOnly = 0, secondOnly = 0;
        for (int k = 0; k < cycles; ++k) {
            const bool a = first.exceedances.below(k, s.slot, levelOf(s));
            const bool b = second.exceedances.below(k, s.slot, levelOf(s));
            firstOnly += a && !b;
            secondOnly += b && !a;
        }
        RowDifference d;
        d.list = list;
        d.row = static_cast<int>(j);
        d.firstRow = static_cast<int>(match - firstRows.begin());
        d.slot = s.slot;
        d.level = levelOf(s);
        d.first = percentOf(*match);
        d.second = percentOf(s);
        d.paired = pairedDifference(firstOnly, secondOnly, cycles, confidence);
        out.push_back(d);
    }
}

}  // namespace

void CycleExceedances::clear() {
    *this = CycleExceedances{};
}

void CycleExceedances::observe(const AnalysisResults& results, int cycle) {
    // A run observed again from its first cycle starts afresh.
    if (cycle == 1)
        clear();
    std::array<std::uint8_t, kSlotCount> flags{};
    for (int i = 0; i < kSlotCount; ++i) {
        if (results.exceedCount[at(i)] != exceed_[at(i)])
            flags[at(i)] |= 1u << kThresholdBit;
        for (int n = 0; n < kDistributionLevels; ++n) {
            if (results.limitExceedCount[at(n)][at(i)] != levelExceed_[at(n)][at(i)])
                flags[at(i)] |= static_cast<std::uint8_t>(1u << (n + 1));
        }
    }
    exceed_ = results.exceedCount;
    levelExceed_ = results.limitExceedCount;
    flags_.push_back(flags);
}

bool CycleExceedances::below(int cycle, int slot, int level) const {
    const int bit = level < 0 ? kThresholdBit : level + 1;
    return (flags_[at(cycle)][at(slot)] & (1u << bit)) == 0;
}

std::vector<RowDifference> pairedRowDifferences(const ComparedDesign& first,
                                                const ComparedDesign& second, double confidence) {
    std::vector<RowDifference> out;
    pairList(0, first.run.outcome.lists.transferFunction, second.run.outcome.lists.transferFunction,
             first, second, confidence, out);
    pairList(1, first.run.outcome.lists.percentile, second.run.outcome.lists.percentile, first,
             second, confidence, out);
    return out;
}

Comparison compareDesigns(std::size_t count, const DesignRunner& run, AnalysisRunOptions options,
                          bool untilSettled) {
    Comparison c;
    c.designs.resize(count);
    const int mostCycles = options.cycles;
    std::vector<bool> done(count, false);
    int floor = 0;  // until settled: no design stops before this many cycles
    while (true) {
        for (std::size_t i = 0; i < count; ++i) {
            ComparedDesign& d = c.designs[i];
            if (done[i] && d.run.outcome.results.cycles >= floor)
                continue;
            AnalysisRunOptions o = options;
            o.cycleEvaluated = [&d](const AnalysisResults& r, int cycle) {
                d.exceedances.observe(r, cycle);
            };
            if (untilSettled) {
                o.settledWhen = [&d, floor](const ResultLists& lists) {
                    return d.exceedances.cycles() >= floor && lists.settled();
                };
            }
            d.exceedances.clear();
            d.run = run(i, o);
            done[i] = true;
            if (d.run.outcome.status != AnalysisStatus::Completed) {
                c.failed = static_cast<int>(i);
                return c;
            }
        }
        c.cycles = 0;
        bool equal = true, settled = true;
        for (const ComparedDesign& d : c.designs) {
            c.cycles = std::max(c.cycles, d.run.outcome.results.cycles);
            settled = settled && d.run.outcome.lists.settled();
        }
        for (const ComparedDesign& d : c.designs)
            equal = equal && d.run.outcome.results.cycles == c.cycles;
        c.settled = settled;
        if (!untilSettled || (equal && (settled || c.cycles >= mostCycles)))
            break;
        floor = equal ? c.cycles + 1 : c.cycles;
    }
    for (std::size_t i = 1; i < count; ++i) {
        c.differences.push_back(
            pairedRowDifferences(c.designs[0], c.designs[i], options.verdicts.confidence));
    }
    return c;
}

}  // namespace ardelon
