#pragma once
// The weight class each load bin stands for, as the Load Spectra module, the report and the
// load spectra chart label it. Bin k holds axle loads from 2k to 2k + 2 kips.

#include <array>
#include <string>

#include "project/Enumerations.h"

namespace ardelon {

// The English weight-class label of a load bin (0 to 55): "0-2", "2-4", ..., "108-110", "110+".
std::string englishBinLabel(int bin);

// Bin labels beside the Load Spectra module's edits, on the load spectra charts and in the
// figures: the English labels in English units; in metric units the same bins in whole kN,
// "0-9", "9-18", ..., "480-489", "489+".
std::array<std::string, kBinCount> binLabelsFor(int unitSystem);

}  // namespace ardelon
