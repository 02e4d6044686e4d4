#include "project/FileExtension.h"

#include <filesystem>

namespace ardelon {

std::string chooserExtension(std::string_view filter) {
    std::string_view pattern;
    if (const auto bar = filter.find('|'); bar != std::string_view::npos) {
        // Windows style: names and patterns alternate between bars.
        const std::string_view rest = filter.substr(bar + 1);
        pattern = rest.substr(0, rest.find('|'));
    } else {
        // Qt style: the pattern in the first entry's brackets.
        const std::string_view first = filter.substr(0, filter.find(";;"));
        const auto open = first.find('(');
        const auto close = first.find(')', open == std::string_view::npos ? 0 : open);
        if (open == std::string_view::npos || close == std::string_view::npos)
            return {};
        pattern = first.substr(open + 1, close - open - 1);
    }
    // The first of "*.x *.y", trimmed.
    pattern = pattern.substr(0, pattern.find_first_of(" ;"));
    while (!pattern.empty() && pattern.front() == ' ')
        pattern.remove_prefix(1);
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*." || pattern == "*.*")
        return {};
    return std::string(pattern.substr(1));
}

std::string withDefaultExtension(const std::string& path, std::string_view extension) {
    if (path.empty() || extension.empty() || std::filesystem::path(path).has_extension())
        return path;
    return path + std::string(extension);
}

}  // namespace ardelon
