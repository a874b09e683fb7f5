#pragma once

#include "RoutineProgram.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace sweepdraw {

// The checked tree of a routine, as the parser leaves it for the emitter:
// every expression has its C++ type, every conversion C++ makes is a node
// of its own, every name is resolved to a slot of its function's frame,
// a constant or a function, and whatever could be worked out before the
// routine runs has been.

enum class Type : std::uint8_t { Void, Bool, Int, Long, Float, Double, Colour, Surface };

std::string typeName(Type type);

// An operation for int, long, float and double, in that order, and the one
// of them for `type`.
using OpFamily = std::array<OpCode, 4>;

inline OpCode ofType(const OpFamily &family, Type type)
{
    return family[static_cast<std::size_t>(type) - static_cast<std::size_t>(Type::Int)];
}

struct Expr
{
    enum class Kind : std::uint8_t {
        Constant,    // `value`
        Local,       // the variable in `slot`
        Operation,   // `op` on a, b (and the library function `function`)
        And,         // a && b
        Or,          // a || b
        Conditional, // a ? b : c
        Assign,      // `slot` = a; its value is the variable's
        Step,        // ++ or -- (`op` adds or subtracts one) on `slot`, before or after
        Call,        // the function `function` with `arguments`
    };
    Kind kind = Kind::Constant;
    Type type = Type::Void;
    OpCode op = OpCode::End;
    // A Step after its variable (x++); a comparison whose instruction takes
    // b before a (a > b is b < a).
    bool after = false;
    int line = 0;
    int a = -1, b = -1, c = -1;
    int slot = 0;
    std::uint32_t function = 0;
    // A Call's, kept in its tree's lists: a node is copied as its bytes,
    // as the parser makes nearly one a token.
    std::span<const int> arguments;
    RoutineSlot value{};
};

struct Stmt
{
    enum class Kind : std::uint8_t {
        Block,      // `children`
        Expression, // `expr`, its value dropped
        If,         // expr, body, otherwise (-1 for none)
        For,        // init (-1 for none), expr (the condition, -1 for none), step (-1), body
        While,      // expr, body
        Do,         // body, expr
        Break,
        Continue,
        Return,     // expr, -1 for none; in a loop's body, the next turn
        Loop,       // a Sweep or ColourPass: `children` its three bounds, `slot` its counter, body
        Surface,    // the operation `op` with `children` its arguments
    };
    Kind kind = Kind::Block;
    int line = 0;
    int expr = -1;
    int init = -1, step = -1;
    int body = -1, otherwise = -1;
    std::span<const int> children; // kept in the tree's lists
    int slot = 0;
    int loop = 0;           // a Loop's index among the program's loops
    bool inLoopBody = false; // a Return that ends a Sweep's or ColourPass's turn
    OpCode op = OpCode::End;
};

struct FunctionSyntax
{
    std::string name;
    Type result = Type::Void;
    std::vector<Type> parameters;
    int body = -1;
    int variables = 0; // the slots of its parameters and variables
    int line = 0;
    std::uint32_t offset = 0; // of its name in the text
    // The expressions and statements made while it was read, [first, end):
    // its own, and some the checker worked out and left.
    std::uint32_t firstExpr = 0, endExpr = 0, firstStmt = 0, endStmt = 0;
    // Of those expressions, noted as they are made: the slots below 64
    // that an assignment or a step changes, by their bits, and the function
    // of each call, in order.
    std::uint64_t assigned = 0;
    std::vector<std::uint32_t> calls;
};

// Lists of nodes, a call's arguments or a statement's children, each
// staying where it is made: in blocks of their own, so that a list takes no
// memory of its own and the spans of those made before stay valid. Emptied,
// it keeps its blocks for the lists of the next routine.
class NodeLists final
{
public:
    std::span<const int> add(std::span<const int> list)
    {
        if (list.empty())
            return {};
        if (m_blocks.empty() || m_used + list.size() > m_blocks[m_block].size)
            nextBlock(list.size());
        int *const at = m_blocks[m_block].nodes.get() + m_used;
        // A few nodes each, nearly always: copied in place rather than by
        // a call of memmove.
        for (std::size_t i = 0; i < list.size(); ++i)
            at[i] = list[i];
        m_used += list.size();
        return {at, list.size()};
    }

    void clear()
    {
        m_block = 0;
        m_used = 0;
    }

private:
    static constexpr std::size_t kBlockSize = 4096;

    struct Block
    {
        std::unique_ptr<int[]> nodes;
        std::size_t size = 0;
    };

    // The next block kept, or a new one there if it is too small.
    void nextBlock(std::size_t least)
    {
        const std::size_t next = m_blocks.empty() ? 0 : m_block + 1;
        if (next == m_blocks.size() || m_blocks[next].size < least) {
            const std::size_t size = std::max(kBlockSize, least);
            m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(next),
                            Block{std::make_unique<int[]>(size), size});
        }
        m_block = next;
        m_used = 0;
    }

    std::vector<Block> m_blocks;
    std::size_t m_block = 0;
    std::size_t m_used = 0;
};

struct RoutineSyntax
{
    std::vector<Expr> exprs;
    std::vector<Stmt> stmts;
    std::vector<FunctionSyntax> functions;
    NodeLists lists;

    void clear()
    {
        exprs.clear();
        stmts.clear();
        functions.clear();
        lists.clear();
    }
};

// Whether working out the expression `index` of `syntax` may change a
// variable.
inline bool changes(const RoutineSyntax &syntax, int index)
{
    if (index < 0)
        return false;
    const Expr &e = syntax.exprs[static_cast<std::size_t>(index)];
    const auto changing = [&](int operand) { return changes(syntax, operand); };
    return e.kind == Expr::Kind::Assign || e.kind == Expr::Kind::Step || changing(e.a) || changing(e.b)
           || changing(e.c) || std::any_of(e.arguments.begin(), e.arguments.end(), changing);
}

} // namespace sweepdraw
