#pragma once
// The two unit questions of a project, asked one way everywhere.

#include "project/CStenorDoc.h"

namespace ardelon {

// Whether the project is shown in English units (the unit commands choose), and whether its
// display-unit fields hold English values (they follow once the Structure module converts
// them). Labels and shown values ask the first; reading a held thickness or modulus, the second.
inline bool shownInEnglish(const CStenorDoc& doc) {
    return doc.unitSystem != Metric;
}
inline bool heldInEnglish(const CStenorDoc& doc) {
    return doc.valuesInEnglish != 0;
}

}  // namespace ardelon
