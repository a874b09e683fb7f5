#include "MessageText.h"

#include <cstdio>

namespace sweepdraw {

namespace {

// The length of the valid UTF-8 sequence at the start of `text`, and the
// character it encodes; 0 when the first byte begins none.
std::size_t decode(std::string_view text, char32_t &character)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned first = byte(0);
    std::size_t length = 0;
    char32_t least = 0;
    if (first < 0x80) {
        character = first;
        return 1;
    } else if (first >= 0xc2 && first < 0xe0) {
        length = 2;
        character = first & 0x1f;
        least = 0x80;
    } else if (first >= 0xe0 && first < 0xf0) {
        length = 3;
        character = first & 0x0f;
        least = 0x800;
    } else if (first >= 0xf0 && first < 0xf5) {
        length = 4;
        character = first & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        character = (character << 6) | (byte(i) & 0x3f);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (character < least || (character >= 0xd800 && character < 0xe000) || character > 0x10ffff)
        return 0;
    return length;
}

bool mustEscape(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0) // control characters
        || c == 0x061c || c == 0x200e || c == 0x200f // the Arabic letter mark, LRM and RLM
        || (c >= 0x202a && c <= 0x202e) // embeddings and overrides
        || (c >= 0x2066 && c <= 0x2069) // isolates
        || c == 0x2028 || c == 0x2029; // line and paragraph separators
}

} // namespace

std::string escapeForMessage(std::string_view utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size());
    char buffer[16];
    while (!utf8.empty()) {
        char32_t c = 0;
        const std::size_t length = decode(utf8, c);
        if (length == 0) {
            std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned char>(utf8.front()));
            escaped += buffer;
            utf8.remove_prefix(1);
            continue;
        }
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (mustEscape(c)) {
            std::snprintf(buffer, sizeof buffer, c < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(c));
            escaped += buffer;
        } else {
            escaped.append(utf8.substr(0, length));
        }
        utf8.remove_prefix(length);
    }
    return escaped;
}

} // namespace sweepdraw
