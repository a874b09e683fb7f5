#include "EmitterParts.h"

#include "Library.h"

#include <algorithm>

namespace sweepdraw::emitting {

// The slot that holds the value of `index`, in `want` if it is given.
int Emitter::value(int index, int want)
{
    const Expr &e = expr(index);
    switch (e.kind) {
    case Expr::Kind::Constant: {
        const int slot = constant(e.type, e.value);
        move(want, slot, e.line);
        return want >= 0 ? want : slot;
    }
    case Expr::Kind::Local: {
        const int slot = local(e.slot);
        move(want, slot, e.line);
        return want >= 0 ? want : slot;
    }
    case Expr::Kind::Operation: return operation(e, want);
    case Expr::Kind::And:
    case Expr::Kind::Or:
    case Expr::Kind::Conditional: return choice(e, want);
    case Expr::Kind::Assign: {
        const int slot = local(e.slot);
        value(e.a, slot);
        move(want, slot, e.line);
        return want >= 0 ? want : slot;
    }
    case Expr::Kind::Step: return step(e, want);
    case Expr::Kind::Call: return call(e, want);
    }
    return 0;
}

// a && b, a || b or a ? b : c; kept out of value(), as the step is, so
// that the frame every value is worked out in holds only what the most
// need.
int Emitter::choice(const Expr &e, int want)
{
    if (const int test = e.kind == Expr::Kind::Conditional ? known(e.a) : -1; test >= 0)
        return value(test ? e.b : e.c, want);
    // Into a slot of its own: one arm must not write a variable
    // the other, or the test, still reads.
    const int into = want >= 0 && !isVariable(want) ? want : temp();
    if (e.kind == Expr::Kind::Conditional) {
        JumpList skipsList(*this);
        std::vector<std::size_t> &skips = skipsList.jumps;
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

// ++ or -- on a variable, before or after.
int Emitter::step(const Expr &e, int want)
{
    RoutineSlot one{};
    if (e.type == Type::Int)
        one.i = 1;
    else if (e.type == Type::Long)
        one.l = 1;
    else if (e.type == Type::Float)
        one.f = 1;
    else
        one.d = 1;
    const int slot = local(e.slot);
    const bool copied = e.after && want != kDropped;
    const int before = copied ? temp() : -1;
    move(before, slot, e.line);
    arithmetic(e.op, e.line, slot, slot, constant(e.type, one));
    const int result = copied ? before : slot;
    move(want, result, e.line);
    return want >= 0 ? want : result;
}

int Emitter::operation(const Expr &e, int want)
{
    const int a = value(e.a);
    const std::size_t madeA = m_program.code.size();
    const int b = e.b >= 0 ? value(e.b) : 0;
    const bool onFloat = e.op == OpCode::MathF1;
    const bool isSin = (onFloat || e.op == OpCode::MathD1) && mathFunction(e.function).name == "sin";
    const bool trigonometry = isSin || ((onFloat || e.op == OpCode::MathD1) && mathFunction(e.function).name == "cos");
    if (trigonometry) {
        if (const int result = pairedWithEarlier(e, a, isSin); result >= 0) {
            move(want, result, e.line);
            return want >= 0 ? want : result;
        }
    }
    const int into = want >= 0 ? want : temp();
    if (fusedWithProduct(e, into, a, b, madeA == m_program.code.size()))
        return into;
    const std::size_t at = e.after ? arithmetic(e.op, e.line, into, b, a) : arithmetic(e.op, e.line, into, a, b);
    if (m_program.code[at].op == e.op)
        m_program.code[at].target = e.function;
    if (trigonometry)
        madeTrigonometry(e, at, a, into, isSin);
    return into;
}

// The sine or cosine `e` just made at `at`: its own operation, waiting for
// its cosine or sine of the same slot unless it wrote over that slot.
void Emitter::madeTrigonometry(const Expr &e, std::size_t at, int a, int into, bool isSin)
{
    const bool onFloat = e.op == OpCode::MathF1;
    m_program.code[at].op = isSin ? (onFloat ? OpCode::SinF : OpCode::SinD) : (onFloat ? OpCode::CosF : OpCode::CosD);
    if (a != into)
        m_pending.push_back({at, a, isSin, e.op});
}

// The sine or cosine `e` of the slot `a` made one SinCos with the cosine
// or sine of `a` waiting, if one is: the slot pinned for its value, or -1.
// Out of operation(), whose frame every operation is emitted in.
int Emitter::pairedWithEarlier(const Expr &e, int a, bool isSin)
{
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
        return result;
    }
    return -1;
}

// Makes the sum or difference `e` of a double's product and another value
// one operation with the product's, the instruction before it, whose
// result only it reads: a product's operation, asked for no slot, puts it
// in a temp of its own. It is the second operand's product, or the
// first's when the second made no instruction (`productFirst`); no jump
// may land between the two. The sum commutes: the product goes first.
bool Emitter::fusedWithProduct(const Expr &e, int into, int a, int b, bool productFirst)
{
    if ((e.op != OpCode::AddD && e.op != OpCode::SubD) || e.after || m_landing == m_program.code.size())
        return false;
    const auto isProduct = [this](int index, int slot) {
        const Expr &operand = expr(index);
        const Instruction &last = m_program.code.back();
        return operand.kind == Expr::Kind::Operation && operand.op == OpCode::MulD && last.op == OpCode::MulD
               && last.a == slot;
    };
    OpCode fused;
    int other;
    if (isProduct(e.b, b)) {
        fused = e.op == OpCode::AddD ? OpCode::MulAddD : OpCode::SubMulD;
        other = a;
    } else if (productFirst && isProduct(e.a, a)) {
        fused = e.op == OpCode::AddD ? OpCode::MulAddD : OpCode::MulSubD;
        other = b;
    } else {
        return false;
    }
    Instruction &last = m_program.code.back();
    if (other == last.a)
        return false;
    last.op = fused;
    last.a = static_cast<std::uint16_t>(into);
    last.d = static_cast<std::uint16_t>(other);
    forgetWritten(last);
    return true;
}

// `op` of a and b, an int's sum, product, quotient or remainder with a
// constant read from the instruction: one slot fewer to read, and a
// divisor other than 0 and -1 not looked at as the routine runs.
std::size_t Emitter::arithmetic(OpCode op, int line, int into, int a, int b)
{
    const auto isConstant = [](int slot) { return slot >= kConstants; };
    if ((op == OpCode::AddI || op == OpCode::MulI) && isConstant(a) && !isConstant(b))
        std::swap(a, b);
    const int k = isConstant(b) ? m_constants[static_cast<std::size_t>(b - kConstants)].i : 0;
    const bool divisor = k != 0 && k != -1;
    const OpCode withConstant = !isConstant(b)                ? op
                                : op == OpCode::AddI            ? OpCode::AddIK
                                : op == OpCode::MulI            ? OpCode::MulIK
                                : op == OpCode::DivI && divisor ? OpCode::DivIK
                                : op == OpCode::RemI && divisor ? OpCode::RemIK
                                                                : op;
    if (withConstant == op)
        return emit(op, line, into, a, b);
    const std::size_t at = emit(withConstant, line, into, a, a);
    m_program.code[at].target = static_cast<std::uint32_t>(k);
    return at;
}

// The value of the bool `index`, 0 or 1, where it is known before the
// routine runs: a constant, or the parameter of an inlined function that
// is given one; -1 elsewhere.
int Emitter::known(int index) const
{
    const Expr &e = expr(index);
    if (e.kind == Expr::Kind::Constant)
        return e.value.i != 0;
    const int slot = e.kind == Expr::Kind::Local ? local(e.slot) : -1;
    return slot >= kConstants ? m_constants[static_cast<std::size_t>(slot - kConstants)].i != 0 : -1;
}

// The operands of the comparison `e`, in the order its instruction
// takes them.
std::pair<int, int> Emitter::compared(const Expr &e)
{
    const int a = value(e.a);
    const int b = value(e.b);
    return e.after ? std::pair{b, a} : std::pair{a, b};
}

// The jump that leaves unless a compares with b so: an int's comparison
// with 0 for (in)equality, the one read of a slot a test of a bool makes.
std::size_t Emitter::jumpUnless(OpCode compare, int a, int b, int line)
{
    if (compare == OpCode::EqI || compare == OpCode::NeI) {
        const auto isZero = [this](int slot) {
            return slot >= kConstants && m_constants[static_cast<std::size_t>(slot - kConstants)].i == 0;
        };
        const OpCode op = compare == OpCode::EqI ? OpCode::JumpIfTrue : OpCode::JumpIfFalse;
        if (isZero(b))
            return emit(op, line, a);
        if (isZero(a))
            return emit(op, line, b);
    }
    return emit(fusedWith(compare, OpCode::JumpUnlessLtI), line, a, b);
}

// Adds to `jumps` those that leave when `index` is false, a comparison
// and the jump made one instruction.
void Emitter::jumpUnless(int index, int line, std::vector<std::size_t> &jumps)
{
    const Expr &e = expr(index);
    if (const int test = known(index); test >= 0) {
        if (!test)
            jumps.push_back(emit(OpCode::Jump, line));
    } else if (e.kind == Expr::Kind::And) {
        jumpUnless(e.a, line, jumps);
        jumpUnless(e.b, line, jumps);
    } else if (e.kind == Expr::Kind::Operation && isComparison(e.op)) {
        const auto [a, b] = compared(e);
        jumps.push_back(jumpUnless(e.op, a, b, line));
    } else if (e.kind == Expr::Kind::Call && inlinedAsTest(e)) {
        inlineCall(e, kDropped, &jumps);
    } else {
        jumps.push_back(emit(OpCode::JumpIfFalse, line, value(index)));
    }
}

} // namespace sweepdraw::emitting
