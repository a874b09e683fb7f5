#pragma once

#include "RoutineProgram.h"

#include <vector>

namespace sweepdraw::machine {

// Makes each run of double operations where each takes the result of the
// one before it a chain (ChainD), in the machine's own copy of the code:
// its first becomes a ChainD. Each keeps its slots, and the others their
// operations too, so that a jump to one of them runs the rest of the chain
// one by one.
void chainDoubles(std::vector<Instruction> &code);

// Runs the chain that begins at `first`, in the frame at `s`, and returns
// the instruction after it: each step stores its value in its slot and
// hands it on to the next in a register. No step fails or stops.
const Instruction *runChain(const Instruction *first, RoutineSlot *s);

} // namespace sweepdraw::machine
