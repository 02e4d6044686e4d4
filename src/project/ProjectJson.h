#pragma once
// The project as a JSON document, for scripting and review: {"format": "ardelon-project",
// "version": 1, ...} with every saved field under its own name. Doubles are written so that they
// read back bit-identical, so JSON -> .ard -> JSON and .ard -> JSON -> .ard lose nothing.

#include <nlohmann/json.hpp>
#include <string>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"

namespace ardelon {

std::string projectToJson(const CStenorDoc& doc);
// Reads a whole project document into `doc`. Every saved field must be present with its type
// and array length; unknown fields are refused. On failure `doc` is unchanged and the message
// names the field, or the line and column of a syntax error.
FileResult projectFromJson(const std::string& text, CStenorDoc& doc);
// The same document as a JSON object, for documents that hold a project (a trial's inputs).
// A project read with a "trials" array keeps it, unread, in `doc.trials` and writes it back.
nlohmann::json projectJsonObject(const CStenorDoc& doc);
FileResult projectFromJsonObject(const nlohmann::json& root, CStenorDoc& doc);

// Reads a project from a ".json" or ".ard" file (by extension; anything else is read as .ard).
FileResult loadProject(const std::string& path, CStenorDoc& doc);
// Writes a project to a ".json" or ".ard" file (by extension).
FileResult storeProject(const CStenorDoc& doc, const std::string& path);

bool hasJsonExtension(const std::string& path);

}  // namespace ardelon
