#include "Emitter.h"

#include "Library.h"
#include "RoutineRefusal.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace sweepdraw {

namespace {

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

    void function(const FunctionSyntax &function)
    {
        m_name = &function;
        m_variables = function.variables;
        m_constants.clear();
        m_constantSlots.clear();
        m_pinned = 0;
        m_maxTemps = 0;
        const auto start = static_cast<std::uint32_t>(m_program.code.size());
        label();
        statement(function.body);
        emit(function.result == Type::Void ? OpCode::ReturnVoid : OpCode::NoReturn, function.line);
        relocate(start);
        RoutineFunction made{function.name, static_cast<int>(function.parameters.size()), 0, {}, start, function.line};
        const int constants = static_cast<int>(m_constants.size());
        made.slots = m_variables + constants + m_pinned + m_maxTemps;
        if (made.slots > kMaxSlots)
            refuseRoutine(function.line, 1, FaultKind::FunctionTooLarge, {quotedForMessage(function.name)});
        made.initial.assign(static_cast<std::size_t>(m_variables + constants), RoutineSlot{});
        for (int k = 0; k < constants; ++k)
            made.initial[static_cast<std::size_t>(m_variables + k)] = m_constants[static_cast<std::size_t>(k)];
        m_program.functions.push_back(std::move(made));
    }

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

    std::size_t emit(OpCode op, int line, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0)
    {
        Instruction instruction{.op = op,
                                .a = static_cast<std::uint16_t>(a),
                                .b = static_cast<std::uint16_t>(b),
                                .c = static_cast<std::uint16_t>(c),
                                .d = static_cast<std::uint16_t>(d),
                                .e = static_cast<std::uint16_t>(e),
                                .line = static_cast<std::uint32_t>(line)};
        forgetWritten(instruction);
        m_program.code.push_back(instruction);
        return m_program.code.size() - 1;
    }

    // Where a jump may land: no pairing reaches across it.
    std::uint32_t label()
    {
        m_pending.clear();
        return static_cast<std::uint32_t>(m_program.code.size());
    }

    void patch(std::size_t jump) { m_program.code[jump].target = label(); }

    void patch(const std::vector<std::size_t> &jumps)
    {
        for (const std::size_t jump : jumps)
            patch(jump);
    }

    void forgetWritten(const Instruction &instruction)
    {
        const std::array<int, 2> written = writtenBy(instruction);
        std::erase_if(m_pending, [&](const Pending &pending) {
            return pending.argument == written[0] || pending.argument == written[1];
        });
    }

    int temp()
    {
        const int slot = m_variables + m_temps++;
        m_maxTemps = std::max(m_maxTemps, m_temps);
        if (slot >= kPinned)
            refuseRoutine(m_name->line, 1, FaultKind::FunctionTooLarge, {quotedForMessage(m_name->name)});
        return slot;
    }

    int constant(Type type, RoutineSlot value)
    {
        std::uint64_t bits = 0;
        const std::size_t size = type == Type::Double || type == Type::Long ? 8 : 4;
        std::memcpy(&bits, &value, size);
        RoutineSlot clean{};
        std::memcpy(&clean, &value, size);
        const auto [known, added] = m_constantSlots.try_emplace({static_cast<int>(type), bits}, m_constants.size());
        if (added)
            m_constants.push_back(clean);
        if (m_constants.size() >= kConstants)
            refuseRoutine(m_name->line, 1, FaultKind::FunctionTooLarge, {quotedForMessage(m_name->name)});
        return kConstants + static_cast<int>(known->second);
    }

    void move(int to, int from, int line)
    {
        if (to >= 0 && to != from)
            emit(OpCode::Move, line, to, from);
    }

