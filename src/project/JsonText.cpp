#include "project/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace ardelon {
namespace {

using nlohmann::json;

// The library's own DOM builder (from its detail namespace, the one json::parse uses), told not
// to throw and remembering where parsing stopped: an out_of_range error (a number beyond a
// double) carries no position of its own.
class PositionedDomParser : public nlohmann::detail::json_sax_dom_parser<json> {
  public:
    explicit PositionedDomParser(json& root) : json_sax_dom_parser(root, false) {}

    template <class Exception>
    bool parse_error(std::size_t position, const std::string& /*lastToken*/,
                     const Exception& /*error*/) {
        failedAt = position;
        outOfRange = std::is_same_v<Exception, json::out_of_range>;
        return false;
    }

    std::size_t failedAt = 0;
    bool outOfRange = false;
};

// Line and column (from 1) of a byte offset in the text.
std::string lineAndColumn(const std::string& text, std::size_t offset) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

constexpr const char* kNaNBitsPrefix = "NaN:0x";

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

std::string parseJsonText(const std::string& text, json& out) {
    json root;
    PositionedDomParser builder(root);
    bool parsed = false;
    try {
        parsed = json::sax_parse(text, &builder);
    } catch (const json::exception&) {
        // The builder does not throw; this only guards against a library that does.
        parsed = false;
    }
    if (!parsed) {
        // The parser counts the offending byte from 1.
        const std::size_t offset = builder.failedAt > 0 ? builder.failedAt - 1 : 0;
        return std::string(builder.outOfRange ? "JSON number out of range at "
                                              : "JSON syntax error at ") +
               lineAndColumn(text, offset);
    }
    out = std::move(root);
    return {};
}

json realToJson(double value) {
    if (std::isnan(value)) {
        const std::uint64_t bits = bitsOf(value);
        if (bits == bitsOf(std::numeric_limits<double>::quiet_NaN()))
            return "NaN";
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
        return std::string(kNaNBitsPrefix) + hex;
    }
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    return value;
}

bool realFromJson(const json& node, double& value) {
    if (node.is_number()) {
        value = node.get<double>();
        return true;
    }
    if (!node.is_string())
        return false;
    const std::string& s = node.get_ref<const std::string&>();
    if (s == "NaN") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (s == "Infinity" || s == "-Infinity") {
        value = s[0] == '-' ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
        return true;
    }
    const std::size_t prefix = std::strlen(kNaNBitsPrefix);
    if (s.size() != prefix + 16 || s.compare(0, prefix, kNaNBitsPrefix) != 0)
        return false;
    std::uint64_t bits = 0;
    const char* first = s.data() + prefix;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), bits, 16);
    if (ec != std::errc() || end != s.data() + s.size())
        return false;
    double decoded = 0;
    std::memcpy(&decoded, &bits, sizeof decoded);
    if (!std::isnan(decoded))
        return false;  // the bits of a NaN, nothing else
    value = decoded;
    return true;
}

}  // namespace ardelon
