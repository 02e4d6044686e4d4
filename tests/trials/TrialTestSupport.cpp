#include "TrialTestSupport.h"

#include "criteria/ResponseType.h"
#include "support/FakeResponseModels.h"

namespace ardelon::testing {

CStenorDoc seasonProject(double deflectionLimit) {
    CStenorDoc doc;
    doc.seasonalModulus[0] = {100000, 200000, 300000, 400000, 500000};
    doc.modulusCov = {0, 0, 0, 0, 0};
    doc.thicknessCov = {0, 0, 0, 0};
    for (int k = 0; k < kBinCount; ++k)
        doc.loadCdf[Single][static_cast<std::size_t>(k)] = k >= 10 ? 1.0 : 0.0;
    auto& c = doc.criteria;
    c[0] = {.active = 1,
            .responseType = VerticalDeflection,
            .threshold = deflectionLimit,
            .targetPercentile = 50};
    c[2] = {.active = 1,
            .responseType = HorizontalStrain,
            .threshold = -100,
            .k1 = 1e-3,
            .k2 = 2,
            .useTransferFunction = 1};
    c[5] = {.active = 1,
            .responseType = HorizontalStrainDistribution,
            .distribution = {-5, -15, -25, -35, -45}};
    doc.costPerTon = {50, 20, 0, 0};
    doc.density = {145, 130, 0, 0};
    return doc;
}

ProjectRun runSeasonProject(const CStenorDoc& project, int cycles, std::uint32_t seed) {
    AnalysisRunOptions o{.cycles = cycles, .seed = seed, .threads = 1};
    return runProjectAnalysis(project, factoryOf<SeasonResponseModel>(), o);
}

Trial seasonTrial(const std::string& name, double deflectionLimit, std::uint32_t seed) {
    const CStenorDoc project = seasonProject(deflectionLimit);
    return makeTrial(name, project, runSeasonProject(project, 300, seed), seed, 1796448000);
}

}  // namespace ardelon::testing
