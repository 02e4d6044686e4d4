#pragma once
// Judging one cycle's responses against the evaluated criteria: critical values, exceedances,
// fatigue and rutting damage through the transfer functions, strain-distribution levels.

#include "project/CStenorDoc.h"
#include "reliability/AnalysisResults.h"
#include "reliability/CycleGeometry.h"
#include "solver/LayerSystem.h"

namespace ardelon {

// Evaluates one cycle's responses against the evaluated slots: the critical values in
// results.cycleValues[0 .. slots.count) and the damage the cycle adds in
// results.cycleDamage[0 .. slots.count), exceedance counts, damage through k1 and k2 (divided by
// N), and the strain-distribution level counts.
// The response rows a criterion reads (its judged rows, which its damage reads too): all a cycle
// asks of the solver at the criterion's points.
ResponseMask criterionResponses(const CriterionSlot& criterion);

void evaluateCycle(const CriterionSlots& criteria, const EvaluatedSlots& slots,
                   const ResponseTable& table, int cycles, AnalysisResults& results);

}  // namespace ardelon
