#pragma once
// The integrals the march forms for each point: the vertical and the two horizontal displacements,
// the three normal stresses and the three shears.

namespace ardelon::layered {

enum Slot : int { W = 0, UX, UY, SX, SY, SZ, TYZ, TXZ, TXY };

}  // namespace ardelon::layered
