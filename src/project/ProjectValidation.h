#pragma once
// The one check every project passes where it is read (project file or JSON document), so that no
// consumer (dialog, summary, analysis, report) can index outside a table with a value from a file.
//
// Index fields that the input modules already bring back into their lists when they open (a
// foreign file may hold anything there) are clamped the same way here, so every consumer sees
// the same value: layerCountIndex to 0..3, a currentSeason outside the five seasons to Summer,
// the PG grades to the nearest end of their lists, a material position outside its layer's list
// to Other, a currentConfiguration outside the four configurations to Single.
//
// Values that only a damaged file can hold are refused: the unit flags and the distribution
// kinds other than 0 or 1, and season durations outside 0 to 52 weeks.

#include <string>

#include "project/CStenorDoc.h"

namespace ardelon {

// Clamps and checks `doc` as above. Empty when the project is usable, else a message naming the
// field ("field \"seasonWeeks[1]\": 2147483647 weeks lies outside 0 to 52"); the caller then
// discards `doc` (it may be partly clamped).
std::string normalizeReadProject(CStenorDoc& doc);

}  // namespace ardelon
