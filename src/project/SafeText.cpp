#include "project/SafeText.h"

namespace ardelon {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The code point starting at `text[i]` and its length in bytes; kInvalid and 1 for a byte that
// does not start a well-formed sequence (overlong forms, surrogates and values past U+10FFFF
// included).
char32_t decode(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char first = byte(0);
    length = 1;
    if (first < 0x80)
        return first;
    std::size_t count = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((first & 0xE0) == 0xC0) {
        count = 2, code = first & 0x1F, minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        count = 3, code = first & 0x0F, minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        count = 4, code = first & 0x07, minimum = 0x10000;
    } else {
        return kInvalid;
    }
    if (i + count > text.size())
        return kInvalid;
    for (std::size_t k = 1; k < count; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return kInvalid;
        code = (code << 6) | (byte(k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kInvalid;
    length = count;
    return code;
}

template <typename Visit>
void forEachCharacter(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const char32_t code = decode(text, i, length);
        if (!visit(code, text.substr(i, length)))
            return;
        i += length;
    }
}

bool isControl(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    bool valid = true;
    forEachCharacter(text, [&](char32_t code, std::string_view) {
        valid = code != kInvalid;
        return valid;
    });
    return valid;
}

std::string repairedUtf8(std::string_view text) {
    std::string out;
    forEachCharacter(text, [&](char32_t code, std::string_view bytes) {
        out += code == kInvalid ? kReplacement : bytes;
        return true;
    });
    return out;
}

std::string xmlSafeText(std::string_view text) {
    std::string out;
    forEachCharacter(text, [&](char32_t code, std::string_view bytes) {
        const bool allowed = code != kInvalid && code != 0xFFFE && code != 0xFFFF &&
                             (code >= 0x20 || code == '\t' || code == '\n' || code == '\r');
        out += allowed ? bytes : kReplacement;
        return true;
    });
    return out;
}

std::string echoedText(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    std::size_t characters = 0;
    forEachCharacter(text, [&](char32_t code, std::string_view bytes) {
        if (characters == maxCharacters) {
            out += "...";
            return false;
        }
        ++characters;
        if (code == kInvalid)
            out += kReplacement;
        else if (isControl(code))
            out += '?';
        else
            out += bytes;
        return true;
    });
    return out;
}

}  // namespace ardelon
