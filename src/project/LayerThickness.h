#pragma once
// The thickness of a layer above the semi-infinite bottom, as every form that edits one takes
// it: 1 to 999 in., or the same span in centimetres when the project works in metric units.

#include <string_view>

#include "project/FieldHint.h"

namespace ardelon {

inline constexpr double kMinLayerThicknessInches = 1.0;
inline constexpr double kMaxLayerThicknessInches = 999.0;
inline constexpr double kMinLayerThicknessCm = 2.54;
inline constexpr double kMaxLayerThicknessCm = 2537.46;

inline HintRange layerThicknessRange(bool metric) {
    return metric ? HintRange{kMinLayerThicknessCm, kMaxLayerThicknessCm}
                  : HintRange{kMinLayerThicknessInches, kMaxLayerThicknessInches};
}
inline std::string_view layerThicknessUnit(bool metric) {
    return metric ? "cm" : "in.";
}

}  // namespace ardelon
