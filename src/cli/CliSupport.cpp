#include "cli/CliSupport.h"

#include <sys/stat.h>

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

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists || secondExists) {
        return firstExists && secondExists && first.st_dev == second.st_dev &&
               first.st_ino == second.st_ino;
    }
    std::error_code ec1, ec2;
    const auto resolvedA =
        std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec1), ec1);
    const auto resolvedB =
        std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec2), ec2);
    return !ec1 && !ec2 && resolvedA == resolvedB;
}

}  // namespace

void refuseSameFile(const NamedFile& output, std::initializer_list<NamedFile> others) {
    if (output.path.empty())
        return;
    for (const NamedFile& other : others) {
        if (!other.path.empty() && sameFile(output.path, other.path)) {
            throw CommandError(kBadInput, std::string(output.argument) + " and " + other.argument +
                                              " name the same file \"" + output.path +
                                              "\"; nothing was written.");
        }
    }
}

}  // namespace ardelon::cli
