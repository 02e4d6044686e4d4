#include "TrialTestSupport.h"

namespace ardelon::testing {

ProjectRun runSeasonProject(const CStenorDoc& project, int cycles, std::uint32_t seed) {
    AnalysisRunOptions o{.cycles = cycles, .seed = seed, .threads = 1};
    return runProjectAnalysis(project, factoryOf<SeasonResponseModel>(), o);
}

Trial seasonTrial(const std::string& name, double deflectionLimit, std::uint32_t seed) {
    const CStenorDoc project = seasonProject(deflectionLimit);
    return makeTrial(name, project, runSeasonProject(project, 300, seed), seed, 1796448000);
}

}  // namespace ardelon::testing