    // The slot that holds the value of `index`, in `want` if it is given.
    int value(int index, int want = -1)
    {
        const Expr &e = expr(index);
        switch (e.kind) {
        case Expr::Kind::Constant: {
            const int slot = constant(e.type, e.value);
            move(want, slot, e.line);
            return want >= 0 ? want : slot;
        }
        case Expr::Kind::Local: move(want, e.slot, e.line); return want >= 0 ? want : e.slot;
        case Expr::Kind::Operation: return operation(e, want);
        case Expr::Kind::And:
        case Expr::Kind::Or:
        case Expr::Kind::Conditional: {
            // Into a slot of its own: one arm must not write a variable
            // the other, or the test, still reads.
            const int into = want >= m_variables ? want : temp();
            if (e.kind == Expr::Kind::Conditional) {
                std::vector<std::size_t> skips;
                jumpUnless(e.a, e.line, skips);
                value(e.b, into);
                const std::size_t end = emit(OpCode::Jump, e.line);
                patch(skips);
                value(e.c, into);
                patch(end);
            } else {
                value(e.a, into);
                const std::size_t skip = emit(e.kind == Expr::Kind::And ? OpCode::JumpIfFalse : OpCode::JumpIfTrue, e.line, into);
                value(e.b, into);
                patch(skip);
            }
            move(want, into, e.line);
            return want >= 0 ? want : into;
        }
        case Expr::Kind::Assign: value(e.a, e.slot); move(want, e.slot, e.line); return want >= 0 ? want : e.slot;
        case Expr::Kind::Step: {
            RoutineSlot one{};
            if (e.type == Type::Int)
                one.i = 1;
            else if (e.type == Type::Long)
                one.l = 1;
            else if (e.type == Type::Float)
                one.f = 1;
            else
                one.d = 1;
            const bool copied = e.after && want != kDropped;
            const int before = copied ? temp() : -1;
            move(before, e.slot, e.line);
            emit(e.op, e.line, e.slot, e.slot, constant(e.type, one));
            const int result = copied ? before : e.slot;
            move(want, result, e.line);
            return want >= 0 ? want : result;
        }
        case Expr::Kind::Call: {
            // The first three arguments that are constants, or variables
            // no later argument changes, the call copies from their slots;
            // the others are worked out in place.
            const int first = m_variables + m_temps;
            int from[3] = {first, first + 1, first + 2};
            for (std::size_t i = 0; i < e.arguments.size(); ++i)
                temp();
            for (std::size_t i = 0; i < e.arguments.size(); ++i) {
                const Expr &argument = expr(e.arguments[i]);
                const auto later = e.arguments.begin() + static_cast<long>(i) + 1;
                if (argument.type == Type::Surface)
                    continue;
                if (i < 3
                    && (argument.kind == Expr::Kind::Constant
                        || (argument.kind == Expr::Kind::Local
                            && std::none_of(later, e.arguments.end(), [&](int a) { return changes(m_syntax, a); }))))
                    from[i] = value(e.arguments[i]);
                else
                    value(e.arguments[i], first + static_cast<int>(i));
            }
            // The result goes where it is wanted at once: the callee's
            // frame begins at `first`, above any slot wanted.
            const int result = e.type == Type::Void ? 0 : want >= 0 ? want : temp();
            m_program.code[emit(OpCode::Call, e.line, first, result, from[0], from[1], from[2])].target = e.function;
            label();
            return result;
        }
        }
        return 0;
    }

    int operation(const Expr &e, int want)
    {
        const int a = value(e.a);
        const int b = e.b >= 0 ? value(e.b) : 0;
        const bool onFloat = e.op == OpCode::MathF1;
        const bool isSin = (onFloat || e.op == OpCode::MathD1) && mathFunction(e.function).name == "sin";
        const bool trigonometry = isSin || ((onFloat || e.op == OpCode::MathD1) && mathFunction(e.function).name == "cos");
        if (trigonometry) {
            for (const Pending &pending : m_pending) {
                if (pending.argument != a || pending.isSin == isSin || pending.op != e.op)
                    continue;
                Instruction &earlier = m_program.code[pending.at];
                const int other = earlier.a;
                const int result = kPinned + m_pinned++;
                earlier.op = e.op == OpCode::MathF1 ? OpCode::SinCosF : OpCode::SinCosD;
                earlier.a = static_cast<std::uint16_t>(isSin ? result : other);
                earlier.b = static_cast<std::uint16_t>(isSin ? other : result);
                earlier.c = static_cast<std::uint16_t>(a);
                const std::size_t paired = pending.at;
                std::erase_if(m_pending, [paired](const Pending &p) { return p.at == paired; });
                move(want, result, e.line);
                return want >= 0 ? want : result;
            }
        }
        const int into = want >= 0 ? want : temp();
        const std::size_t at = e.after ? emit(e.op, e.line, into, b, a) : emit(e.op, e.line, into, a, b);
        m_program.code[at].target = e.function;
        if (trigonometry)
            m_program.code[at].op = isSin ? (onFloat ? OpCode::SinF : OpCode::SinD) : (onFloat ? OpCode::CosF : OpCode::CosD);
        if (trigonometry && a != into)
            m_pending.push_back({at, a, isSin, e.op});
        return into;
    }

