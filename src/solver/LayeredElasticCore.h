#pragma once
// Numerical core of the layered elastic solver: Bessel functions, the layer coefficients of the
// Hankel-transform (Burmister) solution, the Boussinesq half-space part of layer-1 points and the
// principal values, one file each. Lengths are normalised by the thickness of layer 1, so the
// interface depths are z1 = 1 < z2 < z3 < z4 and the transform parameter m is dimensionless.

#include "solver/BesselFunctions.h"
#include "solver/HalfSpaceQuadrature.h"
#include "solver/InterfaceSystem.h"
#include "solver/MethodConstants.h"
#include "solver/PrincipalStresses.h"
