#include "design/ThicknessSearch.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <sstream>

#include "criteria/ResponseType.h"
#include "design/CandidateRows.h"
#include "design/ResponsePeak.h"
#include "reliability/ResultFormat.h"
#include "reliability/RunPreparation.h"
#include "structure/AcModuliFollowThickness.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

class Search {
  public:
    Search(const CStenorDoc& project, const ThicknessSearchOptions& options,
           const ResponseModelFactory& models, ThicknessSearchResult& result)
        : options_(options), models_(models), result_(result), vary_(options.vary) {
        std::stable_sort(vary_.begin(), vary_.end(),
                         [](const VaryRange& a, const VaryRange& b) { return a.layer < b.layer; });
        base_ = project;
        prepareViewOutput(base_);
    }

    void run() {
        if (std::string why = checkDesignGrid(base_, vary_); !why.empty())
            return refuse(why);
        if (options_.designLifeYears &&
            !(std::isfinite(*options_.designLifeYears) && *options_.designLifeYears > 0))
            return refuse("The design life must be a positive number of years.");
        const CStenorDoc shapeWork = candidateWork(base_, base_.thickness, vary_);
        if (auto refusal = checkAnalysisInputs(shapeWork, options_.cycles))
            return refuse(refusal->text);
        if (std::string why = nothingCanFail(shapeWork, options_.designLifeYears.has_value());
            !why.empty())
            return refuse(why);
        prepareRows(shapeWork);

        candidates_ = gridCandidates(base_, vary_);
        result_.candidateCount = static_cast<int>(candidates_.size());
        for (std::size_t d = 0; d < vary_.size(); ++d)
            size_[d] = rangeSize(vary_[d]);
        status_.assign(candidates_.size(), Unknown);
        order_.resize(candidates_.size());
        std::iota(order_.begin(), order_.end(), std::size_t{0});
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
            return preferredCandidate(candidates_[a], candidates_[b]);
        });
        rank_.resize(order_.size());
        for (std::size_t r = 0; r < order_.size(); ++r)
            rank_[order_[r]] = r;

        if (!options_.exhaustive) {
            CStenorDoc peakWork = shapeWork;
            zeroThicknessCovBelowLastLayer(peakWork);
            ResponsePeaks peaks = locateResponsePeaks(peakWork, vary_, models_, options_.cancel);
            if (peaks.cancelled) {
                result_.status = ThicknessSearchStatus::Cancelled;
                return;
            }
            if (!peaks.failure.empty())
                return fail(peaks.failure);
            for (std::size_t d = 0; d < vary_.size(); ++d) {
                peak_[d] = peaks.monotoneFrom[d];
                result_.monotoneFromThickness.push_back(rangeThickness(vary_[d], peak_[d]));
            }
            if (!walkBoundary())
                return;
        }
        if (!visitInOrder())
            return;
        if (winner_ >= 0) {
            result_.status = ThicknessSearchStatus::Found;
            setBest(static_cast<std::size_t>(winner_));
            return;
        }
        // No candidate passes: the thickest one, analysed in full, says what fails.
        const std::size_t thickest = candidates_.size() - 1;
        if (!thickest_) {
            if (!evaluate(thickest, false))
                return;
        }
        result_.status = ThicknessSearchStatus::NoPassingCandidate;
        setBest(thickest);
    }

  private:
    enum Status { Unknown, Passed, Failed };
    struct FullRun {
        EvaluatedCandidate record;
        CStenorDoc work;
        AnalysisRunOutcome outcome;
    };

    void refuse(const std::string& why) {
        result_.status = ThicknessSearchStatus::Refused;
        result_.message = why;
    }
    void fail(const std::string& why) {
        result_.status = ThicknessSearchStatus::Failed;
        result_.message = why;
    }

    void prepareRows(const CStenorDoc& work) {
        AnalysisResults empty;
        empty.cycles = options_.cycles;
        const ResultLists lists = buildResultLists(work, empty);
        for (std::size_t r = 0; r < lists.percentile.size(); ++r) {
            const PercentileRow& row = lists.percentile[r];
            rows_.push_back(row);
            failAt_.push_back(exceedancesThatFail(work, options_.cycles, r));
            std::ostringstream target;
            target << row.targetPercentile;
            result_.percentileRowNames.push_back(criterionName(work, row.slot) + " at " +
                                                 target.str() + " %");
        }
        for (const TransferFunctionRow& row : lists.transferFunction) {
            transferSlots_.push_back(row.slot);
            result_.transferRowNames.push_back(criterionName(work, row.slot) + " years to D=1.0");
        }
    }

    bool lifeFalls(double years) const {
        return options_.designLifeYears && years < *options_.designLifeYears;
    }

    // Settled as a fail: a row has more exceedances than its target allows, or the damage so far
    // already reaches D = 1.0 before the design life (damage only grows with more cycles).
    bool settledFail(const CStenorDoc& work, const AnalysisResults& r) const {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (exceedancesOf(r, rows_[i]) >= failAt_[i])
                return true;
        }
        for (int slot : transferSlots_) {
            if (lifeFalls(
                    yearsUntilDamage(kDamage10, trafficGrowth(work), r.damagePerMillion[at(slot)])))
                return true;
        }
        return false;
    }

    // Analyses one candidate; false when the search must end (cancelled, failed, refused).
    bool evaluate(std::size_t id, bool mayStop) {
        if (options_.cancel && options_.cancel->load()) {
            result_.status = ThicknessSearchStatus::Cancelled;
            return false;
        }
        FullRun run;
        run.work = candidateWork(base_, candidates_[id].thickness, vary_);
        AnalysisRunOptions o{
            .cycles = options_.untilSettled ? searchCycleCap(options_) : options_.cycles,
            .seed = options_.seed,
            .threads = options_.threads,
            .cancel = options_.cancel,
            .blockCycles = options_.blockCycles,
            .verdicts = {.confidence = options_.confidence,
                         .designLifeYears = options_.designLifeYears}};
        const CStenorDoc& work = run.work;
        if (options_.untilSettled)
            o.settledWhen = [](const ResultLists& l) { return decided(l); };
        else if (mayStop && options_.earlyStop)
            o.stopWhen = [&](const AnalysisResults& r, int) { return settledFail(work, r); };
        run.outcome = runAnalysis(run.work, models_, o);
        switch (run.outcome.status) {
            case AnalysisStatus::Cancelled:
                result_.status = ThicknessSearchStatus::Cancelled;
                return false;
            case AnalysisStatus::Refused:
                refuse(run.outcome.refusal.text);
                return false;
            case AnalysisStatus::Failed:
                fail(run.outcome.refusal.text);
                return false;
            default:
                break;
        }
        EvaluatedCandidate& e = run.record;
        e.candidate = candidates_[id];
        e.stopped = run.outcome.status == AnalysisStatus::Stopped;
        e.cyclesRun = e.stopped ? run.outcome.results.cyclesRun : run.outcome.results.cycles;
        e.settled = !e.stopped && decided(run.outcome.lists);
        AnalysisResults counted = run.outcome.results;
        if (e.stopped) {
            // The rows over the cycles run, the damage scaled to N cycles.
            counted.cycles = e.cyclesRun;
            for (double& d : counted.damagePerMillion)
                d *= static_cast<double>(options_.cycles) / e.cyclesRun;
        }
        const ResultLists lists = e.stopped ? buildResultLists(work, counted) : run.outcome.lists;
        for (std::size_t i = 0; i < lists.percentile.size(); ++i) {
            const PercentileRow& row = lists.percentile[i];
            e.actualPercentile.push_back(row.actualPercentile);
            const bool failed =
                e.stopped ? exceedancesOf(counted, rows_[i]) >= failAt_[i] : !row.pass;
            if (failed) {
                e.failedCriteria.push_back(result_.percentileRowNames[i] + " (actual " +
                                           formatSignificant(row.actualPercentile) + " %)");
            }
        }
        for (std::size_t i = 0; i < lists.transferFunction.size(); ++i) {
            const double years = lists.transferFunction[i].yearsToDamage10;
            e.yearsToDamage10.push_back(years);
            const double yearsSoFar =
                yearsUntilDamage(kDamage10, trafficGrowth(work),
                                 run.outcome.results.damagePerMillion[at(transferSlots_[i])]);
            if (lifeFalls(e.stopped ? yearsSoFar : years)) {
                e.failedCriteria.push_back(
                    criterionName(work, transferSlots_[i]) + " reaches D=1.0 in " +
                    formatYears(e.stopped ? yearsSoFar : years) + " years, within the design life");
            }
        }
        e.pass = !e.stopped && e.failedCriteria.empty();
        status_[id] = e.pass ? Passed : Failed;
        (e.pass ? passes_ : fails_).push_back(candidates_[id].index);
        result_.cyclesRun += e.cyclesRun;
        result_.evaluated.push_back(e);
        if (!e.stopped)
            keepFullRun(id, std::move(run));
        if (options_.progress) {
            options_.progress({static_cast<int>(result_.evaluated.size()), result_.candidateCount,
                               result_.cyclesRun});
        }
        return true;
    }

    // Thinner than (or as thick as) a failure, with every thinner layer at or above its peak.
    bool impliedFail(const GridIndex& c) const {
        for (const GridIndex& f : fails_) {
            bool below = true;
            for (std::size_t d = 0; d < vary_.size() && below; ++d)
                below = c[d] == f[d] || (c[d] < f[d] && c[d] >= peak_[d]);
            if (below)
                return true;
        }
        return false;
    }
    bool impliedPass(const GridIndex& c) const {
        for (const GridIndex& p : passes_) {
            bool above = true;
            for (std::size_t d = 0; d < vary_.size() && above; ++d)
                above = c[d] == p[d] || (c[d] > p[d] && p[d] >= peak_[d]);
            if (above)
                return true;
        }
        return false;
    }

    std::size_t idOf(const GridIndex& g) const {
        return (static_cast<std::size_t>(g[0]) * at(size_[1]) + at(g[1])) * at(size_[2]) + at(g[2]);
    }
    bool better(std::size_t id) const {
        return best_ < 0 || preferredCandidate(candidates_[id], candidates_[at(best_)]);
    }

    // Still to be settled once a pass is known: not analysed, not implied to fail, preferred to
    // the best pass so far.
    bool open(std::size_t id) const {
        return best_ >= 0 && status_[id] == Unknown && better(id) &&
               !impliedFail(candidates_[id].index);
    }

    // The thickest open candidate above `id`, raising one varied layer at a time (only layers at
    // or above their peak, where a failure above implies one below): no other open candidate lies
    // above it, so whatever it settles is not settled again by a thicker one later.
    std::size_t liftedAbove(std::size_t id) const {
        GridIndex g = candidates_[id].index;
        for (bool raised = true; raised;) {
            raised = false;
            for (std::size_t d = vary_.size(); d-- > 0;) {
                while (g[d] + 1 < size_[d] && g[d] >= peak_[d]) {
                    GridIndex up = g;
                    ++up[d];
                    if (!open(idOf(up)))
                        break;
                    g = up;
                    raised = true;
                }
            }
        }
        return idOf(g);
    }

    // Near the boundary a candidate is slow to settle, and a thinner one's failure says nothing
    // about a thicker one: before `id` is analysed, the open candidates above it are, thickest
    // first, so that a failure among them settles `id` and everything below it, and a pass
    // lowers the best. Returns false when the search must end.
    bool settleAboveFirst(std::size_t id) {
        while (open(id)) {
            const std::size_t top = liftedAbove(id);
            if (top == id)
                return true;
            if (!evaluate(top, true))
                return false;
            if (status_[top] == Passed)
                best_ = static_cast<long>(top);
        }
        return true;
    }

    // Along each line of the last varied layer: from the thinnest candidate known (or implied) to
    // pass, or the thickest, down while candidates pass and are preferred to the best so far.
    bool walkBoundary() {
        const std::size_t last = vary_.size() - 1;
        const int lines = static_cast<int>(candidates_.size()) / size_[last];
        for (int line = 0; line < lines; ++line) {
            // The implications below take long on a large grid: a stop request is seen here too.
            if (cancelled())
                return false;
            GridIndex g = candidates_[at(line * size_[last])].index;
            int ub = size_[last];
            for (int j = 0; j < size_[last]; ++j) {
                g[last] = j;
                if (status_[idOf(g)] == Passed || impliedPass(g)) {
                    ub = j;
                    break;
                }
            }
            if (ub < size_[last]) {
                g[last] = ub;
                if (better(idOf(g)))
                    best_ = static_cast<long>(idOf(g));
            }
            for (int j = ub - 1; j >= peak_[last]; --j) {
                g[last] = j;
                const std::size_t id = idOf(g);
                if (!better(id))
                    continue;
                if (!settleAboveFirst(id))
                    return false;
                if (!better(id))
                    continue;
                if (status_[id] == Failed || impliedFail(g))
                    break;
                if (!evaluate(id, true))
                    return false;
                if (status_[id] != Passed)
                    break;
                best_ = static_cast<long>(id);
            }
        }
        return true;
    }

    // The candidates in order of preference; the first that passes is the answer.
    bool visitInOrder() {
        for (std::size_t id : order_) {
            if (cancelled())
                return false;
            if (!options_.exhaustive && best_ >= 0 &&
                preferredCandidate(candidates_[at(best_)], candidates_[id]))
                break;
            if (status_[id] == Passed && winner_ < 0) {
                winner_ = static_cast<long>(id);
                if (!options_.exhaustive)
                    break;
            }
            if (status_[id] != Unknown)
                continue;
            if (!options_.exhaustive && impliedFail(candidates_[id].index))
                continue;
            if (!options_.exhaustive) {
                if (!settleAboveFirst(id))
                    return false;
                if (best_ >= 0 && preferredCandidate(candidates_[at(best_)], candidates_[id]))
                    break;
                if (impliedFail(candidates_[id].index))
                    continue;
            }
            if (!evaluate(id, !options_.exhaustive))
                return false;
            if (status_[id] == Passed && winner_ < 0) {
                winner_ = static_cast<long>(id);
                if (!options_.exhaustive)
                    break;
            }
            if (status_[id] == Failed && static_cast<long>(id) == best_)
                best_ = -1;  // implied to pass but did not: keep looking
        }
        return true;
    }

    // Only the runs the result may show are kept, so memory does not grow with the grid: the
    // most preferred pass (the answer when one passes) and the thickest candidate's full run.
    void keepFullRun(std::size_t id, FullRun&& run) {
        if (run.record.pass && (!bestPass_ || rank_[id] < rank_[bestPassId_])) {
            bestPassId_ = id;
            bestPass_ = std::move(run);
        } else if (id == candidates_.size() - 1) {
            thickest_ = std::move(run);
        }
    }

    bool cancelled() {
        if (!options_.cancel || !options_.cancel->load())
            return false;
        result_.status = ThicknessSearchStatus::Cancelled;
        return true;
    }

    void setBest(std::size_t id) {
        FullRun& run = bestPass_ && bestPassId_ == id ? *bestPass_ : *thickest_;
        result_.best = run.record;
        result_.bestWork = run.work;
        result_.bestOutcome = run.outcome;
    }

    ThicknessSearchOptions options_;
    const ResponseModelFactory& models_;
    ThicknessSearchResult& result_;
    std::vector<VaryRange> vary_;
    CStenorDoc base_;
    std::vector<DesignCandidate> candidates_;
    GridIndex size_{1, 1, 1};
    GridIndex peak_{0, 0, 0};
    std::vector<Status> status_;
    std::vector<std::size_t> order_;
    std::vector<GridIndex> fails_, passes_;
    std::vector<PercentileRow> rows_;
    std::vector<int> failAt_;
    std::vector<int> transferSlots_;
    std::vector<std::size_t> rank_;  // each candidate's place in order_
    std::optional<FullRun> bestPass_;
    std::size_t bestPassId_ = 0;
    std::optional<FullRun> thickest_;
    long best_ = -1;
    long winner_ = -1;
};

}  // namespace

