#pragma once
// The `--vary LAYER=MIN:MAX[:STEP]` option of `design`: the layer as a whole number, the
// thicknesses in the units the project's values are held in, the step 0.5 in. or 1 cm unless
// given.

#include <string>

#include "design/DesignGrid.h"
#include "project/CStenorDoc.h"

namespace ardelon::cli {

// Throws CommandError (bad input) naming the option for text that is not LAYER=MIN:MAX[:STEP]
// with decimal numbers and a layer 1 to 5; the grid's own rules are checkDesignGrid's.
VaryRange parseVary(const std::string& text, const CStenorDoc& project);

}  // namespace ardelon::cli
