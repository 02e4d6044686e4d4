#pragma once
// Parsing of the program's JSON documents (projects, solver inputs) into a DOM without letting a
// library exception escape: every problem comes back as a message naming its line and column.

#include <nlohmann/json.hpp>
#include <string>

namespace ardelon {

// Parses the whole `text` into `out`. Empty on success, else "JSON syntax error at line 3,
// column 7" or, for a number beyond the range of a double (1e999), "JSON number out of range at
// line 3, column 12"; `out` is then unspecified.
std::string parseJsonText(const std::string& text, nlohmann::json& out);

// A double as JSON: a number when finite, else "NaN", "Infinity" or "-Infinity"; a NaN other than
// the default quiet NaN keeps its bits as "NaN:0x" followed by 16 hexadecimal digits, so that
// every double reads back bit for bit.
nlohmann::json realToJson(double value);
// Reads what realToJson writes; false when `node` is neither a number nor one of those strings.
bool realFromJson(const nlohmann::json& node, double& value);

}  // namespace ardelon
