#include "design/SearchVerification.h"

#include <algorithm>

#include "reliability/RunPreparation.h"
#include "reliability/ResultFormat.h"

namespace ardelon {

SearchVerification verifyWinner(const CStenorDoc& project, const ThicknessSearchOptions& options,
                                const ThicknessSearchResult& search,
                                const ResponseModelFactory& models) {
    SearchVerification v;
    if (search.status != ThicknessSearchStatus::Found || !search.best)
        return v;
    v.seed = options.seed + 1;
    v.cycles = 4 * options.cycles;
    CStenorDoc work = candidateWork(project, search.best->candidate.thickness);
    const AnalysisRunOptions o{
        .cycles = v.cycles, .seed = v.seed, .threads = options.threads, .cancel = options.cancel};
    const AnalysisRunOutcome outcome = runAnalysis(work, models, o);
    if (outcome.status != AnalysisStatus::Completed) {
        v.message = outcome.status == AnalysisStatus::Cancelled ? "Verification cancelled."
                                                                : outcome.refusal.text;
        return v;
    }
    v.completed = true;
    v.robust = true;
    for (std::size_t i = 0; i < outcome.lists.percentile.size(); ++i) {
        const PercentileRow& row = outcome.lists.percentile[i];
        VerifiedRow r;
        r.name = i < search.percentileRowNames.size() ? search.percentileRowNames[i] : "";
        r.targetPercentile = row.targetPercentile;
        r.actualPercentile = row.actualPercentile;
        r.lowerBound95 = wilsonInterval95(v.cycles - row.exceedCount, v.cycles).low;
        r.reached = r.lowerBound95 >= r.targetPercentile;
        if (!r.reached) {
            v.robust = false;
            v.marginal.push_back(r.name);
        }
        v.rows.push_back(r);
    }
    if (!v.robust) {
        std::vector<VaryRange> vary = options.vary;
        std::sort(vary.begin(), vary.end(),
                  [](const VaryRange& a, const VaryRange& b) { return a.layer < b.layer; });
        CStenorDoc prepared = project;
        prepareViewOutput(prepared);
        const DesignCandidate& w = search.best->candidate;
        for (const DesignCandidate& c : gridCandidates(prepared, vary)) {
            bool thicker = c.index != w.index;
            for (std::size_t d = 0; d < vary.size(); ++d)
                thicker = thicker && c.index[d] >= w.index[d];
            if (thicker && (!v.nextThicker || preferredCandidate(c, *v.nextThicker)))
                v.nextThicker = c;
        }
    }
    return v;
}

}  // namespace ardelon
