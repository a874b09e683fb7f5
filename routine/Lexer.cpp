#include "Lexer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace sweepdraw {

namespace {

// What each byte may be, looked up once per character rather than
// compared with each of a list.
enum CharClass : std::uint8_t {
    WordStart = 1,
    Digit = 2,
    Blank = 4,
    Punct = 8,     // an operator or separator of one character
    Alone = 16,    // a bracket or separator, which begins no longer operator
    Continues = 32, // may be the second character of a longer operator
    LineEnd = 64,
};

constexpr std::array<std::uint8_t, 256> kClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    const auto mark = [&](std::string_view characters, std::uint8_t cls) {
        for (const char c : characters)
            classes[static_cast<unsigned char>(c)] |= cls;
    };
    for (char c = 'a'; c <= 'z'; ++c)
        classes[static_cast<unsigned char>(c)] |= WordStart;
    for (char c = 'A'; c <= 'Z'; ++c)
        classes[static_cast<unsigned char>(c)] |= WordStart;
    mark("_", WordStart);
    mark("0123456789", Digit);
    mark(" \t\f\v", Blank);
    mark("(){}[]<>,;.&*/+-=%!?:|^~", Punct);
    mark("(){}[],;?~", Alone);
    mark("=<>.:+-&|", Continues);
    mark("\n", LineEnd);
    return classes;
}();

bool is(char c, std::uint8_t classes)
{
    return (kClasses[static_cast<unsigned char>(c)] & classes) != 0;
}

bool isWordStart(char c)
{
    return is(c, WordStart);
}

bool isDigit(char c)
{
    return is(c, Digit);
}

bool isBlank(char c)
{
    return is(c, Blank);
}

// The length of the UTF-8 sequence that begins with `first` (the file is
// known to be valid UTF-8).
std::size_t sequenceLength(char first)
{
    const unsigned byte = static_cast<unsigned char>(first);
    return byte < 0x80 ? 1 : byte < 0xe0 ? 2 : byte < 0xf0 ? 3 : 4;
}

// The C locale, whatever the program's, for reading numbers.
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

class Lexer final
{
public:
    explicit Lexer(const RoutineSource &source)
        : m_source(source)
        , m_text(source.text())
    {
    }

    void tokens(std::vector<Token> &tokens)
    {
        tokens.clear();
        tokens.reserve(m_text.size() / 3 + 1);
        // Lines are joined only where anything was removed.
        const bool removals = m_source.anyRemoved();
        bool lineStart = true;
        for (;;) {
            lineStart = skipSpaceAndComments(lineStart);
            Token &token = tokens.emplace_back();
            token.offset = static_cast<std::uint32_t>(m_at);
            token.line = removals ? m_line + m_source.joinedBefore(token.offset) : m_line;
            if (m_at == m_text.size())
                return;
            if (peek() == '#') {
                if (!lineStart)
                    refuse(FaultKind::OnlyIncludes);
                include(token);
            } else {
                next(token);
            }
            lineStart = false;
        }
    }

private:
    // The text is followed by a '\0' (RoutineSource keeps it in a string),
    // of no class: nothing reads on past a '\0', so no read goes beyond it.
    char peek(std::size_t ahead = 0) const { return m_text.data()[m_at + ahead]; }

    [[noreturn]] void refuse(FaultKind fault, std::initializer_list<std::string> values = {}) const
    {
        m_source.refuse(static_cast<std::uint32_t>(m_at), fault, values);
    }

    // Skips blanks, line ends and comments; whether a line has begun since.
    // Read where it is, as every token asks it first.
    bool skipSpaceAndComments(bool lineStart)
    {
        const char *const text = m_text.data();
        std::size_t at = m_at;
        for (;;) {
            const char c = text[at];
            if (is(c, Blank)) {
                ++at;
            } else if (is(c, LineEnd)) {
                ++at;
                ++m_line;
                lineStart = true;
            } else if (c == '/' && text[at + 1] == '/') {
                const void *const end = std::memchr(text + at, '\n', m_text.size() - at);
                at = end ? static_cast<std::size_t>(static_cast<const char *>(end) - text) : m_text.size();
            } else if (c == '/' && text[at + 1] == '*') {
                m_at = at;
                skipBlockComment();
                at = m_at;
            } else {
                m_at = at;
                return lineStart;
            }
        }
    }

