#pragma once
// File helpers shared by the tests: a fresh scratch folder, folder listings, whole-file reads and
// writes, text lines, and a close that fails.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ardelon::testing {

// An empty folder under the system's temporary folder (emptied if a previous run left it).
inline std::filesystem::path scratchDir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / ("ardelon-test-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The names in a folder.
inline std::set<std::string> listing(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Lines ended by LF (a CR before it stays in the line).
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Lines ended by CR LF; a last line without its ending is kept.
inline std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

// A stream closer (see setStreamCloserForTesting) that closes the file but reports an I/O error, as
// a full or failing disk would.
inline int failingClose(std::FILE* stream) {
    std::fclose(stream);
    errno = EIO;
    return EOF;
}

}  // namespace ardelon::testing
