#include "EmitterParts.h"


namespace sweepdraw::emitting {

void Emitter::statement(int index)
{
    const Stmt &s = stmt(index);
    m_temps = m_tempBase;
    switch (s.kind) {
    case Stmt::Kind::Block:
        for (const int child : s.children)
            statement(child);
        break;
    case Stmt::Kind::Expression: {
        const Expr &e = expr(s.expr);
        value(s.expr, e.kind == Expr::Kind::Assign ? local(e.slot) : kDropped);
        break;
    }
    case Stmt::Kind::If: ifStatement(s); break;
    case Stmt::Kind::For:
    case Stmt::Kind::While:
    case Stmt::Kind::Do: loop(s); break;
    case Stmt::Kind::Break: m_loops.back().breaks.push_back(emit(OpCode::Jump, s.line)); break;
    case Stmt::Kind::Continue: m_loops.back().continues.push_back(emit(OpCode::Jump, s.line)); break;
    case Stmt::Kind::Return:
        if (s.inLoopBody)
            m_bodies.back().push_back(emit(OpCode::Jump, s.line));
        else
            returned(s.expr, s.line, !m_inlined.empty() && m_inlined.back().last == index);
        break;
    case Stmt::Kind::Loop: drawingLoop(s); break;
    case Stmt::Kind::Surface: surface(s); break;
    }
}

// Kept out of statement(), as the loops are, so that the frame every
// statement is emitted in holds only what the most need.
void Emitter::ifStatement(const Stmt &s)
{
    if (const int test = known(s.expr); test >= 0) {
        if (test)
            statement(s.body);
        else if (s.otherwise >= 0)
            statement(s.otherwise);
        return;
    }
    JumpList skipsList(*this);
    std::vector<std::size_t> &skips = skipsList.jumps;
    jumpUnless(s.expr, s.line, skips);
    statement(s.body);
    if (s.otherwise < 0) {
        patch(skips);
        return;
    }
    const std::size_t end = emit(OpCode::Jump, s.line);
    patch(skips);
    statement(s.otherwise);
    patch(end);
}

// Returns the value of the expression `index`, none for -1, from the
// function emitted or from the one inlined innermost, where `last` is its
// last statement; return a ? b : c as if (a) return b; return c;. A
// function's call of itself as it returns starts it again in its frame.
void Emitter::returned(int index, int line, bool last)
{
    const Expr *e = index >= 0 ? &expr(index) : nullptr;
    if (e && e->kind == Expr::Kind::Conditional) {
        // A test known while emitting, as an inlined function's bool given
        // a constant, returns its one arm, the other never emitted.
        if (const int test = known(e->a); test >= 0) {
            returned(test ? e->b : e->c, line, last);
            return;
        }
        JumpList skipsList(*this);
        std::vector<std::size_t> &skips = skipsList.jumps;
        if (isTailCall(e->c) && !isTailCall(e->b) && jumpIf(e->a, line, skips)) {
            // The call of itself, a turn, runs on from the test.
            returned(e->c, line, false);
            testedByTurn(skips);
            patch(skips);
            returned(e->b, line, last);
            return;
        }
        jumpUnless(e->a, line, skips);
        returned(e->b, line, false);
        patch(skips);
        returned(e->c, line, last);
    } else if (e && !m_inlined.empty() && isTailCall(index)) {
        tailJump(*e);
    } else if (!m_inlined.empty()) {
        if (e)
            value(index, m_inlined.back().result);
        if (!last)
            m_inlined.back().returns.push_back(emit(OpCode::Jump, line));
    } else if (e && e->kind == Expr::Kind::Call && e->function == m_index) {
        const int first = m_variables + m_temps;
        const std::array<int, 3> from = arguments(*e, first);
        Instruction &again = m_program.code[emit(OpCode::TailCall, e->line, first, 0, from[0], from[1], from[2])];
        again.target = m_entry;
        again.aux = static_cast<std::uint16_t>(m_name->parameters.size());
        label();
    } else if (e) {
        emit(OpCode::Return, line, value(index));
    } else {
        emit(OpCode::ReturnVoid, line);
    }
}

// An inlined function's call of itself as it returns: its arguments, all
// worked out before any parameter changes, become its parameters, and it
// starts again. Those it lacks of three are copied onto themselves.
void Emitter::tailJump(const Expr &e)
{
    const Inlined &inlined = m_inlined.back();
    const int parameters = inlined.first, depth = inlined.depth;
    const std::uint32_t entry = inlined.entry;
    std::array<int, 3> from = arguments(e, m_variables + m_temps);
    for (std::size_t p = 0; p < from.size(); ++p)
        if (p >= e.arguments.size() || expr(e.arguments[p]).type == Type::Surface)
            from[p] = parameters + static_cast<int>(p);
    const OpCode op = e.arguments.size() <= 2 ? OpCode::TailJumpOfTwo : OpCode::TailJump;
    Instruction &again = m_program.code[emit(op, e.line, parameters, depth, from[0], from[1], from[2])];
    again.target = entry;
    label();
}

// A turn just emitted that goes back to the one test in `skips`, whose
// jump leads to the instruction after the turn, makes that test itself.
void Emitter::testedByTurn(const std::vector<std::size_t> &skips)
{
    Instruction &turn = m_program.code.back();
    if (skips.size() != 1 || turn.op != OpCode::TailJumpOfTwo || turn.target != skips[0])
        return;
    const Instruction &test = m_program.code[skips[0]];
    if (test.op != OpCode::JumpIfFalse && test.op != OpCode::JumpIfTrue)
        return;
    turn.op = test.op == OpCode::JumpIfFalse ? OpCode::TailJumpOfTwoIfTrue : OpCode::TailJumpOfTwoIfFalse;
    turn.e = test.a;
    turn.target = static_cast<std::uint32_t>(skips[0] + 1);
}

// Whether the expression `index`, returned, is a call of itself of the
// function emitted or of the one inlined innermost, which loops.
bool Emitter::isTailCall(int index) const
{
    const Expr &e = expr(index);
    if (e.kind != Expr::Kind::Call)
        return false;
    return m_inlined.empty() ? e.function == m_index
                             : m_inlined.back().depth >= 0 && e.function == m_inlined.back().function;
}

// Adds to `jumps` one that leaves when the comparison `index` is true, if
// another comparison is exactly its opposite: == and != of any type, < and
// <= of integers (with a NaN, neither a < b nor b <= a holds).
bool Emitter::jumpIf(int index, int line, std::vector<std::size_t> &jumps)
{
    const Expr &e = expr(index);
    if (e.kind != Expr::Kind::Operation || !isComparison(e.op) || known(index) >= 0)
        return false;
    const int kind = static_cast<int>(e.op) - static_cast<int>(OpCode::LtI);
    const bool integer = e.op < OpCode::LtF, ordered = kind % 4 < 2;
    if (ordered && !integer)
        return false;
    // Lt and Le swap their operands and each other, Eq and Ne each other.
    const auto opposite = static_cast<OpCode>(static_cast<int>(e.op) + (kind % 2 == 0 ? 1 : -1));
    const auto [a, b] = compared(e);
    jumps.push_back(jumpUnless(opposite, ordered ? b : a, ordered ? a : b, line));
    return true;
}

// A loop's turn, and its test: back to `top` while `index` is true.
void Emitter::loopIf(int index, int line, std::uint32_t top)
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
void Emitter::loop(const Stmt &s)
{
    if (s.init >= 0)
        statement(s.init);
    const bool isDo = s.kind == Stmt::Kind::Do;
    const bool tested = s.expr >= 0 && !isDo;
    JumpList exitsList(*this);
    std::vector<std::size_t> &exits = exitsList.jumps;
    if (tested) {
        m_temps = m_tempBase;
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
    m_temps = m_tempBase;
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

void Emitter::drawingLoop(const Stmt &s)
{
    const int start = value(s.children[0]);
    const int end = value(s.children[1]);
    const int step = value(s.children[2]);
    const bool sweep = s.op == OpCode::SweepStart;
    const int counter = local(s.slot);
    const std::size_t begin = emit(s.op, s.line, start, end, step, counter);
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
    // A constant step tells which way the sweep goes: its end needs no
    // look at the direction at every turn.
    const double constantStep =
        sweep && step >= kConstants ? m_constants[static_cast<std::size_t>(step - kConstants)].d : 0;
    const OpCode nextOp = !sweep              ? OpCode::ColourNext
                          : constantStep > 0 ? OpCode::SweepNextUp
                          : constantStep < 0 ? OpCode::SweepNextDown
                                             : OpCode::SweepNext;
    const std::size_t next = emit(nextOp, s.line, 0, 0, 0, counter);
    m_program.code[next].aux = static_cast<std::uint16_t>(s.loop);
    m_program.code[next].target = body;
    patch(begin);
}

void Emitter::surface(const Stmt &s)
{
    const auto isOp = [&](int index, OpCode op) {
        return expr(index).kind == Expr::Kind::Operation && expr(index).op == op;
    };
    const std::span<const int> arguments = s.children;
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

} // namespace sweepdraw::emitting
