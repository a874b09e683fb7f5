#pragma once

#include "RoutineProgram.h"

#include <algorithm>
#include <array>
#include <cstdint>
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
    // A Call's, kept in its tree's argument lists: a node is copied as its
    // bytes, as the parser makes nearly one a token.
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
    std::vector<int> children;
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
};

struct RoutineSyntax
{
    std::vector<Expr> exprs;
    std::vector<Stmt> stmts;
    std::vector<FunctionSyntax> functions;
    // The calls' arguments, each list where it was made when the outer
    // vector grows, as its nodes' spans need.
    std::vector<std::vector<int>> argumentLists;

    void clear()
    {
        exprs.clear();
        stmts.clear();
        functions.clear();
        argumentLists.clear();
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