    void statement(int index)
    {
        const Stmt &s = stmt(index);
        m_temps = 0;
        switch (s.kind) {
        case Stmt::Kind::Block:
            for (const int child : s.children)
                statement(child);
            break;
        case Stmt::Kind::Expression: {
            const Expr &e = expr(s.expr);
            value(s.expr, e.kind == Expr::Kind::Assign ? e.slot : kDropped);
            break;
        }
        case Stmt::Kind::If: {
            if (expr(s.expr).kind == Expr::Kind::Constant) {
                if (expr(s.expr).value.i)
                    statement(s.body);
                else if (s.otherwise >= 0)
                    statement(s.otherwise);
                break;
            }
            std::vector<std::size_t> skips;
            jumpUnless(s.expr, s.line, skips);
            statement(s.body);
            if (s.otherwise < 0) {
                patch(skips);
                break;
            }
            const std::size_t end = emit(OpCode::Jump, s.line);
            patch(skips);
            statement(s.otherwise);
            patch(end);
            break;
        }
        case Stmt::Kind::For:
        case Stmt::Kind::While:
        case Stmt::Kind::Do: loop(s); break;
        case Stmt::Kind::Break: m_loops.back().breaks.push_back(emit(OpCode::Jump, s.line)); break;
        case Stmt::Kind::Continue: m_loops.back().continues.push_back(emit(OpCode::Jump, s.line)); break;
        case Stmt::Kind::Return:
            if (s.inLoopBody)
                m_bodies.back().push_back(emit(OpCode::Jump, s.line));
            else if (s.expr >= 0 && expr(s.expr).kind == Expr::Kind::Conditional)
                returnEither(expr(s.expr), s.line);
            else if (s.expr >= 0)
                emit(OpCode::Return, s.line, value(s.expr));
            else
                emit(OpCode::ReturnVoid, s.line);
            break;
        case Stmt::Kind::Loop: drawingLoop(s); break;
        case Stmt::Kind::Surface: surface(s); break;
        }
    }

    // return a ? b : c, as if (a) return b; return c;
    void returnEither(const Expr &e, int line)
    {
        std::vector<std::size_t> skips;
        jumpUnless(e.a, line, skips);
        emit(OpCode::Return, line, value(e.b));
        patch(skips);
        emit(OpCode::Return, line, value(e.c));
    }

    // The operands of the comparison `e`, in the order its instruction
    // takes them.
    std::pair<int, int> compared(const Expr &e)
    {
        const int a = value(e.a);
        const int b = value(e.b);
        return e.after ? std::pair{b, a} : std::pair{a, b};
    }

    // Adds to `jumps` those that leave when `index` is false, a comparison
    // and the jump made one instruction.
    void jumpUnless(int index, int line, std::vector<std::size_t> &jumps)
    {
        const Expr &e = expr(index);
        if (e.kind == Expr::Kind::And) {
            jumpUnless(e.a, line, jumps);
            jumpUnless(e.b, line, jumps);
        } else if (e.kind == Expr::Kind::Operation && isComparison(e.op)) {
            const auto [a, b] = compared(e);
            jumps.push_back(emit(fusedWith(e.op, OpCode::JumpUnlessLtI), line, a, b));
        } else {
            jumps.push_back(emit(OpCode::JumpIfFalse, line, value(index)));
        }
    }

    // A loop's turn, and its test: back to `top` while `index` is true.
    void loopIf(int index, int line, std::uint32_t top)
    {
        const Expr &e = expr(index);
        std::size_t turn = 0;
        if (e.kind == Expr::Kind::Operation && isComparison(e.op)) {
            const auto [a, b] = compared(e);
            turn = emit(fusedWith(e.op, OpCode::LoopIfLtI), line, a, b);
        } else {
            turn = emit(OpCode::LoopIfTrue, line, value(index));
        }
        m_program.code[turn].target = top;
    }