    void skipBlockComment()
    {
        const std::size_t end = m_text.find("*/", m_at + 2);
        if (end == std::string_view::npos)
            refuse(FaultKind::UnterminatedComment);
        m_line += static_cast<int>(std::count(m_text.begin() + static_cast<long>(m_at),
                                              m_text.begin() + static_cast<long>(end), '\n'));
        m_at = end + 2;
    }

    void take(Token &token, Token::Kind kind, std::size_t length)
    {
        token.kind = kind;
        token.text = std::string_view(m_text.data() + m_at, length);
        m_at += length;
    }

    // The length of the operator of two or three characters that begins
    // with `c`, `second` and `third`, the longest C++ reads there ("--x" is
    // a decrement, "a---b" is "a-- - b"); 0 for none.
    static std::size_t longOperator(char c, char second, char third)
    {
        switch (c) {
        case '<':
            if (second == '<')
                return third == '=' ? 3 : 2; // <<= <<
            if (second == '=')
                return third == '>' ? 3 : 2; // <=> <=
            return 0;
        case '>':
            if (second == '>')
                return third == '=' ? 3 : 2; // >>= >>
            return second == '=' ? 2 : 0;
        case '.': return second == '.' && third == '.' ? 3 : 0;
        case ':': return second == ':' ? 2 : 0;
        case '+': return second == '+' || second == '=' ? 2 : 0;
        case '-': return second == '-' || second == '=' || second == '>' ? 2 : 0;
        case '&': return second == '&' || second == '=' ? 2 : 0;
        case '|': return second == '|' || second == '=' ? 2 : 0;
        case '*':
        case '/':
        case '%':
        case '=':
        case '!':
        case '^': return second == '=' ? 2 : 0;
        default: return 0;
        }
    }

    void next(Token &token)
    {
        const char c = peek();
        const std::uint8_t cls = kClasses[static_cast<unsigned char>(c)];
        if (cls & WordStart) {
            std::size_t length = 1;
            while (is(peek(length), WordStart | Digit))
                ++length;
            return take(token, Token::Kind::Word, length);
        }
        if (cls & Digit)
            return number(token);
        if (cls & Punct) {
            const char second = peek(1);
            if (c == '.' && isDigit(second))
                return number(token);
            // The brackets and separators begin no longer operator, and
            // every longer one goes on with one of a few characters.
            std::size_t length = 1;
            if (!(cls & Alone) && is(second, Continues)) {
                const char third = peek(2);
                length = std::max<std::size_t>(longOperator(c, second, third), 1);
                token.code = punctCode(std::string_view(m_text.data() + m_at, length));
            } else {
                token.code = static_cast<unsigned char>(c);
            }
            return take(token, Token::Kind::Punct, length);
        }
        const std::size_t length = sequenceLength(m_text[m_at]);
        refuse(FaultKind::UnexpectedCharacter, {quotedForMessage(m_text.substr(m_at, length))});
    }

    // "#include" and its header, as one token holding the header as
    // spelled. Blanks and comments may follow it on its line.
    void include(Token &token)
    {
        std::size_t at = m_at + 1;
        const auto skipBlanks = [&] {
            while (at < m_text.size() && isBlank(m_text[at]))
                ++at;
        };
        skipBlanks();
        if (m_text.substr(at, 7) != "include")
            refuse(FaultKind::OnlyIncludes);
        at += 7;
        skipBlanks();
        const char open = at < m_text.size() ? m_text[at] : '\0';
        const char close = open == '"' ? '"' : open == '<' ? '>' : '\0';
        const std::size_t closed = close ? m_text.find(close, at + 1) : std::string_view::npos;
        const std::size_t lineEnd = std::min(m_text.find('\n', at), m_text.size());
        if (closed == std::string_view::npos || closed > lineEnd)
            refuse(FaultKind::ExpectedHeader);
        token.kind = Token::Kind::Include;
        token.text = m_text.substr(at, closed + 1 - at);
        const std::size_t start = m_at;
        m_at = closed + 1;
        // Whatever follows on the line must be blanks and comments; a
        // comment may run on over lines of its own.
        for (;;) {
            while (isBlank(peek()))
                ++m_at;
            if (peek() == '/' && (peek(1) == '*' || peek(1) == '/')) {
                if (peek(1) == '/')
                    return;
                skipBlockComment();
            } else if (peek() == '\n' || peek() == '\0') {
                return;
            } else {
                m_at = start;
                refuse(FaultKind::TextAfterInclude, {quotedForMessage("#include " + std::string(token.text))});
            }
        }
    }

