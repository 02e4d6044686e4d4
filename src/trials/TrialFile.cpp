#include "trials/TrialFile.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "project/ProjectJson.h"
#include "project/ReplacingFile.h"
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

std::string withoutFinalStop(std::string text) {
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
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

FileResult readTrialsBeside(const std::string& projectPath, CStenorDoc& doc) {
    std::vector<Trial> trials;
    const std::string path = trialsFilePath(projectPath);
    if (exists(path)) {
        if (FileResult read = readTrialsFile(path, trials); !read.ok())
            return read;
    }
    setProjectTrials(doc, trials);
    return {};
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
    if (FileResult read = readTrialsBeside(projectPath, doc); !read.ok()) {
        return {"The trials of this project cannot be read: " + read.error +
                " The project opens without them, and that file is left as it was."};
    }
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

FileResult trialsFileToWrite(const std::string& projectPath, const CStenorDoc& doc,
                             TrialsFileWrite& write) {
    write = {};
    if (hasJsonExtension(projectPath))
        return {};
    std::vector<Trial> trials;
    if (FileResult read = projectTrials(doc, trials); !read.ok()) {
        return {"The project's trials cannot be read (" + read.error +
                "), so they cannot be kept beside \"" + projectPath + "\""};
    }
    const std::string path = trialsFilePath(projectPath);
    if (exists(path)) {
        std::vector<Trial> there;
        if (FileResult read = readTrialsFile(path, there); !read.ok()) {
            return {"The trials file beside \"" + projectPath + "\" cannot be read: " +
                    withoutFinalStop(read.error) + "; mend it or move it away first"};
        }
        if (trialsToText(there) == trialsToText(trials))
            return {};
        // Replacing them would lose them; leaving them would give them to the project written.
        if (!there.empty()) {
            const std::string count = std::to_string(there.size()) +
                                      (there.size() == 1 ? " other trial" : " other trials");
            return {"\"" + path + "\" holds " + count + ", which writing \"" + projectPath +
                    "\" would lose or take for its own; move that file away first"};
        }
    } else if (trials.empty()) {
        return {};
    }
    write = {path, trialsFileText(trials)};
    return {};
}

FileResult storeProjectWithTrials(const CStenorDoc& doc, const std::string& projectPath,
                                  const TrialsFileWrite& trials) {
    if (trials.path.empty())
        return storeProject(doc, projectPath);
    const std::vector<std::uint8_t> project = encodeProject(doc);
    const std::array<std::pair<const std::string*, std::string>, 2> files{{
        {&trials.path, trials.text},
        {&projectPath, std::string(project.begin(), project.end())},
    }};
    // Both complete beside their targets before either replaces the previous file.
    std::array<ReplacingFile, 2> written;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [path, text] = files[i];
        std::string reason = written[i].open(*path);
        if (reason.empty()) {
            errno = 0;
            int writeError = 0;
            if (std::fwrite(text.data(), 1, text.size(), written[i].stream()) != text.size())
                writeError = errno != 0 ? errno : EIO;
            reason = written[i].close(writeError);
        }
        if (!reason.empty())
            return {"Cannot save \"" + *path + "\": " + reason + "."};
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::string reason = written[i].commit(); !reason.empty())
            return {"Cannot save \"" + *files[i].first + "\": " + reason + "."};
    }
    return {};
}

}  // namespace ardelon
