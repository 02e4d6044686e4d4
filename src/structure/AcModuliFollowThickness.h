#pragma once
// The asphalt moduli of a pavement whose thicknesses changed, as the Structure module sets them:
// with Temperature Correction on, a thickness change of layer k recomputes the seasonal moduli of
// every AC layer from k down to layer 4 (Summer and every optional season in use) from the
// temperature at its new depth, one third into the layer. Moduli entered by hand (correction off)
// are kept.

#include "project/CStenorDoc.h"

namespace ardelon {

// Applies the rule to `doc` for a change of the thickness of layer `firstLayer` (1 to 4) and the
// layers below it; the displayed moduli follow the current season.
void followAcModuliFromLayer(CStenorDoc& doc, int firstLayer);

}  // namespace ardelon
