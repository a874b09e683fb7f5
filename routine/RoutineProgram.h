#pragma once

#include "Colour.h"
#include "RoutineOutline.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sweepdraw {

// A routine's compiled form, as Lua and clox make theirs: one flat list of
// instructions with jumps, for every function of the file, run by one loop
// (RoutineMachine) that keeps its own stacks of calls and loops.
//
// Each function works on a frame of numbered slots, each holding one value
// of a type the compiler knows: its parameters first, then its variables,
// its constants and the intermediate results. An instruction names its
// slots in a to e, the result first; its jump target, the function it
// calls, the library function it applies or the loop it runs are in
// `target` and `aux`.
//
// The suffix of an operation names the type it works on: I int, L long
// (the type of an integer literal beyond int), F float, D double. A bool
// is an int slot holding 0 or 1.
//
// Every operation is listed once, here: the enumeration and the loop's table
// of where each one's code begins are both made from this list, so that
// their orders cannot part.
#define SWEEPDRAW_OPCODES(X)                                                                                        \
    X(End)                                                                                                          \
    X(Move)                                                                                                         \
    X(AddI) X(SubI) X(MulI) X(DivI) X(RemI) X(NegI)                                                                 \
    /* AddI to RemI of b and the int `target`, a divisor neither 0 nor -1. */                                       \
    X(AddIK) X(MulIK) X(DivIK) X(RemIK)                                                                             \
    X(AddL) X(SubL) X(MulL) X(DivL) X(RemL) X(NegL)                                                                 \
    X(AddF) X(SubF) X(MulF) X(DivF) X(NegF)                                                                         \
    X(AddD) X(SubD) X(MulD) X(DivD) X(NegD)                                                                         \
    /* b * c + d, b * c - d and d - b * c, the product rounded to double */                                         \
    /* before the sum, as MulD and then AddD or SubD round them. */                                                 \
    X(MulAddD) X(MulSubD) X(SubMulD)                                                                                \
    X(LtI) X(LeI) X(EqI) X(NeI) X(LtL) X(LeL) X(EqL) X(NeL) X(LtF) X(LeF) X(EqF) X(NeF) X(LtD) X(LeD) X(EqD) X(NeD) \
    X(Not)                                                                                                          \
    X(IntToLong) X(IntToFloat) X(IntToDouble) X(LongToInt) X(LongToFloat) X(LongToDouble)                           \
    X(FloatToInt) X(FloatToLong) X(FloatToDouble) X(DoubleToInt) X(DoubleToLong) X(DoubleToFloat)                   \
    X(IntToBool) X(LongToBool) X(FloatToBool) X(DoubleToBool)                                                       \
    X(MinI) X(MaxI) X(MinF) X(MaxF) X(MinD) X(MaxD) X(AbsI)                                                         \
    X(MathF1) X(MathD1) X(MathF2) X(MathD2) /* the function is the library's number `target` */                     \
    X(SinCosF) X(SinCosD) /* a the sine, b the cosine of c */                                                       \
    X(SinF) X(CosF) X(SinD) X(CosD) /* MathF1 and MathD1 of the two most called */                                  \
    X(Palette)                                                                                                      \
    X(SetPenWidth) X(PlotPoint) X(PlotPointOfDoubles) X(DrawBox) X(DrawCircle) X(ClearSurface)                      \
    /* The operations above with their last argument a number of the palette */                                     \
    /* rather than a colour. */                                                                                     \
    X(PlotPointOfPalette) X(DrawBoxOfPalette) X(DrawCircleOfPalette)                                                \
    X(Jump) X(JumpIfFalse) X(JumpIfTrue)                                                                            \
    /* To `target` unless a compares with b so, in the order of LtI to NeD. */                                      \
    X(JumpUnlessLtI) X(JumpUnlessLeI) X(JumpUnlessEqI) X(JumpUnlessNeI)                                             \
    X(JumpUnlessLtL) X(JumpUnlessLeL) X(JumpUnlessEqL) X(JumpUnlessNeL)                                             \
    X(JumpUnlessLtF) X(JumpUnlessLeF) X(JumpUnlessEqF) X(JumpUnlessNeF)                                             \
    X(JumpUnlessLtD) X(JumpUnlessLeD) X(JumpUnlessEqD) X(JumpUnlessNeD)                                             \
    X(LoopBack) /* a turn of a loop of the routine's own: to `target` */                                            \
    /* A turn, then to `target` if a is true, or compares with b so. */                                             \
    X(LoopIfTrue)                                                                                                   \
    X(LoopIfLtI) X(LoopIfLeI) X(LoopIfEqI) X(LoopIfNeI)                                                             \
    X(LoopIfLtL) X(LoopIfLeL) X(LoopIfEqL) X(LoopIfNeL)                                                             \
    X(LoopIfLtF) X(LoopIfLeF) X(LoopIfEqF) X(LoopIfNeF)                                                             \
    X(LoopIfLtD) X(LoopIfLeD) X(LoopIfEqD) X(LoopIfNeD)                                                             \
    X(SweepStart) X(SweepNext) X(ColourStart) X(ColourNext)                                                         \
    /* SweepNext of a sweep whose step is a constant above (below) 0. */                                            \
    X(SweepNextUp) X(SweepNextDown)                                                                                 \
    /* A call's frame begins at a, where its arguments are, but for the */                                          \
    /* first three, copied from c, d and e; its result goes to b. `aux` */                                          \
    /* counts the calls inlined around it. A bounded call checks neither */                                         \
    /* the depth nor the stack: its callee can never run deep enough to */                                          \
    /* fail. */                                                                                                     \
    X(Call) X(CallBounded)                                                                                          \
    /* A function's call of itself as it returns: its arguments, placed */                                          \
    /* as a Call's, become its `aux` parameters and it starts again at */                                           \
    /* `target`. */                                                                                                 \
    X(TailCall)                                                                                                     \
    /* An inlined call's depth, `aux` the calls inlined around it. */                                               \
    X(CheckDepth)                                                                                                   \
    /* An inlined function that calls itself as it returns: CountDepth */                                           \
    /* puts in a the calls its call leaves before the limit, TailJump */                                            \
    /* counts one call more off b, puts its arguments, copied from c, d */                                          \
    /* and e, in its parameters from a on, and jumps back to `target`; */                                           \
    /* TailJumpOfTwo the same for at most two parameters. */                                                        \
    X(CountDepth) X(TailJump) X(TailJumpOfTwo)                                                                      \
    /* TailJumpOfTwo and the test the function starts with, a jump past */                                          \
    /* it: on to `target`, the instruction after that test, if e is true */                                         \
    /* (false), else on past itself. */                                                                             \
    X(TailJumpOfTwoIfTrue) X(TailJumpOfTwoIfFalse)                                                                  \
    /* Made only in the machine's own copy of the code: such a turn whose */                                        \
    /* `target` is the int operation right before it, AddI to RemIK, the */                                         \
    /* two run as one loop, its slots laid out as MachineLoop.cpp says. */                                          \
    X(TurnWithAddI) X(TurnWithSubI) X(TurnWithMulI) X(TurnWithDivI) X(TurnWithRemI)                                 \
    X(TurnWithAddIK) X(TurnWithMulIK) X(TurnWithDivIK) X(TurnWithRemIK)                                             \
    /* Made only in the machine's own copy of the code: the first of `aux` */                                       \
    /* double operations in a row, each after the first taking the one */                                           \
    /* before's result, run as one with that value in a register. Each of */                                        \
    /* them, this one too, names in e how it runs there, as MachineLoop.cpp */                                      \
    /* says. */                                                                                                     \
    X(ChainD)                                                                                                       \
    X(Return) X(ReturnVoid) X(NoReturn) /* NoReturn: of the function `target` */