int searchCycleCap(const ThicknessSearchOptions& options) {
    if (options.maxCycles > 0)
        return options.maxCycles;
    return static_cast<int>(
        std::min<std::int64_t>(2 * std::int64_t{options.cycles}, kMaxSettleCycles));
}

CStenorDoc candidateProject(const CStenorDoc& project, const std::array<double, kThicknessCount>& t,
                            const std::vector<VaryRange>& vary) {
    CStenorDoc doc = project;
    doc.thickness = t;
    followAcModuliFromLayer(doc, firstVariedLayer(vary));
    return doc;
}

CStenorDoc candidateWork(const CStenorDoc& project, const std::array<double, kThicknessCount>& t,
                         const std::vector<VaryRange>& vary) {
    // What analyze and the module's opening do: the fractions from the shares, the module's
    // copy, its rounding of the thicknesses.
    CStenorDoc doc = candidateProject(project, t, vary);
    prepareViewOutput(doc);
    CStenorDoc work = doc;
    roundModuleThicknesses(work);
    return work;
}

ThicknessSearchResult searchThicknesses(const CStenorDoc& project,
                                        const ThicknessSearchOptions& options,
                                        const ResponseModelFactory& models) {
    ThicknessSearchResult result;
    Search(project, options, models, result).run();
    return result;
}

}  // namespace ardelon
