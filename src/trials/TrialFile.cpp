#include "trials/TrialFile.h"

#include <sys/stat.h>

#include <cerrno>

#include "project/ProjectJson.h"
#include "trials/TrialJson.h"

namespace ardelon {
namespace {

bool endsWith(const std::string& s, const char* suffix) {
    const std::string end = suffix;
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

// Reads the file beside a project; `problem` says why it is not a trials file.
FileResult readTrialsFile(const std::string& path, std::vector<Trial>& trials) {
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        return read;
    if (FileResult parsed = trialsFromFileText(std::string(bytes.begin(), bytes.end()), trials);
        !parsed.ok()) {
        return {"\"" + path + "\": " + parsed.error};
    }
    return {};
}

}  // namespace

std::string trialsFilePath(const std::string& projectPath) {
    std::string base = projectPath;
    if (endsWith(base, ".ard") || endsWith(base, ".ARD"))
        base.resize(base.size() - 4);
    return base + ".trials.json";
}

FileResult projectTrials(const CStenorDoc& doc, std::vector<Trial>& trials) {
    return trialsFromText(doc.trials, trials);
}

void setProjectTrials(CStenorDoc& doc, const std::vector<Trial>& trials) {
    doc.trials = trialsToText(trials);
}

FileResult openTrials(const std::string& projectPath, CStenorDoc& doc) {
    std::vector<Trial> trials;
    if (hasJsonExtension(projectPath)) {
        if (FileResult read = projectTrials(doc, trials); !read.ok())
            return {"The trials kept in \"" + projectPath + "\" cannot be read (" + read.error +
                    "). They are kept unchanged in the file."};
        return {};
    }
    doc.trials.clear();
    const std::string path = trialsFilePath(projectPath);
    if (!exists(path))
        return {};
    if (FileResult read = readTrialsFile(path, trials); !read.ok()) {
        return {"The trials of this project cannot be read: " + read.error +
                " The project opens without them, and that file is left as it was."};
    }
    setProjectTrials(doc, trials);
    return {};
}

FileResult saveTrials(const std::string& projectPath, const CStenorDoc& doc) {
    if (hasJsonExtension(projectPath))
        return {};
    std::vector<Trial> trials;
    if (FileResult read = projectTrials(doc, trials); !read.ok())
        return read;
    const std::string path = trialsFilePath(projectPath);
    if (exists(path)) {
        std::vector<Trial> onDisk;
        if (FileResult read = readTrialsFile(path, onDisk); !read.ok()) {
            return {"The trials were not saved: " + read.error +
                    " It cannot be read as trials and is left as it was; mend or move it, "
                    "then save again."};
        }
    } else if (trials.empty()) {
        return {};
    }
    const std::string text = trialsFileText(trials);
    return writeFileReplacing(path, text.data(), text.size());
}

}  // namespace ardelon
