#pragma once
// The copy tables of the project's modules: which project fields a module works on. A module
// command copies these fields from the project into the module's working copy before the module
// opens and, only when the user accepts, the same fields back. A field outside a module's table
// is never touched by that module, whatever the module did to its copy.

#include "project/CStenorDoc.h"

namespace ardelon {

// Structure module: units, layers, interfaces, seasons and temperature, input variability, and
// the criterion slots without their analysis result (damagePerMillion) plus the endurance limit.
// Only the seasons the user can switch (Fall to Spring 2) travel; Summer is always in use.
void copyStructureFields(const CStenorDoc& from, CStenorDoc& to);

// Load Spectra module: traffic volumes, configurations, spectra and what is derived from them,
// the vehicle type distribution and the thirty library distributions.
void copyLoadSpectraFields(const CStenorDoc& from, CStenorDoc& to);

// Output and Design module: everything the analysis reads, the cost inputs, the criterion slots
// with their results and the results of the last run (the Output module state).
void copyViewOutputFields(const CStenorDoc& from, CStenorDoc& to);

// ESAL Data: the simple traffic input. Of the cumulative distributions only the Single row.
void copyEsalDataFields(const CStenorDoc& from, CStenorDoc& to);

// Transfer Functions: the coefficients K1 to K4.
void copyTransferFunctionFields(const CStenorDoc& from, CStenorDoc& to);

}  // namespace ardelon
