#pragma once

#include <string>

#include "project/CStenorDoc.h"

namespace ardelon::cli {

// A readable summary of a project: layers, seasons, traffic and active criteria.
std::string projectSummary(const CStenorDoc& doc);

}  // namespace ardelon::cli
