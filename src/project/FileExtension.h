#pragma once
// The extension a file chooser gives a name typed without one.

#include <string>
#include <string_view>

namespace ardelon {

// The extension of the chooser filter's first entry, from the pattern it filters on: ".ad" for
// "Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||", ".lsf" for
// "Load Spectra Files (*.lsf);;All Files (*.*)"; "" when that entry takes any file.
std::string chooserExtension(std::string_view filter);

// `path` with `extension` appended when its file name has no extension of its own.
std::string withDefaultExtension(const std::string& path, std::string_view extension);

}  // namespace ardelon
