#pragma once
// The project file (".ard"): a flat little-endian dump of the saved fields in one fixed order,
// exactly 6752 bytes, no header. Every field is encoded explicitly, never as a memory image.

#include <cstdint>
#include <string>
#include <vector>

#include "project/CStenorDoc.h"

namespace ardelon {

inline constexpr std::size_t kProjectFileSize = 6752;
inline constexpr const char* kProjectFileFilter = "Ardelon Files (*.ard)";
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";

// Outcome of a file operation: empty `error` on success, else a message for the user.
struct FileResult {
    std::string error;
    bool ok() const { return error.empty(); }
};

// The saved fields of a project as the 6752 bytes of its file.
std::vector<std::uint8_t> encodeProject(const CStenorDoc& doc);
// Reads the saved fields from file bytes into `doc`; fields that are not saved keep their
// values. Bytes beyond 6752 are ignored; an empty buffer changes nothing. A non-empty buffer
// shorter than 6752 bytes is refused with "Unexpected file format.", a damaged field (see
// normalizeReadProject) with a message naming it; either way `doc` is left untouched.
FileResult decodeProject(const std::vector<std::uint8_t>& bytes, CStenorDoc& doc);

// Writes the project file. The bytes go to a temporary file beside the target, which then
// replaces it, so a failed save never destroys the previous file.
FileResult saveProjectFile(const CStenorDoc& doc, const std::string& path);
// Opens a project file into `doc`; on failure `doc` is unchanged.
FileResult openProjectFile(const std::string& path, CStenorDoc& doc);

// Largest file any reader of the program takes: far above every file the program writes (a
// project file is 6752 bytes, a project document about 15 kB), and small enough to hold in memory.
inline constexpr std::size_t kMaxInputFileBytes = 4 * 1024 * 1024;

// Whole-file helpers shared by every reader and writer of the program's files: the message of a
// failure names the path and the system's reason. A file larger than `maxBytes` is refused
// without being read to its end.
FileResult readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                         std::size_t maxBytes = kMaxInputFileBytes);
FileResult writeFileReplacing(const std::string& path, const void* data, std::size_t size);

}  // namespace ardelon
