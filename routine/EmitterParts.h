#pragma once

#include "Syntax.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// The emitter's own parts, shared by the files it is written in: the slots
// and jumps in EmitterSlots.cpp, the expressions in EmitterExpressions.cpp,
// the statements in EmitterStatements.cpp.

namespace sweepdraw::emitting {

// While a function is emitted its slots are numbered by region, and put in
// their places once its counts are known: its variables [0, V) stay, its
// constants (kConstants + k) follow them, then the slots kept for the
// sines paired with cosines (kPinned + k), then the intermediate results
// (V + t).
constexpr int kPinned = 0x4000;
constexpr int kConstants = 0x8000;
constexpr int kMaxSlots = 0xffff;
// What an expression statement or a for's step is asked for: no value.
constexpr int kDropped = -2;

class Emitter final
{
public:
    Emitter(const RoutineSyntax &syntax, RoutineProgram &program)
        : m_syntax(syntax)
        , m_program(program)
    {
    }

    void function(const FunctionSyntax &function);

private:
    struct Pending
    {
        std::size_t at;
        int argument;
        bool isSin;
        OpCode op;
    };

    struct LoopJumps
    {
        std::vector<std::size_t> breaks;
        std::vector<std::size_t> continues;
    };

    const Expr &expr(int index) const { return m_syntax.exprs[static_cast<std::size_t>(index)]; }
    const Stmt &stmt(int index) const { return m_syntax.stmts[static_cast<std::size_t>(index)]; }

    std::size_t emit(OpCode op, int line, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0);
    std::uint32_t label();
    void patch(std::size_t jump);
    void patch(const std::vector<std::size_t> &jumps);
    void forgetWritten(const Instruction &instruction);
    int temp();
    int constant(Type type, RoutineSlot value);
    void move(int to, int from, int line);
    int value(int index, int want = -1);
    int operation(const Expr &e, int want);
    void statement(int index);
    void returnEither(const Expr &e, int line);
    std::pair<int, int> compared(const Expr &e);
    void jumpUnless(int index, int line, std::vector<std::size_t> &jumps);
    void loopIf(int index, int line, std::uint32_t top);
    void loop(const Stmt &s);
    void drawingLoop(const Stmt &s);
    void surface(const Stmt &s);
    void relocate(std::uint32_t start);

    const RoutineSyntax &m_syntax;
    RoutineProgram &m_program;
    const FunctionSyntax *m_name = nullptr;
    int m_variables = 0;
    int m_temps = 0;
    int m_maxTemps = 0;
    int m_pinned = 0;
    std::vector<RoutineSlot> m_constants;
    std::map<std::pair<int, std::uint64_t>, std::size_t> m_constantSlots;
    std::vector<Pending> m_pending;
    std::vector<LoopJumps> m_loops;                 // for, while and do, innermost last
    std::vector<std::vector<std::size_t>> m_bodies; // the returns of Sweep and ColourPass bodies
};

} // namespace sweepdraw::emitting