#define SWEEPDRAW_OPCODE_NAME(name) name,
enum class OpCode : std::uint8_t { SWEEPDRAW_OPCODES(SWEEPDRAW_OPCODE_NAME) };
#undef SWEEPDRAW_OPCODE_NAME

union RoutineSlot
{
    double d;
    float f;
    int i;
    long long l;
    Colour colour;
};

// The jump or loop test that fuses the comparison `compare` (LtI to NeD)
// with what follows it.
constexpr OpCode fusedWith(OpCode compare, OpCode first)
{
    return static_cast<OpCode>(static_cast<int>(first) + static_cast<int>(compare) - static_cast<int>(OpCode::LtI));
}

constexpr bool isComparison(OpCode op)
{
    return op >= OpCode::LtI && op <= OpCode::NeD;
}

static_assert(fusedWith(OpCode::NeD, OpCode::JumpUnlessLtI) == OpCode::JumpUnlessNeD);
static_assert(fusedWith(OpCode::NeD, OpCode::LoopIfLtI) == OpCode::LoopIfNeD);

struct Instruction
{
    OpCode op = OpCode::End;
    std::uint16_t a = 0, b = 0, c = 0, d = 0, e = 0;
    // A SweepStart's or ColourStart's loop among the program's loops.
    std::uint16_t aux = 0;
    // Where a jump goes, where a loop's start goes when it draws nothing and
    // its next goes back to, the function a call calls, the library
    // function applied.
    std::uint32_t target = 0;
    std::uint32_t line = 0;
    // Set in the machine's own copy: where the machine's code for `op`
    // begins (GCC and Clang), so that each operation jumps straight to the
    // next one's with no table to look it up in; and the instruction at
    // `target`, where a jump goes with no sum to work it out.
    const void *handler = nullptr;
    const Instruction *to = nullptr;
};

