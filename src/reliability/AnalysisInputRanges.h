#pragma once
// Whether a project's structure lies within the layered elastic solver's input ranges, as the
// analysis will pass it: checked before the first cycle, so that no input can make a run endless
// or fill it with responses that are not numbers.

#include <string>

#include "project/CStenorDoc.h"

namespace ardelon {

inline constexpr std::string_view kInputOutOfRangeCaption = "Input Out of Range";

// Empty when the run may start, else a message naming the project field, the layer and the
// range. Checked as the run uses them: the seasonal moduli of layers 1 to n in every season that
// can be drawn (raised to the 1000 psi floor first), the Poisson's ratios of all five layers and
// the bond factors of the three interfaces the solver reads, and the thicknesses of layers 1 to
// n - 1 in inches (raised to the 1 in. floor first). Thicknesses below the last layer are not
// used.
std::string analysisInputRangeProblem(const CStenorDoc& work);

}  // namespace ardelon