    // A for, while or do loop: its body, its turn, counted after every run
    // of the body, and its test after the turn (a for or while loop's made
    // once before the body as well), so that a turn runs one jump.
    void loop(const Stmt &s)
    {
        if (s.init >= 0)
            statement(s.init);
        const bool isDo = s.kind == Stmt::Kind::Do;
        const bool tested = s.expr >= 0 && !isDo;
        std::vector<std::size_t> exits;
        if (tested) {
            m_temps = 0;
            jumpUnless(s.expr, s.line, exits);
        }
        const std::uint32_t top = label();
        m_loops.emplace_back();
        statement(s.body);
        LoopJumps jumps = std::move(m_loops.back());
        m_loops.pop_back();
        for (const std::size_t jump : jumps.continues)
            patch(jump);
        label();
        m_temps = 0;
        if (s.step >= 0)
            value(s.step, kDropped);
        if (s.expr >= 0)
            loopIf(s.expr, s.line, top);
        else
            m_program.code[emit(OpCode::LoopBack, s.line)].target = top;
        patch(exits);
        patch(jumps.breaks);
        label();
    }

    void drawingLoop(const Stmt &s)
    {
        const int start = value(s.children[0]);
        const int end = value(s.children[1]);
        const int step = value(s.children[2]);
        const bool sweep = s.op == OpCode::SweepStart;
        const std::size_t begin = emit(s.op, s.line, start, end, step, s.slot);
        m_program.code[begin].aux = static_cast<std::uint16_t>(s.loop);
        const std::uint32_t body = label();
        m_bodies.emplace_back();
        std::vector<LoopJumps> outer = std::move(m_loops);
        m_loops.clear();
        statement(s.body);
        m_loops = std::move(outer);
        for (const std::size_t jump : m_bodies.back())
            patch(jump);
        m_bodies.pop_back();
        label();
        const std::size_t next = emit(sweep ? OpCode::SweepNext : OpCode::ColourNext, s.line, 0, 0, 0, s.slot);
        m_program.code[next].aux = static_cast<std::uint16_t>(s.loop);
        m_program.code[next].target = body;
        patch(begin);
    }

    void surface(const Stmt &s)
    {
        const auto isOp = [&](int index, OpCode op) {
            return expr(index).kind == Expr::Kind::Operation && expr(index).op == op;
        };
        const std::vector<int> &arguments = s.children;
        if (s.op == OpCode::PlotPoint && isOp(arguments[0], OpCode::DoubleToFloat)
            && isOp(arguments[1], OpCode::DoubleToFloat) && isOp(arguments[2], OpCode::Palette)) {
            emit(OpCode::PlotPointOfDoubles, s.line, value(expr(arguments[0]).a), value(expr(arguments[1]).a),
                 value(expr(arguments[2]).a));
            return;
        }
        // A colour of the palette, on the operation's own line, is looked
        // up by the operation: a number outside the palette fails there.
        const OpCode ofPalette = s.op == OpCode::PlotPoint    ? OpCode::PlotPointOfPalette
                                 : s.op == OpCode::DrawBox    ? OpCode::DrawBoxOfPalette
                                 : s.op == OpCode::DrawCircle ? OpCode::DrawCircleOfPalette
                                                              : OpCode::End;
        const bool fused = ofPalette != OpCode::End && isOp(arguments.back(), OpCode::Palette)
                           && expr(arguments.back()).line == s.line;
        int slots[5] = {};
        for (std::size_t i = 0; i < arguments.size(); ++i)
            slots[i] = fused && i + 1 == arguments.size() ? value(expr(arguments[i]).a) : value(arguments[i]);
        emit(fused ? ofPalette : s.op, s.line, slots[0], slots[1], slots[2], slots[3], slots[4]);
    }

    void relocate(std::uint32_t start)
    {
        const int constants = static_cast<int>(m_constants.size());
        const auto place = [&](std::uint16_t &slot) {
            const int v = slot;
            if (v >= kConstants)
                slot = static_cast<std::uint16_t>(m_variables + v - kConstants);
            else if (v >= kPinned)
                slot = static_cast<std::uint16_t>(m_variables + constants + v - kPinned);
            else if (v >= m_variables)
                slot = static_cast<std::uint16_t>(v + constants + m_pinned);
        };
        for (std::size_t i = start; i < m_program.code.size(); ++i) {
            Instruction &instruction = m_program.code[i];
            for (std::uint16_t *slot : {&instruction.a, &instruction.b, &instruction.c, &instruction.d, &instruction.e})
                place(*slot);
        }
    }

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

} // namespace

void emitRoutine(const RoutineSyntax &syntax, RoutineProgram &program)
{
    program.code.reserve(syntax.exprs.size());
    Emitter emitter(syntax, program);
    for (const FunctionSyntax &function : syntax.functions)
        emitter.function(function);
}

} // namespace sweepdraw
