#include "RoutineMachine.h"

#include "DrawingSurface.h"
#include "Library.h"
#include "LoopCheck.h"
#include "LoopWatch.h"
#include "MachineChains.h"
#include "MachineChecks.h"
#include "Palette.h"
#include "RasterSurface.h"
#include "RoutineRefusal.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

namespace sweepdraw {

using namespace machine;

// The machine's one loop. Where the compiler takes the address of a label
// (GCC and Clang), each operation ends by jumping straight to the next
// one's code, which the processor predicts from where it jumps; elsewhere
// it goes round a switch. NEXT goes on to the next instruction, DISPATCH to
// the one `ip` is at, through the address its instruction holds, put there
// once in the machine's copy of the code. WebAssembly has no jump to an
// address: Clang makes the labels' jumps one shared switch there, behind a
// load from the table, so the page's engine takes the plain switch.
#if defined(__GNUC__) && !defined(__EMSCRIPTEN__)
#define SWEEPDRAW_THREADED 1
// Labels as values are the compilers' extension, used here alone.
#pragma GCC diagnostic ignored "-Wpedantic"
#define OP(name)                                                                                                       \
    case OpCode::name:                                                                                                 \
    op_##name:
#define DISPATCH goto *ip->handler
#define NEXT                                                                                                           \
    do {                                                                                                               \
        ++ip;                                                                                                          \
        DISPATCH;                                                                                                      \
    } while (false)
#else
#define SWEEPDRAW_THREADED 0
#define OP(name) case OpCode::name:
// A label rather than `continue`, which the do-while of a JUMP would take.
#define DISPATCH goto dispatch
#define NEXT break
#endif
// Each jump, and each loop's turn, goes on from its own operation's code
// rather than from one place for all: the processor predicts where each
// goes from its own history.
#define JUMP                                                                                                           \
    do {                                                                                                               \
        ip = ip->to;                                                                                                   \
        DISPATCH;                                                                                                      \
    } while (false)
// The loop's turn is counted once its value is set for the next, at the
// loop's test, whose line a failing watch names; a pause stops it where it
// goes on.
#define LOOP_TURN(taken)                                                                                               \
    do {                                                                                                               \
        const bool again = (taken);                                                                                    \
        const bool looked = LoopWatch::turn();                                                                         \
        ip = again ? ip->to : ip + 1;                                                                                  \
        if (looked && m_pausing) [[unlikely]]                                                                          \
            goto stop;                                                                                                 \
        DISPATCH;                                                                                                      \
    } while (false)

namespace {

// How a turn run with its operation (TurnWithAddI to TurnWithRemIK) is
// laid out in the machine's own copy of the code, in its `e`. Its `a` is
// the parameter the operation's result goes to, `u`; `c` the other, `w`,
// which keeps its value or takes u's; `d` the result; `b` the calls left,
// as before.
enum TurnShape : std::uint16_t {
    kWTakesU = 1,
    kTestsU = 2, // else w
    kXIsU = 4, // the operation's first operand, else w
    kYIsU = 8, // its second
    kWhileTrue = 16, // the turn goes on while the value tested is true (IfTrue)
};

// Makes the turn `turn` of an inlined function of two parameters, whose
// `target` is `before`, the instruction right before it, one loop with
// that operation where `before` is an int's sum, difference, product,
// quotient or remainder of the parameters, and the turn makes the result
// one parameter, keeps or swaps in the other and tests one of them, each
// value a slot of its own; else leaves it as it is.
void runWithOperation(Instruction &turn, const Instruction &before, bool backToBefore)
{
    if ((turn.op != OpCode::TailJumpOfTwoIfTrue && turn.op != OpCode::TailJumpOfTwoIfFalse) || !backToBefore)
        return;
    const bool constant = before.op >= OpCode::AddIK && before.op <= OpCode::RemIK;
    if (!constant && !(before.op >= OpCode::AddI && before.op <= OpCode::RemI))
        return;
    const int first = turn.a, result = before.a;
    const auto parameter = [&](int slot) { return slot == first || slot == first + 1; };
    if (parameter(result) || parameter(turn.b) || turn.b == result || !parameter(before.b)
        || (!constant && !parameter(before.c)) || !parameter(turn.e)
        || !(turn.c == result ? parameter(turn.d) : turn.d == result && parameter(turn.c)))
        return;
    const int u = turn.c == result ? first : first + 1, w = u == first ? first + 1 : first;
    const int kept = u == first ? turn.d : turn.c;
    turn.e = static_cast<std::uint16_t>((kept == u ? kWTakesU : 0) | (turn.e == u ? kTestsU : 0)
                                        | (before.b == u ? kXIsU : 0) | (!constant && before.c == u ? kYIsU : 0)
                                        | (turn.op == OpCode::TailJumpOfTwoIfTrue ? kWhileTrue : 0));
    turn.a = static_cast<std::uint16_t>(u);
    turn.c = static_cast<std::uint16_t>(w);
    turn.d = static_cast<std::uint16_t>(result);
    turn.op = static_cast<OpCode>(constant ? static_cast<int>(OpCode::TurnWithAddIK) + static_cast<int>(before.op)
                                                 - static_cast<int>(OpCode::AddIK)
                                           : static_cast<int>(OpCode::TurnWithAddI) + static_cast<int>(before.op)
                                                 - static_cast<int>(OpCode::AddI));
}

static_assert(static_cast<int>(OpCode::RemI) - static_cast<int>(OpCode::AddI)
              == static_cast<int>(OpCode::TurnWithRemI) - static_cast<int>(OpCode::TurnWithAddI));
static_assert(static_cast<int>(OpCode::RemIK) - static_cast<int>(OpCode::AddIK)
              == static_cast<int>(OpCode::TurnWithRemIK) - static_cast<int>(OpCode::TurnWithAddIK));

// Each turn that runs with the operation before it, in the machine's own
// copy of the code: a function of its own, which the machine's loop does
// not take registers from.
[[gnu::noinline]] void runTurnsWithOperations(std::vector<Instruction> &code)
{
    for (std::size_t i = 1; i < code.size(); ++i)
        runWithOperation(code[i], code[i - 1], code[i].target == i - 1);
}

// A turn and the operation it goes back to, one after the other, carry
// their values through slots in memory: each turn stores what the
// operation loads, and the operation what the next turn loads. Here the
// two parameters, the operation's result and the calls left stay in
// locals while the loop goes round, and reach their slots when it leaves,
// before the machine could stop. The first operation of each entry has
// run already, as its own instruction. `operation` works out the result
// from its operands, or returns false where the operation's own code must
// (a divisor of 0 or -1, a result beyond int): the loop leaves to that
// code, which fails there with its own line or works the value out and
// comes back to the turn. Where the machine goes on, or nullptr when the
// calls run out, at the same call as the turn's own code would.
//
// One loop for each `Shape`, the TurnShape but for the sense of the test,
// so that nothing in it chooses among the values as it goes round.
template <unsigned Shape, typename Operation>
const Instruction *turnLoop(const Instruction *turn, RoutineSlot *s, Operation operation)
{
    constexpr bool wTakesU = Shape & kWTakesU, testsU = Shape & kTestsU;
    constexpr bool xIsU = Shape & kXIsU, yIsU = Shape & kYIsU;
    const bool whileTrue = turn->e & kWhileTrue;
    int u = s[turn->a].i, w = s[turn->c].i, t = s[turn->d].i, left = s[turn->b].i;
    const auto stored = [&]() __attribute__((always_inline)) {
        s[turn->a].i = u;
        s[turn->c].i = w;
        s[turn->d].i = t;
        s[turn->b].i = left;
    };
    for (;;) {
        if (--left < 0) [[unlikely]] {
            stored();
            return nullptr;
        }
        w = wTakesU ? u : w;
        u = t;
        if (((testsU ? u : w) != 0) != whileTrue) {
            stored();
            return turn + 1;
        }
        int worked;
        if (!operation(xIsU ? u : w, yIsU ? u : w, worked)) [[unlikely]] {
            stored();
            return turn - 1;
        }
        t = worked;
    }
}

// The loop for the turn's shape among `shapes`: all sixteen where the
// operation has two operands, the eight without kYIsU where its second is
// a constant.
template <typename Operation, unsigned... Shapes>
const Instruction *turnLoopOfShape(const Instruction *turn, RoutineSlot *s, Operation operation,
                                   std::integer_sequence<unsigned, Shapes...> shapes)
{
    using Loop = const Instruction *(*)(const Instruction *, RoutineSlot *, Operation);
    static constexpr Loop kLoops[] = {&turnLoop<Shapes, Operation>...};
    return kLoops[turn->e & (shapes.size() - 1)](turn, s, operation);
}

constexpr auto kShapesOfTwo = std::make_integer_sequence<unsigned, kYIsU * 2>();
constexpr auto kShapesOfOne = std::make_integer_sequence<unsigned, kYIsU>();

} // namespace

inline void RoutineMachine::sineAndCosine(double x, double &sine, double &cosine)
{
    if (m_angleMisses >= kAngleMissesKept) {
        sincos(x, &sine, &cosine);
        return;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    // The angles of a sweep differ in their upper bits: folded onto the
    // lower and mixed, they spread over the places.
    const auto folded = static_cast<std::uint32_t>(bits >> 32 ^ bits);
    SineCosine &kept = m_angles[folded * 0x9e3779b1u >> (32 - kKeptAngleBits)];
    if (kept.bits == bits) [[likely]] {
        sine = kept.sine;
        cosine = kept.cosine;
        return;
    }
    ++m_angleMisses;
    sincos(x, &sine, &cosine);
    kept = {bits, sine, cosine};
}

bool RoutineMachine::run(const Instruction *ip, RoutineSlot *s)
{
    const Instruction *const code = m_code.data();
    const auto surfaceMade = [&](Status status) {
        if (!status.ok()) [[unlikely]]
            refused(status);
        --m_left;
    };
    // Inlined, or in WebAssembly the Status would come back through memory
    // from here as well.
    const auto plotPoint = [&](float x, float y, Colour colour) __attribute__((always_inline)) {
#ifdef __EMSCRIPTEN__
        return m_raster ? m_raster->PlotPoint(x, y, colour) : m_surface->PlotPoint(x, y, colour);
#else
        return m_surface->PlotPoint(x, y, colour);
#endif
    };
    try {
#if SWEEPDRAW_THREADED
#define SWEEPDRAW_OPCODE_LABEL(name) &&op_##name,
        static const void *const kLabels[] = {SWEEPDRAW_OPCODES(SWEEPDRAW_OPCODE_LABEL)};
#undef SWEEPDRAW_OPCODE_LABEL
        static_assert(std::size(kLabels) == static_cast<std::size_t>(OpCode::NoReturn) + 1);
#endif
        if (!m_prepared) [[unlikely]] {
            runTurnsWithOperations(m_code);
            chainDoubles(m_code);
            for (Instruction &instruction : m_code) {
#if SWEEPDRAW_THREADED
                instruction.handler = kLabels[static_cast<int>(instruction.op)];
#endif
                // Only a jump's target is one of the instructions: what
                // `to` makes of a call's, or of a number's, goes unread.
                if (instruction.target < m_code.size())
                    instruction.to = &m_code[instruction.target];
            }
            m_prepared = true;
        }
        for (;;) {
#if !SWEEPDRAW_THREADED
        dispatch:
#endif
            // The emitter makes no other operation: the switch needs no
            // test of its range.
            if (ip->op > OpCode::NoReturn)
                __builtin_unreachable();
            switch (ip->op) {
            OP(End) return true;
            OP(Move) s[ip->a] = s[ip->b]; NEXT;
            OP(AddI)
                if (__builtin_add_overflow(s[ip->b].i, s[ip->c].i, &s[ip->a].i)) [[unlikely]]
                    overflows(FaultKind::AdditionOverflows, "int");
                NEXT;
            OP(SubI)
                if (__builtin_sub_overflow(s[ip->b].i, s[ip->c].i, &s[ip->a].i)) [[unlikely]]
                    overflows(FaultKind::SubtractionOverflows, "int");
                NEXT;
            OP(MulI)
                if (__builtin_mul_overflow(s[ip->b].i, s[ip->c].i, &s[ip->a].i)) [[unlikely]]
                    overflows(FaultKind::MultiplicationOverflows, "int");
                NEXT;
            OP(DivI) s[ip->a].i = divided(s[ip->b].i, s[ip->c].i, "int"); NEXT;
            OP(RemI) s[ip->a].i = remainder(s[ip->b].i, s[ip->c].i, "int"); NEXT;
            OP(AddIK)
                if (__builtin_add_overflow(s[ip->b].i, static_cast<int>(ip->target), &s[ip->a].i)) [[unlikely]]
                    overflows(FaultKind::AdditionOverflows, "int");
                NEXT;
            OP(MulIK)
                if (__builtin_mul_overflow(s[ip->b].i, static_cast<int>(ip->target), &s[ip->a].i)) [[unlikely]]
                    overflows(FaultKind::MultiplicationOverflows, "int");
                NEXT;
            OP(DivIK) s[ip->a].i = s[ip->b].i / static_cast<int>(ip->target); NEXT;
            OP(RemIK) s[ip->a].i = s[ip->b].i % static_cast<int>(ip->target); NEXT;
            OP(NegI)
                if (s[ip->b].i == INT_MIN) [[unlikely]]
                    overflows(FaultKind::NegationOverflows, "int");
                s[ip->a].i = -s[ip->b].i;
                NEXT;
            OP(AddL)
                if (__builtin_add_overflow(s[ip->b].l, s[ip->c].l, &s[ip->a].l)) [[unlikely]]
                    overflows(FaultKind::AdditionOverflows, "long");
                NEXT;
            OP(SubL)
                if (__builtin_sub_overflow(s[ip->b].l, s[ip->c].l, &s[ip->a].l)) [[unlikely]]
                    overflows(FaultKind::SubtractionOverflows, "long");
                NEXT;
            OP(MulL)
                if (__builtin_mul_overflow(s[ip->b].l, s[ip->c].l, &s[ip->a].l)) [[unlikely]]
                    overflows(FaultKind::MultiplicationOverflows, "long");
                NEXT;
            OP(DivL) s[ip->a].l = divided(s[ip->b].l, s[ip->c].l, "long"); NEXT;
            OP(RemL) s[ip->a].l = remainder(s[ip->b].l, s[ip->c].l, "long"); NEXT;
            OP(NegL)
                if (s[ip->b].l == LLONG_MIN) [[unlikely]]
                    overflows(FaultKind::NegationOverflows, "long");
                s[ip->a].l = -s[ip->b].l;
                NEXT;
            OP(AddF) s[ip->a].f = s[ip->b].f + s[ip->c].f; NEXT;
            OP(SubF) s[ip->a].f = s[ip->b].f - s[ip->c].f; NEXT;
            OP(MulF) s[ip->a].f = s[ip->b].f * s[ip->c].f; NEXT;
            OP(DivF) s[ip->a].f = s[ip->b].f / s[ip->c].f; NEXT;
            OP(NegF) s[ip->a].f = -s[ip->b].f; NEXT;
            OP(AddD) s[ip->a].d = s[ip->b].d + s[ip->c].d; NEXT;
            OP(SubD) s[ip->a].d = s[ip->b].d - s[ip->c].d; NEXT;
            OP(MulD) s[ip->a].d = s[ip->b].d * s[ip->c].d; NEXT;
            OP(DivD) s[ip->a].d = s[ip->b].d / s[ip->c].d; NEXT;
            OP(NegD) s[ip->a].d = -s[ip->b].d; NEXT;
            // Two roundings, never a fused multiply-add: this file is built
            // with -ffp-contract=off, so that no compiler makes these one.
            OP(MulAddD) {
                const double product = s[ip->b].d * s[ip->c].d;
                s[ip->a].d = product + s[ip->d].d;
                NEXT;
            }
            OP(MulSubD) {
                const double product = s[ip->b].d * s[ip->c].d;
                s[ip->a].d = product - s[ip->d].d;
                NEXT;
            }
            OP(SubMulD) {
                const double product = s[ip->b].d * s[ip->c].d;
                s[ip->a].d = s[ip->d].d - product;
                NEXT;
            }
            OP(LtI) s[ip->a].i = s[ip->b].i < s[ip->c].i; NEXT;
            OP(LeI) s[ip->a].i = s[ip->b].i <= s[ip->c].i; NEXT;
            OP(EqI) s[ip->a].i = s[ip->b].i == s[ip->c].i; NEXT;
            OP(NeI) s[ip->a].i = s[ip->b].i != s[ip->c].i; NEXT;
            OP(LtL) s[ip->a].i = s[ip->b].l < s[ip->c].l; NEXT;
            OP(LeL) s[ip->a].i = s[ip->b].l <= s[ip->c].l; NEXT;
            OP(EqL) s[ip->a].i = s[ip->b].l == s[ip->c].l; NEXT;
            OP(NeL) s[ip->a].i = s[ip->b].l != s[ip->c].l; NEXT;
            OP(LtF) s[ip->a].i = s[ip->b].f < s[ip->c].f; NEXT;
            OP(LeF) s[ip->a].i = s[ip->b].f <= s[ip->c].f; NEXT;
            OP(EqF) s[ip->a].i = s[ip->b].f == s[ip->c].f; NEXT;
            OP(NeF) s[ip->a].i = s[ip->b].f != s[ip->c].f; NEXT;
            OP(LtD) s[ip->a].i = s[ip->b].d < s[ip->c].d; NEXT;
            OP(LeD) s[ip->a].i = s[ip->b].d <= s[ip->c].d; NEXT;
            OP(EqD) s[ip->a].i = s[ip->b].d == s[ip->c].d; NEXT;
            OP(NeD) s[ip->a].i = s[ip->b].d != s[ip->c].d; NEXT;
            OP(Not) s[ip->a].i = !s[ip->b].i; NEXT;
            OP(IntToLong) s[ip->a].l = s[ip->b].i; NEXT;
            OP(IntToFloat) s[ip->a].f = static_cast<float>(s[ip->b].i); NEXT;
            OP(IntToDouble) s[ip->a].d = s[ip->b].i; NEXT;
            OP(LongToInt) s[ip->a].i = static_cast<int>(s[ip->b].l); NEXT;
            OP(LongToFloat) s[ip->a].f = static_cast<float>(s[ip->b].l); NEXT;
            OP(LongToDouble) s[ip->a].d = static_cast<double>(s[ip->b].l); NEXT;
            OP(FloatToInt) s[ip->a].i = checkedConversion<int>(s[ip->b].f, "int"); NEXT;
            OP(FloatToLong) s[ip->a].l = checkedConversion<long long>(s[ip->b].f, "long"); NEXT;
            OP(FloatToDouble) s[ip->a].d = s[ip->b].f; NEXT;
            OP(DoubleToInt) s[ip->a].i = checkedConversion<int>(s[ip->b].d, "int"); NEXT;
            OP(DoubleToLong) s[ip->a].l = checkedConversion<long long>(s[ip->b].d, "long"); NEXT;
            OP(DoubleToFloat) s[ip->a].f = static_cast<float>(s[ip->b].d); NEXT;
            OP(IntToBool) s[ip->a].i = s[ip->b].i != 0; NEXT;
            OP(LongToBool) s[ip->a].i = s[ip->b].l != 0; NEXT;
            OP(FloatToBool) s[ip->a].i = s[ip->b].f != 0; NEXT;
            OP(DoubleToBool) s[ip->a].i = s[ip->b].d != 0; NEXT;
            OP(MinI) s[ip->a].i = s[ip->c].i < s[ip->b].i ? s[ip->c].i : s[ip->b].i; NEXT;
            OP(MaxI) s[ip->a].i = s[ip->b].i < s[ip->c].i ? s[ip->c].i : s[ip->b].i; NEXT;
            OP(MinF) s[ip->a].f = s[ip->c].f < s[ip->b].f ? s[ip->c].f : s[ip->b].f; NEXT;
            OP(MaxF) s[ip->a].f = s[ip->b].f < s[ip->c].f ? s[ip->c].f : s[ip->b].f; NEXT;
            OP(MinD) s[ip->a].d = s[ip->c].d < s[ip->b].d ? s[ip->c].d : s[ip->b].d; NEXT;
            OP(MaxD) s[ip->a].d = s[ip->b].d < s[ip->c].d ? s[ip->c].d : s[ip->b].d; NEXT;
            OP(AbsI)
                if (s[ip->b].i == INT_MIN) [[unlikely]]
                    fail(FaultKind::AbsOfMinimum, {std::to_string(INT_MIN)});
                s[ip->a].i = std::abs(s[ip->b].i);
                NEXT;
            OP(MathF1) s[ip->a].f = mathFunction(ip->target).onFloat1(s[ip->b].f); NEXT;
            OP(MathD1) s[ip->a].d = mathFunction(ip->target).onDouble1(s[ip->b].d); NEXT;
            OP(MathF2) s[ip->a].f = mathFunction(ip->target).onFloat2(s[ip->b].f, s[ip->c].f); NEXT;
            OP(MathD2) s[ip->a].d = mathFunction(ip->target).onDouble2(s[ip->b].d, s[ip->c].d); NEXT;
            OP(SinCosF) sincosf(s[ip->c].f, &s[ip->a].f, &s[ip->b].f); NEXT;
            OP(SinCosD) sineAndCosine(s[ip->c].d, s[ip->a].d, s[ip->b].d); NEXT;
            OP(SinF) s[ip->a].f = ::sinf(s[ip->b].f); NEXT;
            OP(CosF) s[ip->a].f = ::cosf(s[ip->b].f); NEXT;
            OP(SinD) s[ip->a].d = ::sin(s[ip->b].d); NEXT;
            OP(CosD) s[ip->a].d = ::cos(s[ip->b].d); NEXT;
            OP(Palette) s[ip->a].colour = PaletteColor(s[ip->b].i); NEXT;
            OP(SetPenWidth)
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->SetPenWidth(s[ip->a].i));
                NEXT;
            OP(PlotPoint)
                if (m_left == 0)
                    goto stop;
                surfaceMade(plotPoint(s[ip->a].f, s[ip->b].f, s[ip->c].colour));
                NEXT;
            OP(PlotPointOfDoubles) {
                const Colour colour = PaletteColor(s[ip->c].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(plotPoint(static_cast<float>(s[ip->a].d), static_cast<float>(s[ip->b].d), colour));
                NEXT;
            }
            OP(DrawBox)
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawBox(s[ip->a].f, s[ip->b].f, s[ip->c].f, s[ip->d].f, s[ip->e].colour));
                NEXT;
            OP(DrawCircle)
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawCircle(s[ip->a].f, s[ip->b].f, s[ip->c].f, s[ip->d].colour));
                NEXT;
            OP(ClearSurface)
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->ClearSurface());
                NEXT;
            OP(PlotPointOfPalette) {
                const Colour colour = PaletteColor(s[ip->c].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(plotPoint(s[ip->a].f, s[ip->b].f, colour));
                NEXT;
            }
            OP(DrawBoxOfPalette) {
                const Colour colour = PaletteColor(s[ip->e].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawBox(s[ip->a].f, s[ip->b].f, s[ip->c].f, s[ip->d].f, colour));
                NEXT;
            }
            OP(DrawCircleOfPalette) {
                const Colour colour = PaletteColor(s[ip->d].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawCircle(s[ip->a].f, s[ip->b].f, s[ip->c].f, colour));
                NEXT;
            }
            OP(Jump) JUMP;
            OP(JumpIfFalse)
                if (!s[ip->a].i)
                    JUMP;
                NEXT;
            OP(JumpIfTrue)
                if (s[ip->a].i)
                    JUMP;
                NEXT;
            OP(JumpUnlessLtI) if (!(s[ip->a].i < s[ip->b].i)) JUMP; NEXT;
            OP(JumpUnlessLeI) if (!(s[ip->a].i <= s[ip->b].i)) JUMP; NEXT;
            OP(JumpUnlessEqI) if (!(s[ip->a].i == s[ip->b].i)) JUMP; NEXT;
            OP(JumpUnlessNeI) if (!(s[ip->a].i != s[ip->b].i)) JUMP; NEXT;
            OP(JumpUnlessLtL) if (!(s[ip->a].l < s[ip->b].l)) JUMP; NEXT;
            OP(JumpUnlessLeL) if (!(s[ip->a].l <= s[ip->b].l)) JUMP; NEXT;
            OP(JumpUnlessEqL) if (!(s[ip->a].l == s[ip->b].l)) JUMP; NEXT;
            OP(JumpUnlessNeL) if (!(s[ip->a].l != s[ip->b].l)) JUMP; NEXT;
            OP(JumpUnlessLtF) if (!(s[ip->a].f < s[ip->b].f)) JUMP; NEXT;
            OP(JumpUnlessLeF) if (!(s[ip->a].f <= s[ip->b].f)) JUMP; NEXT;
            OP(JumpUnlessEqF) if (!(s[ip->a].f == s[ip->b].f)) JUMP; NEXT;
            OP(JumpUnlessNeF) if (!(s[ip->a].f != s[ip->b].f)) JUMP; NEXT;
            OP(JumpUnlessLtD) if (!(s[ip->a].d < s[ip->b].d)) JUMP; NEXT;
            OP(JumpUnlessLeD) if (!(s[ip->a].d <= s[ip->b].d)) JUMP; NEXT;
            OP(JumpUnlessEqD) if (!(s[ip->a].d == s[ip->b].d)) JUMP; NEXT;
            OP(JumpUnlessNeD) if (!(s[ip->a].d != s[ip->b].d)) JUMP; NEXT;
            OP(LoopBack) LOOP_TURN(true);
            OP(LoopIfTrue) LOOP_TURN(s[ip->a].i);
            OP(LoopIfLtI) LOOP_TURN(s[ip->a].i < s[ip->b].i);
            OP(LoopIfLeI) LOOP_TURN(s[ip->a].i <= s[ip->b].i);
            OP(LoopIfEqI) LOOP_TURN(s[ip->a].i == s[ip->b].i);
            OP(LoopIfNeI) LOOP_TURN(s[ip->a].i != s[ip->b].i);
            OP(LoopIfLtL) LOOP_TURN(s[ip->a].l < s[ip->b].l);
            OP(LoopIfLeL) LOOP_TURN(s[ip->a].l <= s[ip->b].l);
            OP(LoopIfEqL) LOOP_TURN(s[ip->a].l == s[ip->b].l);
            OP(LoopIfNeL) LOOP_TURN(s[ip->a].l != s[ip->b].l);
            OP(LoopIfLtF) LOOP_TURN(s[ip->a].f < s[ip->b].f);
            OP(LoopIfLeF) LOOP_TURN(s[ip->a].f <= s[ip->b].f);
            OP(LoopIfEqF) LOOP_TURN(s[ip->a].f == s[ip->b].f);
            OP(LoopIfNeF) LOOP_TURN(s[ip->a].f != s[ip->b].f);
            OP(LoopIfLtD) LOOP_TURN(s[ip->a].d < s[ip->b].d);
            OP(LoopIfLeD) LOOP_TURN(s[ip->a].d <= s[ip->b].d);
            OP(LoopIfEqD) LOOP_TURN(s[ip->a].d == s[ip->b].d);
            OP(LoopIfNeD) LOOP_TURN(s[ip->a].d != s[ip->b].d);
            OP(SweepStart) {
                const double start = s[ip->a].d, end = s[ip->b].d, step = s[ip->c].d;
                checkSweep(start, end, step, site(ip->aux));
                const bool up = step > 0;
                if (up ? start > end : start < end) {
                    ip = ip->to;
                    DISPATCH;
                }
                m_loops.push_back(
                    {start, end, step, 0, 0, 0, 0, 0, up, sweepMayStall(start, end, step), ip->aux, nullptr});
                if (m_loops.size() <= m_recorded.size())
                    m_loops.back().recorded = &m_recorded[m_loops.size() - 1].emplace(site(ip->aux));
                if (m_loops.back().recorded)
                    m_loops.back().recorded->set(start);
                s[ip->d].d = start;
                if (LoopWatch::turn() && m_pausing) [[unlikely]] {
                    ++ip;
                    goto stop;
                }
                NEXT;
            }
            // A sweep's next value, and the test that it has passed `end`:
            // in either direction, or in the one its constant step goes.
#define SWEEP_NEXT(passed)                                                                                             \
    Loop &loop = m_loops.back();                                                                                       \
    const double value = loop.mayStall ? nextSweepValue(loop.value, loop.step, site(ip->aux)) : loop.value + loop.step; \
    if (passed) [[unlikely]] {                                                                                         \
        if (loop.recorded)                                                                                             \
            m_recorded[m_loops.size() - 1].reset();                                                                    \
        m_loops.pop_back();                                                                                            \
        NEXT;                                                                                                          \
    }                                                                                                                  \
    loop.value = value;                                                                                                \
    if (loop.recorded)                                                                                                 \
        loop.recorded->set(value);                                                                                     \
    s[ip->d].d = value;                                                                                                \
    ip = ip->to;                                                                                                       \
    if (LoopWatch::turn() && m_pausing) [[unlikely]]                                                                   \
        goto stop;                                                                                                     \
    DISPATCH
            OP(SweepNext) {
                SWEEP_NEXT(loop.up ? value > loop.end : value < loop.end);
            }
            OP(SweepNextUp) {
                SWEEP_NEXT(value > loop.end);
            }
            OP(SweepNextDown) {
                SWEEP_NEXT(value < loop.end);
            }
#undef SWEEP_NEXT
            OP(ColourStart) {
                const int first = s[ip->a].i, change = s[ip->b].i, stop = s[ip->c].i;
                const int passes = colourPasses(first, change, stop, site(ip->aux));
                m_loops.push_back({0, 0, 0, first, change, stop, 1, passes, false, false, ip->aux, nullptr});
                if (m_loops.size() <= m_recorded.size())
                    m_loops.back().recorded = &m_recorded[m_loops.size() - 1].emplace(site(ip->aux), passes);
                if (m_loops.back().recorded)
                    m_loops.back().recorded->setPass(first, 1);
                s[ip->d].i = first;
                if (LoopWatch::turn() && m_pausing) [[unlikely]] {
                    ++ip;
                    goto stop;
                }
                NEXT;
            }
            OP(ColourNext) {
                Loop &loop = m_loops.back();
                loop.colour += loop.change;
                if (loop.colour == loop.stop) {
                    if (loop.recorded)
                        m_recorded[m_loops.size() - 1].reset();
                    m_loops.pop_back();
                    NEXT;
                }
                ++loop.pass;
                if (loop.recorded)
                    loop.recorded->setPass(loop.colour, loop.pass);
                s[ip->d].i = loop.colour;
                ip = ip->to;
                if (LoopWatch::turn() && m_pausing) [[unlikely]]
                    goto stop;
                DISPATCH;
            }
            OP(Call) {
                // A call that could go too deep, or beyond the stack.
                const Frame &caller = *m_frame;
                if (caller.depth + ip->aux >= kMaxCallDepth) [[unlikely]]
                    failTooDeep();
                const std::size_t top =
                    caller.base + ip->a + static_cast<std::size_t>(m_program.functions[ip->target].slots);
                if (m_stack.size() < top) [[unlikely]]
                    s = grow(top);
            }
                [[fallthrough]];
            OP(CallBounded) {
                // The callee's frame begins at its arguments, where the
                // caller has put them, but for the first three, which it
                // may have left in slots of its own.
                const RoutineFunction &callee = m_program.functions[ip->target];
                Frame *const caller = m_frame;
                RoutineSlot *const frame = s + ip->a;
                // The frame lies above every slot of the caller's it copies
                // from, so the order does not matter; with fewer than three
                // parameters, the others are the frame's own slots, copied
                // onto themselves, and a constant among them is put in place
                // after.
                frame[0] = s[ip->c];
                frame[1] = s[ip->d];
                frame[2] = s[ip->e];
                const RoutineSlot *const constants = callee.constants.data();
                RoutineSlot *const constantSlots = frame + callee.firstConstant;
                for (std::size_t i = 0, n = callee.constants.size(); i < n; ++i)
                    constantSlots[i] = constants[i];
                // No deeper than the limit: the frames hold them all.
                caller[1] = {ip + 1, caller->base + ip->a, caller->depth + ip->aux + 1u, ip->b};
                m_frame = caller + 1;
                s = frame;
                ip = code + callee.entry;
                DISPATCH;
            }
            OP(TailCall) {
                // Starts the function again in its frame, one call deeper.
                if (++m_frame->depth > kMaxCallDepth) [[unlikely]]
                    failTooDeep();
                // The first three from c, d and e, all read before any is
                // written; with fewer parameters, the others copied onto
                // themselves.
                const RoutineSlot first = s[ip->c], second = s[ip->d], third = s[ip->e];
                for (int i = 3; i < ip->aux; ++i)
                    s[i] = s[ip->a + i];
                s[0] = first;
                s[1] = second;
                s[2] = third;
                ip = ip->to;
                DISPATCH;
            }
            OP(CheckDepth)
                if (m_frame->depth + ip->aux >= kMaxCallDepth) [[unlikely]]
                    failTooDeep();
                NEXT;
            OP(CountDepth)
                // The calls left before the limit, counted down.
                s[ip->a].i = kMaxCallDepth - static_cast<int>(m_frame->depth + ip->aux) - 1;
                if (s[ip->a].i < 0) [[unlikely]]
                    failTooDeep();
                NEXT;
            OP(TailJump) {
                // The inlined function's call of itself: a turn of its
                // loop, counted as the call it stands for.
                if (--s[ip->b].i < 0) [[unlikely]]
                    failTooDeep();
                const RoutineSlot first = s[ip->c], second = s[ip->d], third = s[ip->e];
                RoutineSlot *const parameters = s + ip->a;
                parameters[0] = first;
                parameters[1] = second;
                parameters[2] = third;
                ip = ip->to;
                DISPATCH;
            }
            // The turn of an inlined function of at most two parameters.
#define TAIL_JUMP_OF_TWO                                                                                               \
    if (--s[ip->b].i < 0) [[unlikely]]                                                                                 \
        failTooDeep();                                                                                                 \
    const RoutineSlot first = s[ip->c], second = s[ip->d];                                                             \
    s[ip->a] = first;                                                                                                  \
    s[ip->a + 1] = second
            OP(TailJumpOfTwo) {
                TAIL_JUMP_OF_TWO;
                JUMP;
            }
            // The turn and the test it would go back to, whose jump leads
            // to the instruction after this one.
            OP(TailJumpOfTwoIfTrue) {
                TAIL_JUMP_OF_TWO;
                if (s[ip->e].i)
                    JUMP;
                NEXT;
            }
            OP(TailJumpOfTwoIfFalse) {
                TAIL_JUMP_OF_TWO;
                if (!s[ip->e].i)
                    JUMP;
                NEXT;
            }
#undef TAIL_JUMP_OF_TWO
            // A turn run with the operation right before it, whose usual
            // case each works out here (a constant operand, in the
            // operation's `target`, is never 0 or -1).
#define TURN_WITH(shapes, ...)                                                                                         \
    do {                                                                                                               \
        const Instruction *const next = turnLoopOfShape(ip, s, __VA_ARGS__, shapes);                                   \
        if (!next) [[unlikely]]                                                                                        \
            failTooDeep();                                                                                             \
        ip = next;                                                                                                     \
        DISPATCH;                                                                                                      \
    } while (false)
            OP(TurnWithAddI)
                TURN_WITH(kShapesOfTwo, [](int x, int y, int &t) { return !__builtin_add_overflow(x, y, &t); });
            OP(TurnWithSubI)
                TURN_WITH(kShapesOfTwo, [](int x, int y, int &t) { return !__builtin_sub_overflow(x, y, &t); });
            OP(TurnWithMulI)
                TURN_WITH(kShapesOfTwo, [](int x, int y, int &t) { return !__builtin_mul_overflow(x, y, &t); });
            OP(TurnWithDivI) TURN_WITH(kShapesOfTwo, [](int x, int y, int &t) {
                if (zeroOrMinusOne(y))
                    return false;
                t = x / y;
                return true;
            });
            OP(TurnWithRemI) TURN_WITH(kShapesOfTwo, [](int x, int y, int &t) {
                if (zeroOrMinusOne(y))
                    return false;
                t = x % y;
                return true;
            });
            OP(TurnWithAddIK) {
                const int k = static_cast<int>(ip[-1].target);
                TURN_WITH(kShapesOfOne, [k](int x, int, int &t) { return !__builtin_add_overflow(x, k, &t); });
            }
            OP(TurnWithMulIK) {
                const int k = static_cast<int>(ip[-1].target);
                TURN_WITH(kShapesOfOne, [k](int x, int, int &t) { return !__builtin_mul_overflow(x, k, &t); });
            }
            OP(TurnWithDivIK) {
                const int k = static_cast<int>(ip[-1].target);
                TURN_WITH(kShapesOfOne, [k](int x, int, int &t) {
                    t = x / k;
                    return true;
                });
            }
            OP(TurnWithRemIK) {
                const int k = static_cast<int>(ip[-1].target);
                TURN_WITH(kShapesOfOne, [k](int x, int, int &t) {
                    t = x % k;
                    return true;
                });
            }
#undef TURN_WITH
            OP(ChainD) ip = runChain(ip, s); DISPATCH;
            OP(Return)
            OP(ReturnVoid) {
                const RoutineSlot value = s[ip->a];
                const Frame *const done = m_frame;
                if (done == m_frames.data()) {
                    m_frame = nullptr;
                    return true;
                }
                m_frame = m_frame - 1;
                s = m_stack.data() + m_frame->base;
                if (ip->op == OpCode::Return)
                    s[done->result] = value;
                ip = done->returnTo;
                DISPATCH;
            }
            OP(NoReturn)
                fail(FaultKind::NoReturnValue, {quotedForMessage(m_program.functions[ip->target].name)});
            }
            ++ip;
            continue;
        }
    stop:
        // At the first operation beyond those let through, or after the
        // turn of a loop: where the machine goes on.
        m_ip = static_cast<std::uint32_t>(ip - code);
        return false;
    } catch (...) {
        m_ip = static_cast<std::uint32_t>(ip - code);
        throw;
    }
}

#undef LOOP_TURN
#undef JUMP
#undef NEXT
#undef DISPATCH
#undef OP
#undef SWEEPDRAW_THREADED

} // namespace sweepdraw