// The slots `instruction` writes, -1 for none.
constexpr std::array<int, 2> writtenBy(const Instruction &instruction)
{
    const bool fusedTest = (instruction.op >= OpCode::JumpUnlessLtI && instruction.op <= OpCode::JumpUnlessNeD)
                           || (instruction.op >= OpCode::LoopIfLtI && instruction.op <= OpCode::LoopIfNeD);
    switch (fusedTest ? OpCode::Jump : instruction.op) {
    case OpCode::SinCosF:
    case OpCode::SinCosD: return {instruction.a, instruction.b};
    default: return {instruction.a, -1};
    case OpCode::SweepStart:
    case OpCode::SweepNext:
    case OpCode::SweepNextUp:
    case OpCode::SweepNextDown:
    case OpCode::ColourStart:
    case OpCode::ColourNext: return {instruction.d, -1};
    case OpCode::Call:
    case OpCode::CallBounded: return {instruction.b, -1};
    case OpCode::SetPenWidth:
    case OpCode::PlotPoint:
    case OpCode::PlotPointOfDoubles:
    case OpCode::DrawBox:
    case OpCode::DrawCircle:
    case OpCode::ClearSurface:
    case OpCode::PlotPointOfPalette:
    case OpCode::DrawBoxOfPalette:
    case OpCode::DrawCircleOfPalette:
    case OpCode::Jump:
    case OpCode::JumpIfFalse:
    case OpCode::JumpIfTrue:
    case OpCode::LoopBack:
    case OpCode::LoopIfTrue:
    case OpCode::TailCall:
    case OpCode::TailJump:
    case OpCode::TailJumpOfTwo:
    case OpCode::TailJumpOfTwoIfTrue:
    case OpCode::TailJumpOfTwoIfFalse:
    case OpCode::CheckDepth:
    case OpCode::Return:
    case OpCode::ReturnVoid:
    case OpCode::NoReturn:
    case OpCode::End: return {-1, -1};
    }
    return {-1, -1};
}

struct RoutineFunction
{
    std::string name;
    int parameters = 0;
    // The slots of its frame, its constants from `firstConstant` on: the
    // only slots a call gives a value before the function starts, as every
    // variable is given one where it is declared.
    int slots = 0;
    int firstConstant = 0;
    std::vector<RoutineSlot> constants;
    std::uint32_t entry = 0;
    int line = 0;
};

struct RoutineProgram
{
    std::string fileName;
    std::string functionName;
    std::string source;
    std::vector<RoutineLoop> loops;
    std::vector<RoutineCall> calls;
    std::vector<Instruction> code;
    // The drawing function is the last.
    std::vector<RoutineFunction> functions;
    // The slots the stack holds from the start: enough for every bounded
    // call.
    std::size_t stackSlots = 0;
};

} // namespace sweepdraw
