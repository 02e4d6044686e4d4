#pragma once
// Small helpers shared by the files of the Structure module's dialog class.

#include <algorithm>
#include <cstddef>
#include <initializer_list>

#include "project/Rounding.h"
#include "structure/CStructureDlg.h"

namespace ardelon::structure_detail {

using Control = CStructureDlg::Control;

inline int toInt(Control c) {
    return static_cast<int>(c);
}
inline std::size_t at(int layerOrSeason) {
    return static_cast<std::size_t>(layerOrSeason);
}

inline Control pick(int index, std::initializer_list<Control> controls) {
    return *(controls.begin() + std::clamp(index, 0, static_cast<int>(controls.size()) - 1));
}

// Moduli shown in MPa keep three decimals: whole MPa would move a 50000 psi limit to 345 MPa
// (50038 psi) and turn the 50 psi minimum of Other into 0.
inline double roundHalfUpThreeDecimals(double value) {
    return roundHalfUpWhole(value * 1000.0) / 1000.0;
}

}  // namespace ardelon::structure_detail
