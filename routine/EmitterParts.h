#pragma once

#include "Syntax.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// The emitter's own parts, shared by the files it is written in: the slots
// and jumps in EmitterSlots.cpp, the expressions in EmitterExpressions.cpp,
// the statements in EmitterStatements.cpp, the calls in EmitterCalls.cpp.

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
// A function is inlined, emitted into its caller's frame rather than
// called, when it cannot reach itself and has at most this many statements
// and expressions, with those of the calls it inlines in turn: as many as
// a function of a few lines has. A call inlined
// makes no frame, copies no constants and no arguments that are constants
// or variables the function does not change, and leaves the caller's
// values where they are.
constexpr int kInlinedNodes = 64;
// The depth a function runs at where nothing bounds it: under a recursive
// function, or itself recursive.
constexpr int kUnbounded = 1 << 30;

// What the emitter knows of a function before it emits a call of it.
struct CalleeFacts
{
    bool recursive = false; // it calls itself
    // The deepest it can run, in calls, the drawing function at 1; 0 if it
    // never runs.
    int depth = 0;
    // Its statements and expressions, with those of the calls it inlines.
    int nodes = 0;
    bool inlined = false;
    // It calls nothing but itself, as it returns, with at most three
    // parameters: inlined, its calls of itself are the turns of a loop.
    bool loops = false;
    int returns = 0; // its return statements, but those of its loops' bodies
};

class Emitter final
{
public:
    Emitter(const RoutineSyntax &syntax, RoutineProgram &program)
        : m_syntax(syntax)
        , m_program(program)
    {
    }

    // Learns, before any is emitted, which functions are inlined.
    void survey();
    void function(std::uint32_t index);
    // Works out `m_program.stackSlots`, once every function is emitted.
    void measureStack();

private:
    struct Pending
    {
        std::size_t at;
        int argument;
        bool isSin;
        OpCode op;
    };

    struct ConstantPlace
    {
        std::uint32_t stamp = 0;
        std::uint32_t constant = 0;
    };

    // The jumps that one test, arm or loop leaves by, to patch where they
    // land: their room kept by the emitter once patched, so that the next
    // list takes no fresh memory.
    struct JumpList final
    {
        explicit JumpList(Emitter &emitter)
            : spare(emitter.m_spareJumps)
        {
            if (!spare.empty()) {
                jumps = std::move(spare.back());
                spare.pop_back();
            }
        }
        ~JumpList()
        {
            jumps.clear();
            spare.push_back(std::move(jumps));
        }
        JumpList(const JumpList &) = delete;
        JumpList &operator=(const JumpList &) = delete;

        std::vector<std::vector<std::size_t>> &spare;
        std::vector<std::size_t> jumps;
    };

    struct LoopJumps
    {
        std::vector<std::size_t> breaks;
        std::vector<std::size_t> continues;
    };

    // A function emitted into its caller's frame: its slots there, by its
    // own numbers (a parameter that it does not change is the argument's
    // own slot), where its value goes, and its returns, jumps to its end.
    struct Inlined
    {
        std::vector<int> slots;
        int first, end; // its variables' slots of the caller's
        int result;
        int last; // its last statement, which needs no jump to its end
        std::vector<std::size_t> returns;
        std::uint32_t function = 0;
        // Where a function that loops starts again, and its slot counting
        // the calls its turns stand for.
        std::uint32_t entry = 0;
        int depth = -1;
    };

    const Expr &expr(int index) const { return m_syntax.exprs[static_cast<std::size_t>(index)]; }
    const Stmt &stmt(int index) const { return m_syntax.stmts[static_cast<std::size_t>(index)]; }

