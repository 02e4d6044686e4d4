#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/OutputPolicy.h"

#include "project/ProjectJson.h"

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

void writeProjectOrThrow(const CStenorDoc& doc, const std::string& path) {
    if (FileResult result = storeProject(doc, path); !result.ok()) {
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
