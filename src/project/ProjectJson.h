#pragma once
// The project as a JSON document, for scripting and review: {"format": "ardelon-project",
// "version": 1, ...} with every saved field under its own name. Doubles are written so that they
// read back bit-identical, so JSON -> .ard -> JSON and .ard -> JSON -> .ard lose nothing.

#include <string>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"

namespace ardelon {

std::string projectToJson(const CStenorDoc& doc);
// Reads a whole project document into `doc`. Every saved field must be present with its type
// and array length; unknown fields are refused. On failure `doc` is unchanged and the message
// names the field, or the line and column of a syntax error.
FileResult projectFromJson(const std::string& text, CStenorDoc& doc);

// Reads a project from a ".json" or ".ard" file (by extension; anything else is read as .ard).
FileResult loadProject(const std::string& path, CStenorDoc& doc);
// Writes a project to a ".json" or ".ard" file (by extension).
FileResult storeProject(const CStenorDoc& doc, const std::string& path);

bool hasJsonExtension(const std::string& path);

}  // namespace ardelon