    std::size_t emit(OpCode op, int line, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0);
    std::uint32_t label();
    void patch(std::size_t jump);
    void patch(const std::vector<std::size_t> &jumps);
    void forgetWritten(const Instruction &instruction);
    void emitFunction(const FunctionSyntax &function, bool inlining);
    int temp();
    [[noreturn]] void refuseTooLarge() const;
    int local(int slot) const
    {
        return m_inlined.empty() ? slot : m_inlined.back().slots[static_cast<std::size_t>(slot)];
    }
    bool isVariable(int slot) const;
    int constant(Type type, RoutineSlot value);
    // The place of the constant `key`, or the free place where it goes.
    ConstantPlace &constantPlace(std::pair<int, std::uint64_t> key)
    {
        std::uint64_t hash = (key.second ^ static_cast<std::uint64_t>(key.first)) * 0x9e3779b97f4a7c15u;
        hash ^= hash >> 32;
        const std::size_t mask = m_constantPlaces.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            ConstantPlace &place = m_constantPlaces[i];
            if (place.stamp != m_stamp || m_constantKeys[place.constant] == key)
                return place;
        }
    }
    void growConstantPlaces();
    void forgetConstants();
    void move(int to, int from, int line);
    int value(int index, int want = -1);
    int choice(const Expr &e, int want);
    int step(const Expr &e, int want);
    int operation(const Expr &e, int want);
    int pairedWithEarlier(const Expr &e, int a, bool isSin);
    void madeTrigonometry(const Expr &e, std::size_t at, int a, int into, bool isSin);
    std::size_t arithmetic(OpCode op, int line, int into, int a, int b);
    bool fusedWithProduct(const Expr &e, int into, int a, int b, bool productFirst);
    int call(const Expr &e, int want);
    int inlineCall(const Expr &e, int want, std::vector<std::size_t> *unless = nullptr);
    int tailCalls(int index, std::uint32_t function) const;
    void tailJump(const Expr &e);
    void testedByTurn(const std::vector<std::size_t> &skips);
    bool isTailCall(int index) const;
    bool jumpIf(int index, int line, std::vector<std::size_t> &jumps);
    bool inlinedAsTest(const Expr &e) const;
    std::array<int, 3> arguments(const Expr &e, int first);
    bool readInPlace(const Expr &e, std::size_t i) const;
    void statement(int index);
    void ifStatement(const Stmt &s);
    void returned(int index, int line, bool last);
    int known(int index) const;
    std::pair<int, int> compared(const Expr &e);
    void jumpUnless(int index, int line, std::vector<std::size_t> &jumps);
    std::size_t jumpUnless(OpCode compare, int a, int b, int line);
    void loopIf(int index, int line, std::uint32_t top);
    void loop(const Stmt &s);
    void drawingLoop(const Stmt &s);
    void surface(const Stmt &s);
    void relocate(std::uint32_t start);

    const RoutineSyntax &m_syntax;
    RoutineProgram &m_program;
    const FunctionSyntax *m_name = nullptr;
    std::uint32_t m_index = 0;
    std::uint32_t m_entry = 0;
    bool m_inlining = true;
    std::vector<CalleeFacts> m_callees;
    std::vector<Inlined> m_inlined; // innermost last
    int m_variables = 0;
    int m_tempBase = 0; // where a statement's temps begin
    int m_temps = 0;
    int m_maxTemps = 0;
    int m_pinned = 0;
    std::vector<RoutineSlot> m_constants;
    // Each constant's type and bits, by its number, and where each is, by
    // open addressing on them: a place is taken only if it has the stamp
    // of the function being emitted, so that the next starts with none
    // for the cost of a new stamp rather than a node freed per constant.
    std::vector<std::pair<int, std::uint64_t>> m_constantKeys;
    std::vector<ConstantPlace> m_constantPlaces; // a power of two of them
    std::uint32_t m_stamp = 1;
    std::vector<Pending> m_pending;
    // Where the last place a jump may land is: at the end of the code, no
    // instruction may be fused with the one before it.
    std::size_t m_landing = 0;
    std::vector<LoopJumps> m_loops;                 // for, while and do, innermost last
    std::vector<std::vector<std::size_t>> m_bodies; // the returns of Sweep and ColourPass bodies
    std::vector<std::vector<std::size_t>> m_spareJumps;
};

} // namespace sweepdraw::emitting
