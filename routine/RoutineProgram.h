#pragma once

#include "Colour.h"
#include "RoutineOutline.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sweepdraw {

// A routine's compiled form: one flat list of instructions on numbered
// slots, each slot holding one value of a known type. Named constants,
// literals and intermediate results each have a slot of their own, so an
// instruction only reads and writes slots; a loop is one instruction
// followed by its body, which ends where the loop instruction says. The sine
// and cosine of one value in one body are one SinCos, as the compiler makes
// them one call of sincos: results first, sine then cosine. A point plotted
// at two doubles rounded to float, in a colour looked up in the palette, as
// every scene plots, is one PlotPointOfDoubles of the doubles and the colour
// number.
enum class OpCode : std::uint8_t {
    AddI, SubI, MulI, DivI, NegI,
    AddF, SubF, MulF, DivF, NegF,
    AddD, SubD, MulD, DivD, NegD,
    IntToFloat, IntToDouble, FloatToDouble, DoubleToFloat, FloatToInt, DoubleToInt,
    SinF, SinD, CosF, CosD, SinCosF, SinCosD, TanF, TanD, SqrtF, SqrtD, FloorF, FloorD,
    AbsI, AbsF, AbsD, Atan2F, Atan2D, PowF, PowD,
    Palette,
    SetPenWidth, PlotPoint, PlotPointOfDoubles, DrawBox, DrawCircle, ClearSurface,
    Sweep, ColourPass,
};

union RoutineSlot
{
    double d;
    float f;
    int i;
    Colour colour;
};

struct Instruction
{
    OpCode op;
    // Slots: the result first, then the operands. A surface operation takes
    // its arguments in order; a loop its three, then its counter's slot.
    std::array<std::uint16_t, 5> slot{};
    std::uint32_t line = 0;
    // A loop's: the index of the instruction after its body, and of the
    // loop among the program's loops.
    std::uint32_t end = 0;
    std::uint32_t loop = 0;
};

// Runs one instruction that draws nothing and runs no loop on `slots`.
void runInstruction(const Instruction &instruction, RoutineSlot *slots);

struct RoutineProgram
{
    std::string fileName;
    std::string functionName;
    std::string source;
    std::vector<RoutineLoop> loops;
    std::vector<RoutineCall> calls;
    std::vector<Instruction> code;
    // The slots' values before the routine starts: the literals, in place.
    std::vector<RoutineSlot> initial;
};

} // namespace sweepdraw
