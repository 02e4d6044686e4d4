#include "design/SearchVerification.h"

#include <algorithm>

#include "reliability/ResultFormat.h"
#include "reliability/RunPreparation.h"

namespace ardelon {

std::vector<VerifiedRow> verifiedRows(const ThicknessSearchResult& search,
                                      const AnalysisRunOutcome& outcome,
                                      std::optional<double> designLifeYears) {
    std::vector<VerifiedRow> rows;
    for (std::size_t i = 0; i < outcome.lists.percentile.size(); ++i) {
        const PercentileRow& row = outcome.lists.percentile[i];
        VerifiedRow r;
        r.name = i < search.percentileRowNames.size() ? search.percentileRowNames[i] : "";
        r.target = row.targetPercentile;
        r.actual = row.actualPercentile;
        r.settled = row.settled;
        r.margin = row.settled.low - r.target;
        rows.push_back(r);
    }
    if (!designLifeYears)
        return rows;
    for (std::size_t i = 0; i < outcome.lists.transferFunction.size(); ++i) {
        const TransferFunctionRow& row = outcome.lists.transferFunction[i];
        VerifiedRow r;
        r.name = i < search.transferRowNames.size() ? search.transferRowNames[i] : "";
        r.life = true;
        r.target = *designLifeYears;
        r.actual = row.yearsToDamage10;
        r.settled = row.settledYears;
        r.margin = row.settledYears.low - r.target;
        rows.push_back(r);
    }
    return rows;
}

namespace {

bool everyRowPasses(const std::vector<VerifiedRow>& rows) {
    return std::all_of(rows.begin(), rows.end(),
                       [](const VerifiedRow& r) { return r.settled.verdict == Verdict::Pass; });
}

}  // namespace

SearchVerification verifyWinner(const CStenorDoc& project, const ThicknessSearchOptions& options,
                                const ThicknessSearchResult& search,
                                const ResponseModelFactory& models) {
    SearchVerification v;
    if (search.status != ThicknessSearchStatus::Found || !search.best)
        return v;
    v.seed = options.seed + 1;
    v.confidence = options.confidence;
    const int cycles = 4 * (options.untilSettled ? searchCycleCap(options) : options.cycles);
    AnalysisRunOptions o{
        .cycles = std::min(cycles, kMaxSettleCycles),
        .seed = v.seed,
        .threads = options.threads,
        .cancel = options.cancel,
        .verdicts = {.confidence = options.confidence, .designLifeYears = options.designLifeYears}};
    if (options.untilSettled)
        o.settledWhen = [](const ResultLists& l) { return l.settled(); };
    else
        o.cycles = cycles;
    // Runs one candidate; false (with the message) when the run did not complete.
    auto verify = [&](const DesignCandidate& c, std::vector<VerifiedRow>& rows, int& ran) {
        CStenorDoc work = candidateWork(project, c.thickness, options.vary);
        const AnalysisRunOutcome outcome = runAnalysis(work, models, o);
        if (outcome.status != AnalysisStatus::Completed) {
            v.message = outcome.status == AnalysisStatus::Cancelled ? "Verification cancelled."
                                                                    : outcome.refusal.text;
            return false;
        }
        rows = verifiedRows(search, outcome, options.designLifeYears);
        ran = outcome.results.cycles;
        return true;
    };
    if (!verify(search.best->candidate, v.rows, v.cycles))
        return v;
    v.completed = true;
    v.robust = everyRowPasses(v.rows);
    for (const VerifiedRow& r : v.rows) {
        if (r.settled.verdict != Verdict::Pass)
            v.marginal.push_back(r.name);
    }
    if (v.robust)
        return v;

    std::vector<VaryRange> vary = options.vary;
    std::sort(vary.begin(), vary.end(),
              [](const VaryRange& a, const VaryRange& b) { return a.layer < b.layer; });
    CStenorDoc prepared = project;
    prepareViewOutput(prepared);
    const DesignCandidate& w = search.best->candidate;
    std::vector<DesignCandidate> thicker;
    for (const DesignCandidate& c : gridCandidates(prepared, vary)) {
        bool atLeast = c.index != w.index;
        for (std::size_t d = 0; d < vary.size(); ++d)
            atLeast = atLeast && c.index[d] >= w.index[d];
        if (atLeast)
            thicker.push_back(c);
    }
    std::stable_sort(thicker.begin(), thicker.end(), preferredCandidate);
    if (!thicker.empty())
        v.nextThicker = thicker.front();
    for (const DesignCandidate& c : thicker) {
        if (v.candidatesTried == kMaxCandidatesTried)
            break;
        ++v.candidatesTried;
        std::vector<VerifiedRow> rows;
        int ran = 0;
        if (!verify(c, rows, ran)) {
            v.completed = false;
            return v;
        }
        if (everyRowPasses(rows)) {
            v.nextSettled = c;
            break;
        }
    }
    return v;
}

}  // namespace ardelon
