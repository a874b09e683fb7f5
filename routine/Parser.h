#pragma once

#include "Lexer.h"
#include "NameTable.h"
#include "Syntax.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace sweepdraw {

struct MathFunction;

// Reads a routine's tokens by recursive descent, checking names, types and
// nesting as it goes, into the checked tree the emitter compiles: the
// statements in Parser.cpp, the expressions in ParserExpressions.cpp.
// Refuses, with RoutineRefusal, the first thing C++ would refuse or the
// language leaves out.
class Parser final
{
public:
    // Nesting beyond these is refused while reading, never found by a
    // crash: blocks and statements within statements, and brackets, calls
    // and operators within expressions.
    static constexpr int kMaxBlockNesting = 64;
    static constexpr int kMaxExpressionNesting = 256;

    Parser(const RoutineSource &source, const std::vector<Token> &tokens, RoutineSyntax &syntax,
           RoutineProgram &program);

    void file();

private:
    struct Symbol
    {
        enum class Kind : std::uint8_t { Variable, Constant, Function, Surface };
        std::string_view name;
        Kind kind = Kind::Variable;
        Type type = Type::Void;
        bool isConst = false;
        int slot = 0;
        std::uint32_t function = 0;
        RoutineSlot value{};
    };

    class Nest final
    {
    public:
        Nest(Parser &parser, int &depth, int limit, const Token &at)
            : m_depth(depth)
        {
            if (++m_depth > limit)
                parser.refuseNesting(at, limit);
        }
        ~Nest() { --m_depth; }
        Nest(const Nest &) = delete;
        Nest &operator=(const Nest &) = delete;

    private:
        int &m_depth;
    };

