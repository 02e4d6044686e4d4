#pragma once
// The weight class each load bin stands for, as the Load Spectra module, the report and the
// load spectra chart label it. Bin k holds axle loads from 2k to 2k + 2 kips.

#include <array>
#include <string>

#include "project/Enumerations.h"

namespace ardelon {

// The English weight-class label of a load bin (0 to 55): "0-2", "2-4", ..., "108-110", "110+".
std::string englishBinLabel(int bin);

// Bin labels beside the Load Spectra module's edits: the English labels in English units; the
// metric weight classes "0-9" ... "240+" for bins 0 to 27 and no label beyond.
std::array<std::string, kBinCount> binLabelsFor(int unitSystem);

// The load spectra chart's labels: the module's labels, and in metric units the kN range of each
// bin the module leaves unlabelled ("249-258" ... "489+").
std::array<std::string, kBinCount> chartBinLabels(int unitSystem);

}  // namespace ardelon
