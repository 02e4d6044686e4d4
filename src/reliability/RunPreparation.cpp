#include "reliability/RunPreparation.h"

#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "project/Units.h"

namespace ardelon {

void prepareViewOutput(CStenorDoc& project) {
    for (int c = 0; c < kConfigurationCount; ++c) {
        project.axleTypeFraction[static_cast<std::size_t>(c)] =
            project.configurationPercent[static_cast<std::size_t>(c)] * 0.01;
    }
}

void roundModuleThicknesses(CStenorDoc& work) {
    if (heldInEnglish(work))
        return;
    for (double& t : work.thickness) {
        const double inches = roundHalfUpTwoDecimals(t * units::kCmToInch);
        t = roundHalfUpTwoDecimals(inches * units::kInchToCm);
    }
}

ProjectRun runProjectAnalysis(const CStenorDoc& project, const ResponseModelFactory& models,
                              const AnalysisRunOptions& options) {
    ProjectRun run{project, {}};
    prepareViewOutput(run.work);
    roundModuleThicknesses(run.work);
    run.outcome = runAnalysis(run.work, models, options);
    return run;
}

}  // namespace ardelon
