#include "CompiledRoutine.h"

#include "MessageText.h"
#include "RoutineProgram.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <optional>

namespace sweepdraw {

namespace {

enum class Type : std::uint8_t { Int, Float, Double, Colour, Surface };

// What the scenes' headers declare, directly or through those they include.
enum Declares : unsigned {
    DeclaresSurfaceClass = 1, // the class, complete or not
    DeclaresSurface = 2,      // its operations
    DeclaresCheck = 4,
    DeclaresPalette = 8,
    DeclaresLoops = 16,
    DeclaresMath = 32,
};

struct Header
{
    std::string_view spelling;
    unsigned declares;
};

constexpr std::array<Header, 6> kHeaders = {{
    {"\"Scenes.h\"", DeclaresSurfaceClass},
    {"\"DrawingSurface.h\"", DeclaresSurfaceClass | DeclaresSurface | DeclaresMath},
    {"\"Palette.h\"", DeclaresPalette | DeclaresCheck},
    {"\"RuntimeError.h\"", DeclaresCheck},
    {"\"Sweep.h\"", DeclaresLoops | DeclaresCheck | DeclaresMath},
    {"<cmath>", DeclaresMath},
}};

// The words a routine cannot give its own values: C++'s keywords, and the
// names it calls.
constexpr std::array<std::string_view, 100> kReserved = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "co_await", "co_return", "co_yield", "decltype", "default", "delete",
    "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for",
    "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
    "check", "Sweep", "ColourPass", "PaletteColor", "DrawingSurface", "std", "sweepdraw", "final",
};

struct SurfaceOperation
{
    std::string_view name;
    OpCode op;
    int arguments; // the last is the colour, but for SetPenWidth's width
};

constexpr std::array<SurfaceOperation, 5> kOperations = {{
    {"SetPenWidth", OpCode::SetPenWidth, 1},
    {"PlotPoint", OpCode::PlotPoint, 3},
    {"DrawBox", OpCode::DrawBox, 5},
    {"DrawCircle", OpCode::DrawCircle, 4},
    {"ClearSurface", OpCode::ClearSurface, 0},
}};

struct MathFunction
{
    std::string_view name;
    int arguments;
    OpCode onFloat;
    OpCode onDouble;
};

constexpr std::array<MathFunction, 8> kMath = {{
    {"sin", 1, OpCode::SinF, OpCode::SinD},
    {"cos", 1, OpCode::CosF, OpCode::CosD},
    {"tan", 1, OpCode::TanF, OpCode::TanD},
    {"sqrt", 1, OpCode::SqrtF, OpCode::SqrtD},
    {"floor", 1, OpCode::FloorF, OpCode::FloorD},
    {"abs", 1, OpCode::AbsF, OpCode::AbsD},
    {"atan2", 2, OpCode::Atan2F, OpCode::Atan2D},
    {"pow", 2, OpCode::PowF, OpCode::PowD},
}};

struct Token
{
    enum class Kind : std::uint8_t { Word, Int, Float, Double, Punct, Include, End };
    Kind kind;
    std::string_view text;
    int line = 0;
    int column = 0;
    RoutineSlot value{};
};

struct Refused
{
    RoutineMessage message;
};

[[noreturn]] void refuse(int line, int column, std::string what)
{
    throw Refused{{line, column, std::move(what)}};
}

[[noreturn]] void refuse(const Token &at, std::string what)
{
    refuse(at.line, at.column, std::move(what));
}

std::string quoted(std::string_view text)
{
    return '\'' + escapeForMessage(text) + '\'';
}

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned first = byte(at);
    if (first < 0x80)
        return 1;
    const auto follows = [&](std::size_t i, unsigned low, unsigned high) {
        return byte(i) >= low && byte(i) <= high;
    };
    // The ranges of the well-formed sequences, which exclude overlong forms
    // and the surrogates.
    if (first >= 0xC2 && first <= 0xDF)
        return follows(at + 1, 0x80, 0xBF) ? 2 : 0;
    if (first >= 0xE0 && first <= 0xEF) {
        const unsigned low = first == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = first == 0xED ? 0x9F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (first >= 0xF0 && first <= 0xF4) {
        const unsigned low = first == 0xF0 ? 0x90 : 0x80;
        const unsigned high = first == 0xF4 ? 0x8F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) && follows(at + 3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

bool isWordStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Splits the text into tokens, with their lines and columns, columns
// counted in characters.
class Lexer final
{
public:
    explicit Lexer(std::string_view text)
        : m_text(text)
    {
    }

    std::vector<Token> tokens()
    {
        std::vector<Token> tokens;
        for (;;) {
            skipSpaceAndComments();
            if (m_at == m_text.size()) {
                tokens.push_back({Token::Kind::End, {}, m_line, m_column});
                return tokens;
            }
            tokens.push_back(next());
        }
    }

private:
    char peek(std::size_t ahead = 0) const
    {
        return m_at + ahead < m_text.size() ? m_text[m_at + ahead] : '\0';
    }

    void advance(std::size_t count = 1)
    {
        for (; count > 0 && m_at < m_text.size(); --count) {
            const char c = m_text[m_at++];
            if (c == '\n') {
                ++m_line;
                m_column = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++m_column;
            }
        }
    }

    void skipSpaceAndComments()
    {
        for (;;) {
            const char c = peek();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                advance();
            } else if (c == '/' && peek(1) == '/') {
                while (m_at < m_text.size() && peek() != '\n')
                    advance();
            } else if (c == '/' && peek(1) == '*') {
                const int line = m_line;
                const int column = m_column;
                const std::size_t end = m_text.find("*/", m_at + 2);
                if (end == std::string_view::npos)
                    refuse(line, column, "unterminated comment");
                advance(end + 2 - m_at);
            } else {
                return;
            }
        }
    }

    Token make(Token::Kind kind, std::size_t length)
    {
        Token token{kind, m_text.substr(m_at, length), m_line, m_column};
        advance(length);
        return token;
    }

    Token next()
    {
        const char c = peek();
        if (c == '#')
            return include();
        if (isDigit(c) || (c == '.' && isDigit(peek(1))))
            return number();
        if (isWordStart(c)) {
            std::size_t length = 1;
            while (isWordStart(peek(length)) || isDigit(peek(length)))
                ++length;
            return make(Token::Kind::Word, length);
        }
        if (c == ':' && peek(1) == ':')
            return make(Token::Kind::Punct, 2);
        if (std::string_view("(){}[]<>,;.&*/+-=").find(c) != std::string_view::npos)
            return make(Token::Kind::Punct, 1);
        const std::size_t length = std::max<std::size_t>(utf8Length(m_text, m_at), 1);
        refuse(m_line, m_column, "unexpected character " + quoted(m_text.substr(m_at, length)));
    }

    // "#include" and the header, as one token that holds the header as
    // spelled: "\"Sweep.h\"" or "<cmath>".
    Token include()
    {
        const int line = m_line;
        const int column = m_column;
        std::size_t end = m_text.find('\n', m_at);
        if (end == std::string_view::npos)
            end = m_text.size();
        std::string_view rest = m_text.substr(m_at + 1, end - m_at - 1);
        const auto skipBlanks = [&rest] {
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t' || rest.front() == '\r'))
                rest.remove_prefix(1);
        };
        skipBlanks();
        if (!rest.starts_with("include"))
            refuse(line, column, "only #include lines may begin with '#'");
        rest.remove_prefix(7);
        skipBlanks();
        const char close = rest.starts_with('"') ? '"' : rest.starts_with('<') ? '>' : '\0';
        const std::size_t closed = close ? rest.find(close, 1) : std::string_view::npos;
        if (closed == std::string_view::npos)
            refuse(line, column, "expected a header after #include");
        const std::string_view header = rest.substr(0, closed + 1);
        rest.remove_prefix(closed + 1);
        skipBlanks();
        if (!rest.empty() && !rest.starts_with("//"))
            refuse(line, column, "unexpected text after " + quoted("#include " + std::string(header)));
        Token token{Token::Kind::Include, header, line, column};
        advance(end - m_at);
        return token;
    }

    Token number()
    {
        const int line = m_line;
        const int column = m_column;
        std::size_t length = 0;
        while (isDigit(peek(length)))
            ++length;
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
                refuse(line, column, "exponent has no digits");
            while (isDigit(peek(exponent)))
                ++exponent;
            length = exponent;
        }
        const std::string_view digits = m_text.substr(m_at, length);
        std::size_t suffix = 0;
        while (isWordStart(peek(length + suffix)) || isDigit(peek(length + suffix)))
            ++suffix;
        const std::string_view suffixText = m_text.substr(m_at + length, suffix);
        const bool isFloat = floating && (suffixText == "f" || suffixText == "F");
        if (suffix > 0 && !isFloat)
            refuse(line, column, "unsupported suffix " + quoted(suffixText) + " on number "
                                     + quoted(digits));
        Token token = make(floating ? (isFloat ? Token::Kind::Float : Token::Kind::Double) : Token::Kind::Int,
                           length + suffix);
        const char *const first = digits.data();
        const char *const last = digits.data() + digits.size();
        if (!floating) {
            if (digits.size() > 1 && digits.front() == '0')
                refuse(line, column, "number " + quoted(digits)
                                         + " would be read as octal; write it without the leading 0");
            long long value = 0;
            const auto [end, error] = std::from_chars(first, last, value);
            if (error != std::errc() || end != last || value > INT_MAX)
                refuse(line, column, "integer constant " + quoted(digits) + " is too large for an int");
            token.value.i = static_cast<int>(value);
        } else if (isFloat) {
            const auto [end, error] = std::from_chars(first, last, token.value.f);
            if (error != std::errc() || end != last)
                refuse(line, column, "floating constant " + quoted(digits) + " is out of the range of float");
        } else {
            const auto [end, error] = std::from_chars(first, last, token.value.d);
            if (error != std::errc() || end != last)
                refuse(line, column, "floating constant " + quoted(digits) + " is out of the range of double");
        }
        return token;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_column = 1;
};

struct Operand
{
    Type type;
    std::uint16_t slot;
    bool known = false; // its value is known before the routine runs
};

// Reads the tokens by recursive descent, checking names, types and
// nesting as it goes, and writes the program's instructions.
class Compiler final
{
public:
    Compiler(std::vector<Token> tokens, RoutineProgram &program)
        : m_tokens(std::move(tokens))
        , m_program(program)
    {
    }

    void file()
    {
        // The namespace's scope, where the function is named.
        m_scopes.emplace_back();
        while (peek().kind == Token::Kind::Include) {
            const Token &include = next();
            const auto known = std::ranges::find(kHeaders, include.text, &Header::spelling);
            if (known == kHeaders.end())
                refuse(include, "only the scene files' headers may be included: \"Scenes.h\", "
                                "\"DrawingSurface.h\", \"Palette.h\", \"RuntimeError.h\", \"Sweep.h\" and <cmath>");
            m_declared |= known->declares;
        }
        expectWord("namespace");
        if (!isWord(peek(), "sweepdraw"))
            refuse(peek(), "the routine must be in namespace sweepdraw");
        next();
        expect("{");
        function();
        expect("}");
        if (isWord(peek(), "void"))
            refuse(peek(), "a routine file defines one function");
        if (peek().kind == Token::Kind::Include)
            refuse(peek(), "#include lines must come before the namespace");
        if (peek().kind != Token::Kind::End)
            refuse(peek(), "expected the end of the file before " + describe(peek()));
    }

private:
    class Nest final
    {
    public:
        Nest(Compiler &compiler, const Token &at)
            : m_compiler(compiler)
        {
            if (++m_compiler.m_depth > CompiledRoutine::kMaxNesting)
                refuse(at, "nested deeper than " + std::to_string(CompiledRoutine::kMaxNesting) + " levels");
        }
        ~Nest() { --m_compiler.m_depth; }
        Nest(const Nest &) = delete;
        Nest &operator=(const Nest &) = delete;

    private:
        Compiler &m_compiler;
    };

    struct Name
    {
        std::string_view name;
        Operand value;
    };

    const Token &peek() const { return m_tokens[m_next]; }
    const Token &next()
    {
        const Token &token = m_tokens[m_next];
        if (token.kind != Token::Kind::End)
            ++m_next;
        return token;
    }

    static bool isPunct(const Token &token, std::string_view text)
    {
        return token.kind == Token::Kind::Punct && token.text == text;
    }
    static bool isWord(const Token &token, std::string_view text)
    {
        return token.kind == Token::Kind::Word && token.text == text;
    }
    static std::string describe(const Token &token)
    {
        return token.kind == Token::Kind::End ? std::string("the end of the file") : quoted(token.text);
    }

    const Token &expect(std::string_view punct)
    {
        if (!isPunct(peek(), punct))
            refuse(peek(), "expected " + quoted(punct) + " before " + describe(peek()));
        return next();
    }
    void expectWord(std::string_view word)
    {
        if (!isWord(peek(), word))
            refuse(peek(), "expected " + quoted(word) + " before " + describe(peek()));
        next();
    }

    void need(unsigned declares, const Token &at, std::string_view header)
    {
        if (!(m_declared & declares))
            refuse(at, quoted(at.text) + " is used without #include " + std::string(header));
    }

    // A name the routine gives a value.
    const Token &newName()
    {
        const Token &name = peek();
        if (name.kind != Token::Kind::Word)
            refuse(name, "expected a name before " + describe(name));
        if (std::ranges::find(kReserved, name.text) != kReserved.end() || name.text.starts_with("__")
            || (name.text.size() > 1 && name.text[0] == '_' && name.text[1] >= 'A' && name.text[1] <= 'Z'))
            refuse(name, quoted(name.text) + " cannot be used as a name");
        if (std::ranges::find(m_scopes.back(), name.text, &Name::name) != m_scopes.back().end())
            refuse(name, "redeclaration of " + quoted(name.text));
        return next();
    }

    const Name *lookUp(std::string_view name) const
    {
        for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope) {
            const auto found = std::ranges::find(*scope, name, &Name::name);
            if (found != scope->end())
                return &*found;
        }
        return nullptr;
    }

    std::uint16_t newSlot()
    {
        if (m_program.initial.size() > UINT16_MAX)
            refuse(peek(), "the routine holds too many values");
        m_program.initial.push_back(RoutineSlot{});
        return static_cast<std::uint16_t>(m_program.initial.size() - 1);
    }

    Instruction &emit(OpCode op, const Token &at, std::initializer_list<std::uint16_t> slots)
    {
        Instruction instruction{op};
        std::ranges::copy(slots, instruction.slot.begin());
        instruction.line = static_cast<std::uint32_t>(at.line);
        m_program.code.push_back(instruction);
        return m_program.code.back();
    }

    static const char *typeName(Type type)
    {
        switch (type) {
        case Type::Int: return "int";
        case Type::Float: return "float";
        case Type::Double: return "double";
        case Type::Colour: return "a colour";
        case Type::Surface: return "the drawing surface";
        }
        return "";
    }

    static void numeric(Operand value, const Token &at)
    {
        if (value.type == Type::Colour)
            refuse(at, "a colour from PaletteColor can only be passed to a surface operation");
        if (value.type == Type::Surface)
            refuse(at, "the drawing surface is not a number");
    }

    // The value as C++ converts it, explicitly or implicitly, to `to`.
    Operand convert(Operand value, Type to, const Token &at)
    {
        numeric(value, at);
        if (value.type == to)
            return value;
        static constexpr OpCode kConversions[3][3] = {
            // to int, float, double; from int, float, double
            {OpCode::IntToFloat, OpCode::IntToFloat, OpCode::IntToDouble},
            {OpCode::FloatToInt, OpCode::FloatToInt, OpCode::FloatToDouble},
            {OpCode::DoubleToInt, OpCode::DoubleToFloat, OpCode::DoubleToFloat},
        };
        const OpCode op = kConversions[static_cast<int>(value.type)][static_cast<int>(to)];
        if (value.known && op != OpCode::FloatToInt && op != OpCode::DoubleToInt)
            return folded(op, to, {value});
        const Operand result{to, newSlot()};
        emit(op, at, {result.slot, value.slot});
        return result;
    }

    Operand arithmetic(char op, Operand left, Operand right, const Token &at)
    {
        numeric(left, at);
        numeric(right, at);
        const Type type = left.type == Type::Double || right.type == Type::Double ? Type::Double
                          : left.type == Type::Float || right.type == Type::Float ? Type::Float
                                                                                  : Type::Int;
        left = convert(left, type, at);
        right = convert(right, type, at);
        const int column = op == '+' ? 0 : op == '-' ? 1 : op == '*' ? 2 : 3;
        static constexpr OpCode kOps[3][4] = {
            {OpCode::AddI, OpCode::SubI, OpCode::MulI, OpCode::DivI},
            {OpCode::AddF, OpCode::SubF, OpCode::MulF, OpCode::DivF},
            {OpCode::AddD, OpCode::SubD, OpCode::MulD, OpCode::DivD},
        };
        const OpCode code = kOps[static_cast<int>(type)][column];
        if (left.known && right.known && type != Type::Int)
            return folded(code, type, {left, right});
        const Operand result{type, newSlot()};
        emit(code, at, {result.slot, left.slot, right.slot});
        return result;
    }

    Operand expression()
    {
        const Nest nest(*this, peek());
        Operand left = term();
        while (isPunct(peek(), "+") || isPunct(peek(), "-")) {
            const Token &op = next();
            left = arithmetic(op.text[0], left, term(), op);
        }
        return left;
    }

    Operand term()
    {
        Operand left = unary();
        while (isPunct(peek(), "*") || isPunct(peek(), "/")) {
            const Token &op = next();
            left = arithmetic(op.text[0], left, unary(), op);
        }
        return left;
    }

    Operand unary()
    {
        if (!isPunct(peek(), "-"))
            return primary();
        const Nest nest(*this, peek());
        const Token &minus = next();
        const Operand value = unary();
        numeric(value, minus);
        static constexpr OpCode kNegations[3] = {OpCode::NegI, OpCode::NegF, OpCode::NegD};
        const OpCode code = kNegations[static_cast<int>(value.type)];
        if (value.known && value.type != Type::Int)
            return folded(code, value.type, {value});
        const Operand result{value.type, newSlot()};
        emit(code, minus, {result.slot, value.slot});
        return result;
    }

    Operand literal(const Token &token, Type type)
    {
        const Operand result{type, newSlot(), true};
        m_program.initial[result.slot] = token.value;
        return result;
    }

    // The value of an operation that cannot fail on values known before the
    // routine runs, worked out now, as the compiler folds it: the very
    // operation the routine would make.
    Operand folded(OpCode op, Type type, std::initializer_list<Operand> operands)
    {
        Instruction instruction{op};
        std::array<RoutineSlot, 3> values{};
        std::uint16_t at = 1;
        for (const Operand &operand : operands) {
            values[at] = m_program.initial[operand.slot];
            instruction.slot[at] = at;
            ++at;
        }
        const Operand result{type, newSlot(), true};
        runInstruction(instruction, values.data());
        m_program.initial[result.slot] = values[0];
        return result;
    }

    // The arguments of a call, its opening bracket already read.
    std::vector<Operand> arguments(const Token &callee, int count, std::string_view what)
    {
        std::vector<Operand> values;
        if (!isPunct(peek(), ")")) {
            values.push_back(expression());
            while (isPunct(peek(), ",")) {
                next();
                values.push_back(expression());
            }
        }
        if (static_cast<int>(values.size()) != count)
            refuse(callee, std::string(what) + " takes " + std::to_string(count)
                               + (count == 1 ? " argument" : " arguments") + ", not "
                               + std::to_string(values.size()));
        expect(")");
        return values;
    }

    Type typeWord(std::string_view what)
    {
        const Token &word = peek();
        if (isWord(word, "int") || isWord(word, "float") || isWord(word, "double")) {
            next();
            return word.text == "int" ? Type::Int : word.text == "float" ? Type::Float : Type::Double;
        }
        refuse(word, "expected " + std::string(what) + " before " + describe(word));
    }

    Operand primary()
    {
        const Token &token = next();
        switch (token.kind) {
        case Token::Kind::Int: return literal(token, Type::Int);
        case Token::Kind::Float: return literal(token, Type::Float);
        case Token::Kind::Double: return literal(token, Type::Double);
        case Token::Kind::Punct:
            if (token.text == "(") {
                const Operand value = expression();
                expect(")");
                return value;
            }
            break;
        case Token::Kind::Word:
            if (token.text == "static_cast") {
                expect("<");
                const Type type = typeWord("int, float or double");
                expect(">");
                expect("(");
                const Operand value = expression();
                expect(")");
                return convert(value, type, token);
            }
            if (token.text == "PaletteColor") {
                need(DeclaresPalette, token, "\"Palette.h\"");
                expect("(");
                const Operand number = convert(arguments(token, 1, "PaletteColor")[0], Type::Int, token);
                const Operand colour{Type::Colour, newSlot()};
                emit(OpCode::Palette, token, {colour.slot, number.slot});
                return colour;
            }
            if (token.text == "std")
                return mathCall();
            // A name is declared from its own initializer on.
            if (token.text == m_declaring)
                refuse(token, quoted(token.text) + " is used in its own initializer");
            if (const Name *name = lookUp(token.text))
                return name->value;
            refuse(token, quoted(token.text) + " was not declared in this scope");
        default:
            break;
        }
        refuse(token, "expected a number, a name or '(' before " + describe(token));
    }

    Operand mathCall()
    {
        expect("::");
        const Token &name = next();
        const auto function = std::ranges::find(kMath, name.text, &MathFunction::name);
        if (name.kind != Token::Kind::Word || function == kMath.end())
            refuse(name, "'std::" + std::string(name.text) + "' is not among the functions a routine may call: "
                         "std::sin, std::cos, std::tan, std::sqrt, std::atan2, std::pow, std::abs and std::floor");
        need(DeclaresMath, name, "<cmath>");
        expect("(");
        std::vector<Operand> values =
            arguments(name, function->arguments, "std::" + std::string(function->name));
        for (const Operand &value : values)
            numeric(value, name);
        if (function->name == "abs" && values[0].type == Type::Int) {
            const Operand result{Type::Int, newSlot()};
            emit(OpCode::AbsI, name, {result.slot, values[0].slot});
            return result;
        }
        // As <cmath> overloads them: float for float arguments, double for
        // any other.
        const bool onFloat =
            std::ranges::all_of(values, [](const Operand &value) { return value.type == Type::Float; });
        const Type type = onFloat ? Type::Float : Type::Double;
        for (Operand &value : values)
            value = convert(value, type, name);
        const OpCode op = onFloat ? function->onFloat : function->onDouble;
        if (const std::optional<Operand> paired = pairedWithSinCos(op, values[0]))
            return *paired;
        const Operand result{type, newSlot()};
        emit(op, name, {result.slot, values[0].slot, values.size() > 1 ? values[1].slot : std::uint16_t(0)});
        return result;
    }

    // The sine of a value whose cosine this body has already taken, or the
    // other way round: the earlier instruction becomes a SinCos giving both.
    // A slot is only written once in each run of its body, so the two see
    // the same value.
    std::optional<Operand> pairedWithSinCos(OpCode op, Operand argument)
    {
        const bool isSin = op == OpCode::SinF || op == OpCode::SinD;
        const bool isCos = op == OpCode::CosF || op == OpCode::CosD;
        if (!isSin && !isCos)
            return std::nullopt;
        const bool onFloat = op == OpCode::SinF || op == OpCode::CosF;
        const OpCode other = onFloat ? (isSin ? OpCode::CosF : OpCode::SinF) : (isSin ? OpCode::CosD : OpCode::SinD);
        for (const std::size_t at : m_trigonometry.back()) {
            Instruction &earlier = m_program.code[at];
            if (earlier.op == other && earlier.slot[1] == argument.slot) {
                const std::uint16_t result = newSlot();
                const std::uint16_t found = earlier.slot[0];
                earlier.op = onFloat ? OpCode::SinCosF : OpCode::SinCosD;
                earlier.slot = {isSin ? result : found, isSin ? found : result, argument.slot};
                return Operand{onFloat ? Type::Float : Type::Double, result};
            }
        }
        m_trigonometry.back().push_back(m_program.code.size());
        return std::nullopt;
    }

    void function()
    {
        expectWord("void");
        const Token &name = newName();
        m_program.functionName = std::string(name.text);
        expect("(");
        const Token &type = peek();
        expectWord("DrawingSurface");
        need(DeclaresSurfaceClass, type, "\"DrawingSurface.h\"");
        expect("&");
        m_scopes.emplace_back();
        const Token &surface = newName();
        m_scopes.back().push_back({surface.text, {Type::Surface, 0}});
        expect(")");
        block();
        m_scopes.pop_back();
    }

    // A block, in the scope opened for it.
    void block()
    {
        const Nest nest(*this, peek());
        expect("{");
        m_trigonometry.emplace_back();
        while (!isPunct(peek(), "}")) {
            if (peek().kind == Token::Kind::End)
                refuse(peek(), "expected '}' at the end of the file");
            statement();
        }
        m_trigonometry.pop_back();
        next();
    }

    void statement()
    {
        const Token &first = peek();
        if (isWord(first, "check"))
            surfaceOperation();
        else if (isWord(first, "Sweep") || isWord(first, "ColourPass"))
            loop();
        else if (isWord(first, "const"))
            declaration();
        else
            refuse(first, "expected check(...), Sweep, ColourPass or a const declaration before "
                              + describe(first));
    }

    void surfaceOperation()
    {
        const Token &check = next();
        need(DeclaresCheck, check, "\"RuntimeError.h\"");
        expect("(");
        const Token &object = next();
        const Name *surface = object.kind == Token::Kind::Word ? lookUp(object.text) : nullptr;
        if (!surface || surface->value.type != Type::Surface)
            refuse(object, "expected the drawing surface before " + describe(object));
        expect(".");
        const Token &name = next();
        const auto operation = std::ranges::find(kOperations, name.text, &SurfaceOperation::name);
        if (name.kind != Token::Kind::Word || operation == kOperations.end())
            refuse(name, quoted(name.text) + " is not an operation of the drawing surface: SetPenWidth, "
                                             "PlotPoint, DrawBox, DrawCircle and ClearSurface are");
        need(DeclaresSurface, name, "\"DrawingSurface.h\"");
        expect("(");
        std::vector<Operand> values = arguments(name, operation->arguments, operation->name);
        expect(")");
        expect(";");
        m_program.calls.push_back({name.line, std::string(operation->name), m_loopLines.back()});
        if (operation->op == OpCode::SetPenWidth) {
            values[0] = convert(values[0], Type::Int, name);
        } else if (!values.empty()) {
            for (std::size_t i = 0; i + 1 < values.size(); ++i)
                values[i] = convert(values[i], Type::Float, name);
            if (values.back().type != Type::Colour)
                refuse(name, std::string("the colour of ") + std::string(operation->name)
                                 + " must be given by PaletteColor, not by " + typeName(values.back().type));
        }
        if (operation->op == OpCode::PlotPoint && plotsOfDoubles(values, name))
            return;
        Instruction &instruction = emit(operation->op, name, {});
        for (std::size_t i = 0; i < values.size(); ++i)
            instruction.slot[i] = values[i].slot;
    }

    // Makes the point just read one PlotPointOfDoubles when its arguments
    // are the last three instructions: two doubles rounded to float and a
    // colour from the palette, in that order.
    bool plotsOfDoubles(const std::vector<Operand> &values, const Token &at)
    {
        std::vector<Instruction> &code = m_program.code;
        if (code.size() < 3)
            return false;
        const Instruction *const tail = &code[code.size() - 3];
        const auto made = [&](int i, OpCode op) { return tail[i].op == op && tail[i].slot[0] == values[i].slot; };
        if (!made(0, OpCode::DoubleToFloat) || !made(1, OpCode::DoubleToFloat) || !made(2, OpCode::Palette))
            return false;
        const std::array<std::uint16_t, 3> sources = {tail[0].slot[1], tail[1].slot[1], tail[2].slot[1]};
        code.resize(code.size() - 3);
        emit(OpCode::PlotPointOfDoubles, at, {sources[0], sources[1], sources[2]});
        return true;
    }

    void loop()
    {
        const Token &call = next();
        need(DeclaresLoops, call, "\"Sweep.h\"");
        const bool sweep = call.text == "Sweep";
        const Type type = sweep ? Type::Double : Type::Int;
        expect("(");
        std::array<std::uint16_t, 3> bounds{};
        for (std::uint16_t &bound : bounds) {
            const Token &at = peek();
            bound = convert(expression(), type, at).slot;
            expect(",");
        }
        expect("[");
        expect("&");
        expect("]");
        expect("(");
        const Token &typeAt = peek();
        if (typeWord(sweep ? "double" : "int") != type)
            refuse(typeAt, std::string("the counter of ") + std::string(call.text) + " is "
                               + (sweep ? "a double" : "an int"));
        m_scopes.emplace_back();
        const Token &counter = newName();
        const Operand value{type, newSlot()};
        m_scopes.back().push_back({counter.text, value});
        expect(")");

        const auto index = static_cast<std::uint32_t>(m_program.loops.size());
        m_program.loops.push_back({call.line, call.line, std::string(counter.text)});
        const std::size_t at = m_program.code.size();
        emit(sweep ? OpCode::Sweep : OpCode::ColourPass, call, {bounds[0], bounds[1], bounds[2], value.slot});
        m_loopLines.push_back(call.line);
        block();
        m_loopLines.pop_back();
        m_scopes.pop_back();
        m_program.code[at].end = static_cast<std::uint32_t>(m_program.code.size());
        m_program.code[at].loop = index;
        m_program.loops[index].lastLine = expect(")").line;
        expect(";");
    }

    void declaration()
    {
        next();
        const Token &typeAt = peek();
        const Type type = typeWord("double or int");
        if (type == Type::Float)
            refuse(typeAt, "a routine declares const double and const int values only");
        const Token &name = newName();
        expect("=");
        m_declaring = name.text;
        const Token &at = peek();
        const Operand value = convert(expression(), type, at);
        m_declaring = {};
        expect(";");
        m_scopes.back().push_back({name.text, value});
    }

    std::vector<Token> m_tokens;
    std::size_t m_next = 0;
    RoutineProgram &m_program;
    std::vector<std::vector<Name>> m_scopes;
    // For each block being read, its sines and cosines not yet paired.
    std::vector<std::vector<std::size_t>> m_trigonometry;
    std::string_view m_declaring; // the name whose initializer is being read
    unsigned m_declared = 0;
    int m_depth = 0;
    // The first lines of the loops being read, innermost last, after a 0
    // for none.
    std::vector<int> m_loopLines{0};
};

// Where the first byte that is not part of valid UTF-8 is, if any.
std::optional<std::pair<int, int>> firstInvalidUtf8(std::string_view text)
{
    int line = 1;
    int column = 1;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8Length(text, at);
        if (length == 0)
            return std::pair(line, column);
        if (text[at] == '\n') {
            ++line;
            column = 0;
        }
        ++column;
        at += length;
    }
    return std::nullopt;
}

} // namespace

std::variant<CompiledRoutine, RoutineMessage> CompiledRoutine::compile(std::string fileName, std::string_view text)
{
    if (text.size() > kMaxSize)
        return RoutineMessage{1, 1, "the file is larger than " + std::to_string(kMaxSize) + " bytes"};
    if (const auto invalid = firstInvalidUtf8(text))
        return RoutineMessage{invalid->first, invalid->second, "the file is not valid UTF-8"};
    auto program = std::make_shared<RoutineProgram>();
    program->fileName = std::move(fileName);
    program->source = std::string(text);
    try {
        Compiler compiler(Lexer(program->source).tokens(), *program);
        compiler.file();
    } catch (const Refused &refused) {
        return refused.message;
    }
    return CompiledRoutine(std::move(program));
}

} // namespace sweepdraw
