#include "EmitterParts.h"

#include "RoutineMachine.h"

#include <algorithm>

namespace sweepdraw::emitting {

// A function calls only those defined before it, and itself: none but
// itself can reach it again. What is learnt from the expressions made
// while a function was read, some left unused by the checker, errs only
// towards a call that is not inlined or is checked.
void Emitter::survey()
{
    const std::size_t count = m_syntax.functions.size();
    m_callees.assign(count, {});
    for (std::size_t f = 0; f < count; ++f) {
        CalleeFacts &facts = m_callees[f];
        const FunctionSyntax &function = m_syntax.functions[f];
        facts.nodes = static_cast<int>(function.endExpr - function.firstExpr + function.endStmt - function.firstStmt);
        const std::vector<std::uint32_t> &calls = function.calls;
        std::size_t tail = 0;
        for (std::uint32_t i = function.firstStmt; i < function.endStmt; ++i) {
            const Stmt &s = m_syntax.stmts[i];
            if (s.kind == Stmt::Kind::Return && !s.inLoopBody) {
                ++facts.returns;
                tail += s.expr >= 0 ? static_cast<std::size_t>(tailCalls(s.expr, static_cast<std::uint32_t>(f))) : 0;
            }
        }
        facts.recursive = std::find(calls.begin(), calls.end(), f) != calls.end();
        facts.loops = facts.recursive && tail == calls.size() && function.parameters.size() <= 3;
        for (const std::uint32_t callee : calls)
            if (callee != f && m_callees[callee].inlined)
                facts.nodes += m_callees[callee].nodes;
        facts.inlined = (!facts.recursive || facts.loops) && facts.nodes <= kInlinedNodes;
    }
    if (count > 0)
        m_callees.back().depth = 1;
    for (std::size_t f = count; f-- > 0;) {
        CalleeFacts &facts = m_callees[f];
        if (facts.recursive)
            facts.depth = kUnbounded;
        if (facts.depth == 0)
            continue;
        for (const std::uint32_t callee : m_syntax.functions[f].calls)
            if (callee != f)
                m_callees[callee].depth =
                    std::max(m_callees[callee].depth, facts.depth == kUnbounded ? kUnbounded : facts.depth + 1);
    }
}

// The calls of `function` that the expression `index`, returned, makes as
// it returns.
int Emitter::tailCalls(int index, std::uint32_t function) const
{
    const Expr &e = expr(index);
    if (e.kind == Expr::Kind::Conditional)
        return tailCalls(e.b, function) + tailCalls(e.c, function);
    return e.kind == Expr::Kind::Call && e.function == function;
}

int Emitter::call(const Expr &e, int want)
{
    if (m_inlining && m_callees[e.function].inlined)
        return inlineCall(e, want);
    // The result goes where it is wanted at once: the callee's frame
    // begins at `first`, above any slot wanted.
    const int first = m_variables + m_temps;
    const std::array<int, 3> from = arguments(e, first);
    const int result = e.type == Type::Void ? 0 : want >= 0 ? want : temp();
    const bool bounded = m_callees[e.function].depth <= RoutineMachine::kMaxCallDepth;
    const std::size_t at =
        emit(bounded ? OpCode::CallBounded : OpCode::Call, e.line, first, result, from[0], from[1], from[2]);
    m_program.code[at].target = e.function;
    m_program.code[at].aux = static_cast<std::uint16_t>(m_inlined.size());
    label();
    return result;
}

// Puts a call's arguments in place, the callee's frame beginning at `first`:
// the first three that are constants, or variables no later argument
// changes, the call copies from their slots, which it returns; the others
// are worked out in place.
std::array<int, 3> Emitter::arguments(const Expr &e, int first)
{
    std::array<int, 3> from = {first, first + 1, first + 2};
    for (std::size_t i = 0; i < e.arguments.size(); ++i)
        temp();
    for (std::size_t i = 0; i < e.arguments.size(); ++i) {
        if (expr(e.arguments[i]).type == Type::Surface)
            continue;
        if (i < 3 && readInPlace(e, i))
            from[i] = value(e.arguments[i]);
        else
            value(e.arguments[i], first + static_cast<int>(i));
    }
    return from;
}

// Whether the argument `i` of the call `e` is a constant, or a variable no
// later argument changes: its value is in its slot when the call is made.
bool Emitter::readInPlace(const Expr &e, std::size_t i) const
{
    const Expr &argument = expr(e.arguments[i]);
    const auto later = e.arguments.begin() + static_cast<long>(i) + 1;
    return argument.kind == Expr::Kind::Constant
           || (argument.kind == Expr::Kind::Local
               && std::none_of(later, e.arguments.end(), [&](int a) { return changes(m_syntax, a); }));
}

// The callee's body in the caller's frame, above the slots in use: its
// arguments are worked out in order as a call's, its statements' temps
// above its variables, and its returns put their value where it is wanted
// and jump to its end, or, as a test, its last and only return jumps where
// its value is false; where no return jumps to its end, the straight run of code goes on
// through it, and a sine in it pairs with a cosine beyond, as g++ pairs
// them once it inlines. Its instructions keep their lines, so that a
// failure names the callee's; where the calls around it could be as deep
// as a call may be, it checks the depth as its call would have. A function
// that loops has slots of its own for all its parameters, three at least,
// and one that counts the depth of the call each turn stands for.
int Emitter::inlineCall(const Expr &e, int want, std::vector<std::size_t> *unless)
{
    const FunctionSyntax &callee = m_syntax.functions[e.function];
    const CalleeFacts &facts = m_callees[e.function];
    const int result = e.type == Type::Void || want == kDropped ? kDropped : want >= 0 ? want : temp();
    const int first = m_variables + m_temps;
    Inlined inlined{{}, first, first + callee.variables, result, -1, {}, e.function};
    for (int i = 0; i < callee.variables; ++i)
        inlined.slots.push_back(temp());
    if (facts.loops) {
        for (int i = callee.variables; i < 3; ++i)
            temp();
        inlined.depth = temp();
    }
    for (std::size_t i = 0; i < e.arguments.size(); ++i) {
        if (expr(e.arguments[i]).type == Type::Surface)
            continue;
        if (i < 64 && !facts.loops && !(callee.assigned >> i & 1) && readInPlace(e, i))
            inlined.slots[i] = value(e.arguments[i]);
        else
            value(e.arguments[i], inlined.slots[i]);
    }
    const auto around = static_cast<std::uint16_t>(m_inlined.size());
    if (facts.loops)
        m_program.code[emit(OpCode::CountDepth, e.line, inlined.depth)].aux = around;
    else if (facts.depth > RoutineMachine::kMaxCallDepth)
        m_program.code[emit(OpCode::CheckDepth, e.line)].aux = around;
    // Only a function that loops is a place a jump lands: a sine before
    // any other still pairs with a cosine in it.
    if (facts.loops)
        inlined.entry = label();
    const Stmt &body = stmt(callee.body);
    inlined.last = body.kind == Stmt::Kind::Block ? (body.children.empty() ? -1 : body.children.back()) : callee.body;
    const bool endsInReturn = inlined.last >= 0 && stmt(inlined.last).kind == Stmt::Kind::Return;
    const int base = std::exchange(m_tempBase, m_temps);
    m_inlined.push_back(std::move(inlined));
    if (unless) {
        for (const int child : body.children)
            if (child != body.children.back())
                statement(child);
        m_temps = m_tempBase;
        const Stmt &returned = stmt(body.children.back());
        jumpUnless(returned.expr, returned.line, *unless);
    } else {
        statement(callee.body);
    }
    if (!endsInReturn && e.type != Type::Void)
        m_program.code[emit(OpCode::NoReturn, callee.line)].target = e.function;
    patch(m_inlined.back().returns);
    m_inlined.pop_back();
    m_tempBase = base;
    m_temps = first - m_variables;
    return result >= 0 ? result : 0;
}

// Whether the bool call `e` may be inlined as a test, jumping where it is
// false: its function's one return is its last statement.
bool Emitter::inlinedAsTest(const Expr &e) const
{
    const CalleeFacts &facts = m_callees[e.function];
    if (!m_inlining || !facts.inlined || facts.loops || facts.returns != 1)
        return false;
    const Stmt &body = stmt(m_syntax.functions[e.function].body);
    return body.kind == Stmt::Kind::Block && !body.children.empty()
           && stmt(body.children.back()).kind == Stmt::Kind::Return && stmt(body.children.back()).expr >= 0;
}

// The slots each function's bounded calls may need, above its frame's
// start, with those of the functions they call: the callees are defined
// before their callers, and a bounded call's callee calls none boundless.
void Emitter::measureStack()
{
    std::vector<std::size_t> need(m_program.functions.size());
    for (std::size_t f = 0; f < m_program.functions.size(); ++f) {
        const RoutineFunction &function = m_program.functions[f];
        const std::size_t end =
            f + 1 < m_program.functions.size() ? m_program.functions[f + 1].entry : m_program.code.size();
        need[f] = static_cast<std::size_t>(function.slots);
        for (std::size_t i = function.entry; i < end; ++i) {
            const Instruction &instruction = m_program.code[i];
            if (instruction.op == OpCode::CallBounded)
                need[f] = std::max(need[f], instruction.a + need[instruction.target]);
        }
    }
    m_program.stackSlots = need.empty() ? 0 : need.back();
}

} // namespace sweepdraw::emitting
