#pragma once
// What every command of ardelon-cli shares: the exit statuses and reading/writing projects.

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "project/CStenorDoc.h"

namespace ardelon::cli {

enum ExitStatus : int { kSuccess = 0, kFailure = 1, kBadInput = 2, kNoPassingDesign = 3 };

// Thrown by a command to end with a message on stderr and the given status.
class CommandError : public std::runtime_error {
  public:
    CommandError(ExitStatus status, const std::string& message)
        : std::runtime_error(message), status(status) {}
    ExitStatus status;
};

// Reads a project (.ard or .json); a file that cannot be read or is not a project is bad input.
CStenorDoc readProjectOrThrow(const std::string& path);
// The same with the trials kept with it, for a command that writes the project: an .ard
// project's trials file beside it that cannot be read as trials is bad input as well.
CStenorDoc readProjectWithTrialsOrThrow(const std::string& path);
// Refuses (bad input) writing `doc` as `path` when its trials cannot be kept there
// (trialsFileToWrite): called before a long run whose result is written.
void checkTrialsBesideOrThrow(const CStenorDoc& doc, const std::string& path);
// Writes a project (.ard or .json) with its trials: a JSON project holds them, an .ard
// project's go to the file beside it, written together. Refused as above; a failure to write
// is a failure, not bad input.
void writeProjectOrThrow(const CStenorDoc& doc, const std::string& path);

// Flushes the standard output; empty when everything written so far reached it, else the
// system's reason ("No space left on device").
std::string standardOutputFailure();

// A file named on the command line, with the argument that names it ("PROJECT", "--raw").
struct NamedFile {
    const char* argument;
    const std::string& path;
};
// Refuses (bad input) an output that is the same file as another file of the command, or one
// the output policy refuses (cli/OutputPolicy.h, which new code uses directly).
void refuseSameFile(const NamedFile& output, std::initializer_list<NamedFile> others);

}  // namespace ardelon::cli
