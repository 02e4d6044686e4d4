#pragma once
// Where a command may write, checked once before it reads, runs or writes anything. Every
// command lists the files it reads and the files it will write (each file of a figure set
// included) and calls check(); an output that
//   - is the same file as an input or as another output (device and inode, so links and other
//     spellings of a name are caught; files still to be made, by their resolved paths),
//   - lies in a folder that does not exist or cannot take files,
//   - is a folder, a read-only file, or not a regular file (a pipe, a socket, a block device;
//     a character device such as /dev/null or a terminal is written directly),
//   - or, for a project, does not end in .ard or .json (a project written back in place keeps
//     its name)
// is refused as bad input, naming the argument, and nothing is written. An .ard project's
// trials file beside it (trials/TrialFile.h) goes with the project: read with a project read,
// written with a project written, so no other output may replace it and its own name is checked
// like any output. A new output option (a PDF report, a comparison's files) only adds its file to
// the plan.

#include <span>
#include <string>
#include <vector>

namespace ardelon::cli {

class OutputPlan {
  public:
    // A file the command reads. Empty names are skipped, here and below.
    OutputPlan& input(std::string argument, const std::string& path);
    // A project the command reads, with its trials file when it is an .ard project.
    OutputPlan& projectInput(std::string argument, const std::string& path);
    // A file the command writes; a link at its name is followed and its target replaced.
    OutputPlan& output(std::string argument, const std::string& path);
    // A project the command writes: an output named .ard or .json. Written under the argument
    // of an input (PROJECT written in place), it is that input's own file and keeps its name.
    // An .ard project's trials file is written with it.
    OutputPlan& projectOutput(std::string argument, const std::string& path);
    // Files of the program's own names written into the existing folder `folder`; a link at
    // one of those names is replaced by the new file, never followed.
    OutputPlan& generatedFiles(std::string argument, const std::string& folder,
                               std::span<const char* const> names);

    // Throws CommandError (bad input) for the first output the policy refuses.
    void check() const;

  private:
    enum class Kind { Input, Output, Project, Trials, Generated };
    struct Entry {
        std::string argument;
        std::string path;
        Kind kind;
    };
    std::vector<Entry> entries_;
};

}  // namespace ardelon::cli
