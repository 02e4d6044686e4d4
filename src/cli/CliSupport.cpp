#include "cli/CliSupport.h"

#include <filesystem>

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

}  // namespace ardelon::cli
