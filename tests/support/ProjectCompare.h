#pragma once
// Comparing projects in tests: a failed comparison names the fields that differ.

#include <string>

#include "project/CStenorDoc.h"

namespace ardelon::testing {

// "" when the projects are equal, else "differs in thickness[2], aadt".
std::string projectDifferences(const CStenorDoc& actual, const CStenorDoc& expected);

}  // namespace ardelon::testing
