#pragma once

#include "RoutineRefusal.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sweepdraw {

// A punctuator's characters, at most three, as one number that compares
// at once.
constexpr std::uint32_t punctCode(std::string_view text)
{
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < text.size() && i < 4; ++i)
        code |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return code;
}

struct Token
{
    enum class Kind : std::uint8_t { Word, Int, Long, Float, Double, Punct, Include, End };
    Kind kind = Kind::End;
    std::uint32_t code = 0; // a Punct's punctCode()
    // As spelled, splices removed; an include's header with its quotes or
    // angle brackets ("\"Sweep.h\"", "<cmath>").
    std::string_view text;
    int line = 0;
    std::uint32_t offset = 0; // in the text with splices removed
    union {
        long long integer;
        float single;
        double real;
    } value{};
};

// A routine's text as C++'s first phases of translation read it: a UTF-8
// byte order mark dropped, CR LF and a lone CR read as a line's end, and a
// backslash at a line's end (blanks after it allowed, as GCC allows them)
// joining the line to the next, wherever it is, a // comment included.
// Positions are kept as they were in the file: a line counts every line's
// end, a column counts display columns as GCC does (a tab to the next
// multiple of 8, a wide character two, a combining mark none).
class RoutineSource final
{
public:
    // `file` is kept, not copied, where nothing is removed from it: it
    // must outlive the source, which a temporary would not.
    explicit RoutineSource(const std::string &file);
    explicit RoutineSource(std::string &&) = delete;

    // The text with splices and the byte order mark removed and every
    // line's end a '\n'; a '\0' follows its last character.
    std::string_view text() const { return m_view; }

    // The line and column of `offset` in text().
    std::pair<int, int> location(std::uint32_t offset) const;
    // How many lines' ends text() has lost before `offset`: asked of every
    // token, of a text that seldom has any removed.
    int joinedBefore(std::uint32_t offset) const { return m_removals.empty() ? 0 : joinedInRemovals(offset); }
    bool anyRemoved() const { return !m_removals.empty(); }

    [[noreturn]] void refuse(std::uint32_t offset, FaultKind fault,
                             std::initializer_list<std::string> values = {}) const;

private:
    int joinedInRemovals(std::uint32_t offset) const;

    struct Removal
    {
        std::uint32_t at;       // in text()
        std::uint32_t bytes;    // removed from the file there
        bool joinsLines;
    };

    std::string_view m_file;
    std::string m_text; // where anything is removed
    std::string_view m_view;
    std::vector<Removal> m_removals;
};

// Splits a routine's text into `tokens`, emptied first; refuses a
// character, comment or number C++ would not read, or one outside the
// language.
void tokenize(const RoutineSource &source, std::vector<Token> &tokens);

} // namespace sweepdraw
