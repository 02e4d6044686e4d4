#pragma once
// The project as the Output and Design module and every analysis run see it: the axle-type
// fractions taken from the configuration shares and the thicknesses as the module shows them.

#include "project/CStenorDoc.h"
#include "reliability/AnalysisRun.h"

namespace ardelon {

// Sets axleTypeFraction[c] = configurationPercent[c] × 0.01 (done even if the module is then
// cancelled).
void prepareViewOutput(CStenorDoc& project);

// The thicknesses as the module shows them: metric values are rounded through inches (to 0.01 in.
// and back to 0.01 cm) so that they match the inch values the analysis uses; English values stay.
void roundModuleThicknesses(CStenorDoc& work);

// One analysis of a project as View Output and Perform Analysis run it: the module's working
// copy prepared from the project, and the run over it.
struct ProjectRun {
    CStenorDoc work;  // the working copy after the run
    AnalysisRunOutcome outcome;
};
ProjectRun runProjectAnalysis(const CStenorDoc& project, const ResponseModelFactory& models,
                              const AnalysisRunOptions& options);

}  // namespace ardelon
