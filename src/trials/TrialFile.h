#pragma once
// Where the trials of a project are kept. A JSON project holds them in its own document (its
// "trials" array). An .ard project, whose file has no room for them, keeps them in a file beside
// it named after it: "design.ard" -> "design.trials.json", replaced safely on every save.
//
// A trials file that cannot be read is reported and never overwritten: the project opens
// without trials and a save refuses to replace that file until it is mended or moved away.

#include <string>
#include <vector>

#include "project/CStenorDoc.h"
#include "project/ProjectFile.h"
#include "trials/Trial.h"

namespace ardelon {

std::string trialsFilePath(const std::string& projectPath);

// Reads the trials of a project just opened from `projectPath` into `doc.trials` (an .ard
// project's from the file beside it; no file: no trials) and checks them. A problem comes back
// as the message to show; `doc.trials` of an .ard project is then empty.
FileResult openTrials(const std::string& projectPath, CStenorDoc& doc);

// Writes the trials of an .ard project beside it; a JSON project needs nothing (its document
// holds them). No trials and no file: nothing is written.
FileResult saveTrials(const std::string& projectPath, const CStenorDoc& doc);

// The trials of a project and setting them; reading fails when the kept text is damaged, and
// keeping new trials over it is then refused rather than losing it.
FileResult projectTrials(const CStenorDoc& doc, std::vector<Trial>& trials);
void setProjectTrials(CStenorDoc& doc, const std::vector<Trial>& trials);

}  // namespace ardelon
