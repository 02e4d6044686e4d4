#pragma once
// How the View Output command hands the project to the Output and Design module and takes it
// back: the axle-type fractions are set from the configuration shares, the module works on a copy,
// and only after "Leave Module" are the module's fields copied back.

#include "project/CStenorDoc.h"

namespace ardelon {

// Copies the fields the Output and Design module reads and writes from one project object to
// another: units flag and traffic input choice; the structure (layer count, materials,
// thicknesses, Poisson's ratios, interface bond, seasonal moduli, fatigue layer); seasons;
// variability; traffic (volumes, growth, configurations, fractions, spectra and cumulative
// distributions, bin weights, contact radii, ESALs, totals, ESAL factor); the criterion slots with
// their damage; the transfer-function coefficients; the cost inputs and results; the module
// state of the last run; and the trial designs kept with the project.
void copyOutputModuleFields(const CStenorDoc& from, CStenorDoc& to);

}  // namespace ardelon