    void number(Token &token)
    {
        std::size_t length = 0;
        while (isDigit(peek(length)))
            ++length;
        // Most numbers are a few digits of an int, with no point, exponent
        // or suffix after them and no leading 0; any other is read out of
        // this frame.
        if (length - 1 < 9 && !is(peek(length), WordStart | Digit) && peek(length) != '.'
            && (length == 1 || peek() != '0')) {
            int value = 0;
            for (std::size_t i = 0; i < length; ++i)
                value = value * 10 + (peek(i) - '0');
            token.value.integer = value;
            return take(token, Token::Kind::Int, length);
        }
        otherNumber(token, length);
    }

    // A number with a point, an exponent or a suffix, or a long one, its
    // first `length` characters digits.
    void otherNumber(Token &token, std::size_t length)
    {
        bool floating = false;
        if (peek(length) == '.') {
            floating = true;
            ++length;
            while (isDigit(peek(length)))
                ++length;
        }
        if (peek(length) == 'e' || peek(length) == 'E') {
            floating = true;
            std::size_t exponent = length + 1;
            if (peek(exponent) == '+' || peek(exponent) == '-')
                ++exponent;
            if (!isDigit(peek(exponent)))
                refuse(FaultKind::ExponentDigits);
            while (isDigit(peek(exponent)))
                ++exponent;
            length = exponent;
        }
        const std::string_view digits = m_text.substr(m_at, length);
        std::size_t suffix = 0;
        while (isWordStart(peek(length + suffix)) || isDigit(peek(length + suffix)) || peek(length + suffix) == '.')
            ++suffix;
        const std::string_view suffixText = m_text.substr(m_at + length, suffix);
        const bool single = floating && (suffixText == "f" || suffixText == "F");
        if (suffix > 0 && !single)
            refuse(FaultKind::NumberSuffix, {quotedForMessage(suffixText), quotedForMessage(digits)});
        if (!floating) {
            if (digits.size() > 1 && digits.front() == '0')
                refuse(FaultKind::Octal, {quotedForMessage(digits)});
            // Decimal digits are an int if they fit one, a long if not;
            // eighteen digits always fit a long long.
            long long value = 0;
            if (digits.size() <= 18) {
                for (const char digit : digits)
                    value = value * 10 + (digit - '0');
            } else {
                errno = 0;
                value = std::strtoll(std::string(digits).c_str(), nullptr, 10);
                if (errno == ERANGE)
                    refuse(FaultKind::IntegerTooLarge, {quotedForMessage(digits)});
            }
            token.value.integer = value;
            return take(token, value > 2147483647 ? Token::Kind::Long : Token::Kind::Int, length);
        }
        // Rounded once, to the literal's own type; beyond its range it is
        // infinite, as GCC makes it with a warning.
        if (!exactDecimal(digits, single, token)) {
            const std::string spelled(digits);
            if (single)
                token.value.single = strtof_l(spelled.c_str(), nullptr, cLocale());
            else
                token.value.real = strtod_l(spelled.c_str(), nullptr, cLocale());
        }
        take(token, single ? Token::Kind::Float : Token::Kind::Double, length + suffix);
    }

    // Digits with a point and no exponent, whose digits make a whole number
    // the type holds exactly, over a power of ten it holds exactly, as
    // `token`'s value: one division, rounded once, is the nearest value as
    // strtod finds it. False for any other, left to strtod.
    static bool exactDecimal(std::string_view digits, bool single, Token &token)
    {
        std::uint64_t whole = 0;
        int places = -1; // after the point
        for (const char c : digits) {
            if (c == '.') {
                places = 0;
                continue;
            }
            if (!isDigit(c) || whole > (1ull << 53))
                return false;
            whole = whole * 10 + static_cast<unsigned>(c - '0');
            places += places >= 0 ? 1 : 0;
        }
        static constexpr std::array<double, 23> kPowers = {
            1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
        };
        const double power = kPowers[static_cast<std::size_t>(std::clamp(places, 0, 22))];
        if (single) {
            if (whole > (1u << 24) || places > 10)
                return false;
            token.value.single = static_cast<float>(whole) / static_cast<float>(power);
            return true;
        }
        if (whole > (1ull << 53) || places > 22)
            return false;
        token.value.real = static_cast<double>(whole) / power;
        return true;
    }

    const RoutineSource &m_source;
    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1; // counting the lines' ends in the text
};

} // namespace

void tokenize(const RoutineSource &source, std::vector<Token> &tokens)
{
    Lexer(source).tokens(tokens);
}

} // namespace sweepdraw
