#include "MachineChains.h"

#include "Library.h"

#include <cmath>
#include <cstdint>

// Where the compiler takes the address of a label (GCC and Clang, but for
// WebAssembly, which has no jump to an address), a chain's steps go from
// one to the next as the machine's operations do; elsewhere round a
// switch.
#if defined(__GNUC__) && !defined(__EMSCRIPTEN__)
#define SWEEPDRAW_THREADED 1
// Labels as values are the compilers' extension, used here alone.
#pragma GCC diagnostic ignored "-Wpedantic"
#else
#define SWEEPDRAW_THREADED 0
#endif

namespace sweepdraw::machine {

namespace {

// How an operation of a chain (ChainD) runs there, in its `e`: which of
// its operands is the value `v` the operation before it worked out, B, C
// or D, and what it works out of them, as its operation does, its operands
// in the same order (this file is built with -ffp-contract=off: a product
// is rounded before its sum). The first takes its operand b from its slot,
// as B. Each is listed once, as the operations are.
#define SWEEPDRAW_CHAIN_STEPS(X)                                                                                       \
    X(AddB, v + c()) X(AddC, b() + v) X(SubB, v - c()) X(SubC, b() - v)                                                \
    X(MulB, v * c()) X(MulC, b() * v) X(DivB, v / c()) X(DivC, b() / v) X(Neg, -v)                                     \
    X(MulAddB, v * c() + d()) X(MulAddC, b() * v + d()) X(MulAddD, b() * c() + v)                                      \
    X(MulSubB, v * c() - d()) X(MulSubC, b() * v - d()) X(MulSubD, b() * c() - v)                                      \
    X(SubMulB, d() - v * c()) X(SubMulC, d() - b() * v) X(SubMulD, v - b() * c())                                      \
    X(Sin, ::sin(v)) X(Cos, ::cos(v)) X(Math1, mathFunction(step->target).onDouble1(v))                                \
    X(Math2B, mathFunction(step->target).onDouble2(v, c())) X(Math2C, mathFunction(step->target).onDouble2(b(), v))
#define SWEEPDRAW_CHAIN_STEP_NAME(name, value) name,
enum class ChainStep : std::uint16_t { None, SWEEPDRAW_CHAIN_STEPS(SWEEPDRAW_CHAIN_STEP_NAME) };
#undef SWEEPDRAW_CHAIN_STEP_NAME

// The step `instruction` makes in a chain where `slot` holds the value the
// step before it worked out; None where it takes none, or works on other
// than doubles.
constexpr ChainStep chainStep(const Instruction &instruction, int slot)
{
    const auto of = [&](ChainStep b, ChainStep c) {
        return instruction.b == slot ? b : instruction.c == slot ? c : ChainStep::None;
    };
    const auto ofSum = [&](ChainStep b, ChainStep c, ChainStep d) {
        const ChainStep product = of(b, c);
        return product == ChainStep::None && instruction.d == slot ? d : product;
    };
    const auto ofOne = [&](ChainStep b) { return instruction.b == slot ? b : ChainStep::None; };
    switch (instruction.op) {
    case OpCode::AddD: return of(ChainStep::AddB, ChainStep::AddC);
    case OpCode::SubD: return of(ChainStep::SubB, ChainStep::SubC);
    case OpCode::MulD: return of(ChainStep::MulB, ChainStep::MulC);
    case OpCode::DivD: return of(ChainStep::DivB, ChainStep::DivC);
    case OpCode::NegD: return ofOne(ChainStep::Neg);
    case OpCode::MulAddD: return ofSum(ChainStep::MulAddB, ChainStep::MulAddC, ChainStep::MulAddD);
    case OpCode::MulSubD: return ofSum(ChainStep::MulSubB, ChainStep::MulSubC, ChainStep::MulSubD);
    case OpCode::SubMulD: return ofSum(ChainStep::SubMulB, ChainStep::SubMulC, ChainStep::SubMulD);
    case OpCode::SinD: return ofOne(ChainStep::Sin);
    case OpCode::CosD: return ofOne(ChainStep::Cos);
    case OpCode::MathD1: return ofOne(ChainStep::Math1);
    case OpCode::MathD2: return of(ChainStep::Math2B, ChainStep::Math2C);
    default: return ChainStep::None;
    }
}

} // namespace

void chainDoubles(std::vector<Instruction> &code)
{
    for (std::size_t i = 0; i < code.size();) {
        Instruction &first = code[i];
        const ChainStep start = chainStep(first, first.b);
        std::size_t length = 1;
        while (start != ChainStep::None && i + length < code.size() && length < UINT16_MAX) {
            const ChainStep step = chainStep(code[i + length], code[i + length - 1].a);
            if (step == ChainStep::None)
                break;
            code[i + length++].e = static_cast<std::uint16_t>(step);
        }
        if (length > 1) {
            first.e = static_cast<std::uint16_t>(start);
            first.aux = static_cast<std::uint16_t>(length);
            first.op = OpCode::ChainD;
        }
        i += length;
    }
}

// A function of its own, never inlined in the machine's loop: its few values
// the compiler keeps in registers, where the loop, with many, keeps its in
// memory.
[[gnu::noinline]] const Instruction *runChain(const Instruction *first, RoutineSlot *s)
{
    const Instruction *const end = first + first->aux;
    const Instruction *step = first;
    double v = s[first->b].d;
    const auto b = [&] { return s[step->b].d; };
    const auto c = [&] { return s[step->c].d; };
    const auto d = [&] { return s[step->d].d; };
#if SWEEPDRAW_THREADED
#define SWEEPDRAW_CHAIN_STEP_LABEL(name, value) &&step_##name,
    static const void *const kSteps[] = {nullptr, SWEEPDRAW_CHAIN_STEPS(SWEEPDRAW_CHAIN_STEP_LABEL)};
#undef SWEEPDRAW_CHAIN_STEP_LABEL
#define SWEEPDRAW_CHAIN_STEP(name, value)                                                                              \
    step_##name : v = (value);                                                                                         \
    s[step->a].d = v;                                                                                                  \
    if (++step == end)                                                                                                 \
        return end;                                                                                                    \
    goto *kSteps[step->e];
    goto *kSteps[step->e];
    SWEEPDRAW_CHAIN_STEPS(SWEEPDRAW_CHAIN_STEP)
#else
#define SWEEPDRAW_CHAIN_STEP(name, value)                                                                              \
    case ChainStep::name: v = (value); break;
    for (; step != end; ++step) {
        switch (static_cast<ChainStep>(step->e)) {
            SWEEPDRAW_CHAIN_STEPS(SWEEPDRAW_CHAIN_STEP)
        case ChainStep::None: __builtin_unreachable();
        }
        s[step->a].d = v;
    }
    return end;
#endif
#undef SWEEPDRAW_CHAIN_STEP
}

#undef SWEEPDRAW_CHAIN_STEPS
#undef SWEEPDRAW_THREADED

} // namespace sweepdraw::machine
