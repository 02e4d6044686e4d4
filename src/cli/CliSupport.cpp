#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/OutputPolicy.h"

#include "project/ProjectJson.h"
#include "trials/TrialFile.h"

namespace ardelon::cli {

CStenorDoc readProjectOrThrow(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw CommandError(kBadInput, "Cannot open \"" + path + "\": it is a folder.");
    }
    CStenorDoc doc;
    if (FileResult result = loadProject(path, doc); !result.ok()) {
        const bool formatProblem = result.error == kUnexpectedFileFormat;
        throw CommandError(kBadInput, formatProblem ? path + ": " + result.error : result.error);
    }
    return doc;
}

CStenorDoc readProjectWithTrialsOrThrow(const std::string& path) {
    CStenorDoc doc = readProjectOrThrow(path);
    if (hasJsonExtension(path))
        return doc;
    if (FileResult read = readTrialsBeside(path, doc); !read.ok()) {
        std::string problem = read.error;
        if (problem.ends_with('.'))
            problem.pop_back();
        throw CommandError(kBadInput, "The trials kept beside \"" + path + "\" cannot be read: " +
                                          problem + "; nothing was written.");
    }
    return doc;
}

namespace {

TrialsFileWrite trialsBesideOrThrow(const CStenorDoc& doc, const std::string& path) {
    TrialsFileWrite write;
    if (FileResult checked = trialsFileToWrite(path, doc, write); !checked.ok())
        throw CommandError(kBadInput, checked.error + "; nothing was written.");
    return write;
}

}  // namespace

void checkTrialsBesideOrThrow(const CStenorDoc& doc, const std::string& path) {
    trialsBesideOrThrow(doc, path);
}

void writeProjectOrThrow(const CStenorDoc& doc, const std::string& path) {
    const TrialsFileWrite trials = trialsBesideOrThrow(doc, path);
    if (FileResult result = storeProjectWithTrials(doc, path, trials); !result.ok()) {
        throw CommandError(kFailure, result.error);
    }
}

std::string standardOutputFailure() {
    // The stream writes through the C library's buffer: flushing that first keeps the reason.
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    std::cout.flush();
    if (flushed && std::ferror(stdout) == 0 && std::cout.good())
        return {};
    return error != 0 ? std::generic_category().message(error) : "a write failed";
}

void refuseSameFile(const NamedFile& output, std::initializer_list<NamedFile> others) {
    OutputPlan plan;
    for (const NamedFile& other : others)
        plan.input(other.argument, other.path);
    plan.output(output.argument, output.path);
    plan.check();
}

}  // namespace ardelon::cli
