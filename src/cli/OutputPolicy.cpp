#include "cli/OutputPolicy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/CliSupport.h"
#include "project/ProjectJson.h"
#include "project/SafeText.h"
#include "trials/TrialFile.h"

namespace ardelon::cli {
namespace {

namespace fs = std::filesystem;

// What a name stands for: an existing file (device and inode) or the resolved path of a file
// still to be made.
struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    fs::path resolved;
    bool operator==(const Identity& other) const {
        if (exists != other.exists)
            return false;
        return exists ? device == other.device && inode == other.inode : resolved == other.resolved;
    }
};

[[noreturn]] void refuse(const std::string& argument, const std::string& path,
                         const std::string& why) {
    throw CommandError(
        kBadInput, argument + " \"" + echoedText(path) + "\": " + why + "; nothing was written.");
}

// Follows links from `path` to the name the file is (or will be) written under.
fs::path followLinks(const std::string& argument, const std::string& path) {
    fs::path name = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return name;
        std::error_code ec;
        const fs::path link = fs::read_symlink(name, ec);
        if (ec)
            refuse(argument, path, ec.message());
        name = link.is_absolute() ? link : name.parent_path() / link;
    }
    refuse(argument, path, std::generic_category().message(ELOOP));
}

Identity identityOf(const fs::path& name, bool followFinalLink) {
    Identity id;
    struct stat st {};
    const int found = followFinalLink ? ::stat(name.c_str(), &st) : ::lstat(name.c_str(), &st);
    if (found == 0) {
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        return id;
    }
    std::error_code ec;
    id.resolved = fs::weakly_canonical(fs::absolute(name, ec), ec);
    if (ec)
        id.resolved = fs::absolute(name, ec).lexically_normal();
    return id;
}

// The folder a new file is made in must exist and take files.
void checkFolderOf(const std::string& argument, const std::string& path, const fs::path& name) {
    const fs::path folder = name.has_parent_path() ? name.parent_path() : fs::path(".");
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        refuse(argument, path, "the folder \"" + echoedText(folder.string()) + "\" does not exist");
    if (!S_ISDIR(st.st_mode))
        refuse(argument, path, "\"" + echoedText(folder.string()) + "\" is not a folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0 && errno == EACCES)
        refuse(argument, path,
               "the folder \"" + echoedText(folder.string()) + "\" cannot take files");
}

// An existing file at the name written: a regular file that may be written, or a character
// device written directly; `linkReplaced`: a link at the name is itself replaced.
void checkWritable(const std::string& argument, const std::string& path, const fs::path& name,
                   bool linkReplaced) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) {
        checkFolderOf(argument, path, name);
        return;
    }
    if (S_ISLNK(st.st_mode) && linkReplaced) {
        checkFolderOf(argument, path, name);
        return;
    }
    if (::stat(name.c_str(), &st) != 0)  // a link to a file still to be made
        return checkFolderOf(argument, path, name);
    if (S_ISDIR(st.st_mode))
        refuse(argument, path, "it is a folder");
    if (S_ISCHR(st.st_mode) && !linkReplaced)
        return;
    if (!S_ISREG(st.st_mode))
        refuse(argument, path, "it is not a regular file");
    if ((st.st_mode & 0222) == 0 || (::access(name.c_str(), W_OK) != 0 && errno == EACCES))
        refuse(argument, path, "the file is read-only");
    checkFolderOf(argument, path, name);
}

bool projectName(const std::string& path) {
    const std::string ext = fs::path(path).extension().string();
    return ext == ".ard" || ext == ".json" || ext == ".ARD" || ext == ".JSON";
}

}  // namespace

OutputPlan& OutputPlan::input(std::string argument, const std::string& path) {
    if (!path.empty())
        entries_.push_back({std::move(argument), path, Kind::Input});
    return *this;
}

OutputPlan& OutputPlan::projectInput(std::string argument, const std::string& path) {
    if (path.empty())
        return *this;
    input(argument, path);
    if (!hasJsonExtension(path))
        entries_.push_back({argument + " (its trials file)", trialsFilePath(path), Kind::Input});
    return *this;
}

OutputPlan& OutputPlan::output(std::string argument, const std::string& path) {
    if (!path.empty())
        entries_.push_back({std::move(argument), path, Kind::Output});
    return *this;
}

OutputPlan& OutputPlan::projectOutput(std::string argument, const std::string& path) {
    if (path.empty())
        return *this;
    entries_.push_back({argument, path, Kind::Project});
    if (!hasJsonExtension(path))
        entries_.push_back({argument + " (its trials file)", trialsFilePath(path), Kind::Trials});
    return *this;
}

OutputPlan& OutputPlan::generatedFiles(std::string argument, const std::string& folder,
                                       std::span<const char* const> names) {
    if (folder.empty())
        return *this;
    for (const char* name : names)
        entries_.push_back({argument, (fs::path(folder) / name).string(), Kind::Generated});
    return *this;
}

void OutputPlan::check() const {
    struct Checked {
        const Entry* entry;
        Identity identity;
        fs::path name;  // the name written: links followed, or the generated name itself
        bool inPlace = false;
    };
    std::vector<Checked> inputs, outputs;
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Input)
            inputs.push_back({&e, identityOf(e.path, true), e.path});
    }
    // Clashes first, so that two names of one file are reported as such.
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Input)
            continue;
        const bool inPlace = (e.kind == Kind::Project || e.kind == Kind::Trials) &&
                             std::any_of(inputs.begin(), inputs.end(), [&](const Checked& i) {
                                 return i.entry->argument == e.argument;
                             });
        const bool generated = e.kind == Kind::Generated;
        if (generated) {
            const fs::path folder = fs::path(e.path).parent_path();
            struct stat st {};
            if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
                refuse(e.argument, folder.string(), "it is not an existing folder");
        }
        const fs::path name = generated ? fs::path(e.path) : followLinks(e.argument, e.path);
        const Identity id = identityOf(name, !generated);
        for (const auto* others : {&inputs, &outputs}) {
            for (const Checked& other : *others) {
                if (other.entry->argument == e.argument && (inPlace || generated))
                    continue;
                if (other.identity == id) {
                    throw CommandError(kBadInput, e.argument + " and " + other.entry->argument +
                                                      " name the same file \"" +
                                                      echoedText(e.path) +
                                                      "\"; nothing was written.");
                }
            }
        }
        outputs.push_back({&e, id, name, inPlace});
    }
    for (const Checked& o : outputs) {
        const Entry& e = *o.entry;
        checkWritable(e.argument, e.path, o.name, e.kind == Kind::Generated);
        if (e.kind == Kind::Project && !o.inPlace && !projectName(e.path)) {
            throw CommandError(kBadInput, e.argument + " " + echoedText(e.path) +
                                              ": the project must be .ard or .json.");
        }
    }
}

}  // namespace ardelon::cli
