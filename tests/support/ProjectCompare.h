#pragma once
// Projects in tests: a comparison that names the fields that differ, and a project in which
// every field differs from the defaults, to see exactly which fields a command keeps.

#include <string>

#include "project/CStenorDoc.h"

namespace ardelon::testing {

// "" when the projects are equal, else "differs in thickness[2], aadt".
std::string projectDifferences(const CStenorDoc& actual, const CStenorDoc& expected);

// Every field of the project, fixed tables included, changed from its default value (flags and
// choices to another valid value).
CStenorDoc everyFieldChanged();

}  // namespace ardelon::testing
