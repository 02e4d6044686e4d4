#pragma once
// The project as the Output and Design module and every analysis run see it: the axle-type
// fractions taken from the configuration shares and the thicknesses as the module shows them.

#include "project/CStenorDoc.h"

namespace ardelon {

// Sets axleTypeFraction[c] = configurationPercent[c] × 0.01 (done even if the module is then
// cancelled).
void prepareViewOutput(CStenorDoc& project);

// The thicknesses as the module shows them: metric values are rounded through inches (to 0.01 in.
// and back to 0.01 cm) so that they match the inch values the analysis uses; English values stay.
void roundModuleThicknesses(CStenorDoc& work);

}  // namespace ardelon
