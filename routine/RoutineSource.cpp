#include "Lexer.h"

#include <algorithm>
#include <array>

namespace sweepdraw {

namespace {

// The blanks GCC allows between a backslash and the line's end it joins.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

// The character at `at` and the length of its UTF-8 sequence (the file is
// known to be valid UTF-8).
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]) & 0x3fu; };
    const unsigned first = static_cast<unsigned char>(text[at]);
    if (first < 0x80)
        return {first, 1};
    if (first < 0xe0)
        return {(first & 0x1fu) << 6 | byte(1), 2};
    if (first < 0xf0)
        return {(first & 0x0fu) << 12 | byte(1) << 6 | byte(2), 3};
    return {(first & 0x07u) << 18 | byte(1) << 12 | byte(2) << 6 | byte(3), 4};
}

// How many columns GCC gives a character: after wcwidth, two for the wide
// East Asian characters, none for the combining marks.
int displayWidth(char32_t c)
{
    struct Range
    {
        char32_t first, last;
    };
    constexpr std::array<Range, 6> kNone = {{
        {0x0300, 0x036f}, {0x200b, 0x200f}, {0x20d0, 0x20ff}, {0xfe00, 0xfe0f}, {0xfe20, 0xfe2f}, {0xfeff, 0xfeff},
    }};
    constexpr std::array<Range, 15> kWide = {{
        {0x1100, 0x115f}, {0x2e80, 0x303e}, {0x3041, 0x33ff}, {0x3400, 0x4dbf}, {0x4e00, 0x9fff},
        {0xa000, 0xa4cf}, {0xac00, 0xd7a3}, {0xf900, 0xfaff}, {0xfe30, 0xfe4f}, {0xff00, 0xff60},
        {0xffe0, 0xffe6}, {0x1f300, 0x1f64f}, {0x1f900, 0x1f9ff}, {0x20000, 0x2fffd}, {0x30000, 0x3fffd},
    }};
    const auto within = [c](const Range &range) { return c >= range.first && c <= range.last; };
    if (std::any_of(kNone.begin(), kNone.end(), within))
        return 0;
    return std::any_of(kWide.begin(), kWide.end(), within) ? 2 : 1;
}

} // namespace

RoutineSource::RoutineSource(const std::string &whole)
    : m_file(whole)
    , m_view(whole)
{
    const std::string_view file = m_file;
    std::size_t at = 0;
    if (file.substr(0, 3) == "\xef\xbb\xbf") {
        m_removals.push_back({0, 3, false});
        at = 3;
    }
    // The next CR and the next backslash, each looked for again only once
    // passed.
    const auto nextOf = [&](char c, std::size_t from) { return std::min(file.find(c, from), file.size()); };
    std::size_t nextReturn = nextOf('\r', at);
    std::size_t nextBackslash = nextOf('\\', at);
    if (at == 0 && nextReturn == file.size() && nextBackslash == file.size())
        return;
    m_text.reserve(file.size());
    while (at < file.size()) {
        // The plain text up to the next CR or backslash, copied at once.
        if (nextReturn < at)
            nextReturn = nextOf('\r', at);
        if (nextBackslash < at)
            nextBackslash = nextOf('\\', at);
        const std::size_t plain = std::min(nextReturn, nextBackslash);
        m_text.append(file.substr(at, plain - at));
        at = plain;
        if (at == file.size())
            break;
        const char c = file[at];
        if (c == '\r') {
            const bool pair = at + 1 < file.size() && file[at + 1] == '\n';
            if (pair)
                m_removals.push_back({static_cast<std::uint32_t>(m_text.size()), 1, false});
            m_text += '\n';
            at += pair ? 2 : 1;
        } else if (c == '\\') {
            std::size_t end = at + 1;
            while (end < file.size() && isBlank(file[end]))
                ++end;
            const std::size_t lineEnd = end < file.size() && file[end] == '\r' && end + 1 < file.size()
                                                && file[end + 1] == '\n'
                                            ? 2
                                        : end < file.size() && (file[end] == '\n' || file[end] == '\r') ? 1
                                                                                                         : 0;
            if (lineEnd == 0) {
                m_text += c;
                ++at;
                continue;
            }
            m_removals.push_back(
                {static_cast<std::uint32_t>(m_text.size()), static_cast<std::uint32_t>(end + lineEnd - at), true});
            at = end + lineEnd;
        }
    }
    m_view = m_text;
}

int RoutineSource::joinedInRemovals(std::uint32_t offset) const
{
    int joined = 0;
    for (const Removal &removal : m_removals) {
        if (removal.at > offset)
            break;
        joined += removal.joinsLines ? 1 : 0;
    }
    return joined;
}

std::pair<int, int> RoutineSource::location(std::uint32_t offset) const
{
    std::size_t physical = offset;
    for (const Removal &removal : m_removals) {
        if (removal.at > offset)
            break;
        physical += removal.bytes;
    }
    physical = std::min(physical, m_file.size());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at < physical; ++at) {
        const char c = m_file[at];
        if (c == '\n' || (c == '\r' && !(at + 1 < m_file.size() && m_file[at + 1] == '\n'))) {
            ++line;
            lineStart = at + 1;
        }
    }
    if (lineStart == 0 && m_file.substr(0, 3) == "\xef\xbb\xbf")
        lineStart = 3;
    int column = 1;
    for (std::size_t at = lineStart; at < physical;) {
        const auto [character, length] = decodeAt(m_file, at);
        column = character == '\t' ? (column - 1) / 8 * 8 + 9 : column + displayWidth(character);
        at += length;
    }
    return {line, column};
}

void RoutineSource::refuse(std::uint32_t offset, FaultKind fault, std::initializer_list<std::string> values) const
{
    const auto [line, column] = location(offset);
    refuseRoutine(line, column, fault, values);
}

} // namespace sweepdraw