    // Tokens.
    const Token &peek(std::size_t ahead = 0) const { return m_token[std::min(m_next + ahead, m_lastToken)]; }
    const Token &next()
    {
        const Token &token = m_token[m_next];
        if (token.kind != Token::Kind::End)
            ++m_next;
        return token;
    }
    // Asked of nearly every token at every level of an expression: the
    // few characters compared in place, with no call.
    static bool same(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    static bool isPunct(const Token &token, std::string_view text)
    {
        return token.kind == Token::Kind::Punct && token.code == punctCode(text);
    }
    static bool isWord(const Token &token, std::string_view text)
    {
        return token.kind == Token::Kind::Word && same(token.text, text);
    }
    const Token &expect(std::string_view punct)
    {
        if (!isPunct(peek(), punct))
            refuseExpected(punct);
        return next();
    }
    void expectWord(std::string_view word);
    std::string describe(const Token &token) const;
    [[noreturn]] void refuse(const Token &at, FaultKind fault, std::initializer_list<std::string> values = {}) const;
    // The refusals of the small functions asked of nearly every token,
    // kept out of them.
    [[noreturn]] void refuseNesting(const Token &at, int limit) const;
    [[noreturn]] void refuseExpected(std::string_view spelled) const;
    [[noreturn]] void refuseNotNumber(int expr, const Token &where) const;
    [[noreturn]] void refuseNeedsType(const Token &name) const;
    // The refusal of `at` whose one value is its own text, quoted.
    [[noreturn]] void refuseQuoting(const Token &at, FaultKind fault) const;
    // Expected `what` (a phrase) at `at`, and found what is there.
    [[noreturn]] void refuseExpecting(const Token &at, FaultKind what) const;
    [[noreturn]] void refuseUnchecked(const Token &operation) const;
    [[noreturn]] void refuseRemainder(const Token &op, Type type) const;
    void need(unsigned declares, const Token &at, const char *name, const char *header) const;

    // Names.
    const Symbol *lookUp(std::string_view name) const;
    const Token &newName();
    void openScope();
    void closeScope();
    void declare(const Token &name, Symbol symbol);
    std::optional<Type> typeWord(const Token &token) const
    {
        if (token.kind != Token::Kind::Word)
            return std::nullopt;
        // Asked of the first word of every statement: told by its first
        // character before the rest is compared.
        const auto spelled = [&](std::string_view word, Type type) {
            return same(token.text, word) ? std::optional(type) : std::nullopt;
        };
        switch (token.text[0]) {
        case 'i': return spelled("int", Type::Int);
        case 'v': return spelled("void", Type::Void);
        case 'b': return spelled("bool", Type::Bool);
        case 'f': return spelled("float", Type::Float);
        case 'd': return spelled("double", Type::Double);
        default: return std::nullopt;
        }
    }

    // The file, its functions and statements (Parser.cpp).
    void namespaceValue(bool constexprValue);
    void function(Type result, const Token &name);
    int block(bool ownScope);
    int statement();
    int substatement();
    int declaration();
    int initializer(const Token &name, Type type);
    int forStatement();
    int surfaceOperation();
    int loop();
    int returnStatement();
    int addStmt(Stmt stmt);
    std::span<const int> children(std::size_t first);

    // Expressions (ParserExpressions.cpp).
    int expression();
    int assignment();
    int assigned(int target);
    int choice(int condition);
    int binary(int lowest);
    int logical(const Token &op, bool isOr, int left);
    int unary();
    int prefixed(const Token &op);
    int postfix()
    {
        const int value = primary();
        const Token &after = peek();
        return isPunct(after, "++") || isPunct(after, "--") ? stepsAfter(value) : value;
    }
    int stepsAfter(int value);
    int primary();
    int wordOperand(const Token &token);
    int name(const Token &token);
    int undeclared(const Token &token);
    int call(const Token &callee, const Symbol &function);
    int stdName(const Token &std);
    int mathCall(const Token &name, const MathFunction &function, bool qualified);
    std::vector<int> arguments(const Token &callee, std::size_t count);
    // An assignment, a step, a call or a copy of any: noted in the
    // function being read, as FunctionSyntax tells.
    int made(const Expr &e);
    int literal(Type type, RoutineSlot value, int line);
    int operation(OpCode op, Type type, int line, int a, int b = -1, std::uint32_t function = 0);
    void folded(OpCode op, Type type, int line, int a, int b, std::uint32_t function);
    int arithmetic(const Token &op, int a, int b);
    int compare(const Token &op, int a, int b);
    int step(const Token &op, int target, bool after);
    int assign(const Token &op, int target, const Symbol *assigned, int value);
    // `expr` as a `to`, with the conversion C++ makes, if any.
    int convert(int expr, Type to, const Token &where)
    {
        return at(expr).type == to ? expr : converted(expr, to, where);
    }
    int converted(int expr, Type to, const Token &where);
    int toBool(int expr, const Token &at);
    // The type of a number; a colour, a surface or no value is refused.
    Type numeric(int expr, const Token &where) const
    {
        const Type type = at(expr).type;
        if (type == Type::Void || type == Type::Colour || type == Type::Surface)
            refuseNotNumber(expr, where);
        return type;
    }
    int promoted(int expr, const Token &where)
    {
        return numeric(expr, where) == Type::Bool ? convert(expr, Type::Int, where) : expr;
    }
    const Expr &at(int expr) const { return m_syntax.exprs[static_cast<std::size_t>(expr)]; }
    // A node made where it goes, with no copy of it made first: nearly a
    // token makes one.
    Expr &newExpr(Expr::Kind kind, Type type, int line)
    {
        Expr &e = m_syntax.exprs.emplace_back();
        e.kind = kind;
        e.type = type;
        e.line = line;
        return e;
    }
    int lastExpr() const { return static_cast<int>(m_syntax.exprs.size() - 1); }

    const RoutineSource &m_source;
    // The tokens, the last the end's: asked for at nearly every step, where
    // the vector's size would be worked out again from its two ends.
    const Token *const m_token;
    const std::size_t m_lastToken;
    std::size_t m_next = 0;
    RoutineSyntax &m_syntax;
    RoutineProgram &m_program;

    // The names of every scope open, the innermost last, and where each
    // scope's begin; the namespace's, which may be many, also by name. The
    // statements of the blocks being read, innermost last: each block's are
    // copied out at its end, into a list of the tree. Kept on the thread
    // from one file to the next, emptied for each, as the tokens and the
    // tree are, so that a large file takes no fresh memory.
    struct Scratch
    {
        std::vector<Symbol> symbols;
        std::vector<std::size_t> scopes;
        std::vector<int> children;
        NameTable namespaceNames;
    };
    static Scratch &emptiedScratch();
    Scratch &m_scratch = emptiedScratch();
    std::vector<Symbol> &m_symbols = m_scratch.symbols;
    std::vector<std::size_t> &m_scopes = m_scratch.scopes;
    std::vector<int> &m_children = m_scratch.children;
    NameTable &m_namespaceNames = m_scratch.namespaceNames;
    unsigned m_declared = 0;
    int m_blockDepth = 0;
    int m_expressionDepth = 0;
    std::string_view m_declaring; // the name whose initializer is being read
    // The last name read as a value, for an assignment to tell whether it
    // may change.
    int m_lastNameExpr = -1;
    const Symbol *m_lastName = nullptr;

    // The function being read.
    FunctionSyntax *m_function = nullptr;
    int m_breakable = 0;       // for, while and do loops round, within the body
    bool m_inLoopBody = false; // the body of a Sweep or ColourPass
    // The first lines of the Sweeps and ColourPasses being read, innermost
    // last, after a 0 for none.
    std::vector<int> m_loopLines{0};
};

} // namespace sweepdraw
