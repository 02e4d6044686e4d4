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

// Reads the trials file beside an .ard project into `doc.trials` (no file: no trials). A file
// that cannot be read as trials comes back naming it, and `doc` is unchanged.
FileResult readTrialsBeside(const std::string& projectPath, CStenorDoc& doc);

// The trials file that writing `doc` as the project `projectPath` puts beside it: `path` empty
// when there is nothing to write (a JSON project; no trials and no file; the file already holds
// exactly these trials). Refused, naming the file: `doc`'s trials cannot be read, or a file is
// there that cannot be read as trials or holds other trials, which would be lost or taken for
// this project's.
struct TrialsFileWrite {
    std::string path;
    std::string text;
};
FileResult trialsFileToWrite(const std::string& projectPath, const CStenorDoc& doc,
                             TrialsFileWrite& write);
// Writes `doc` as `projectPath` and `trials` beside it: both files are complete before either
// replaces its previous one. Nothing beside to write: storeProject.
FileResult storeProjectWithTrials(const CStenorDoc& doc, const std::string& projectPath,
                                  const TrialsFileWrite& trials);

}  // namespace ardelon
