#pragma once

namespace sweepdraw {

// Clears the upper halves of the processor's vector registers, when it has
// AVX: the cheapest way back to full speed for the scenes' SSE arithmetic
// after code elsewhere in the process (libraries choosing AVX routines at
// run time) has left them dirty. On a processor where that state can be
// dirty, mixing it with legacy SSE instructions costs a dependency on the
// upper halves for every instruction, many times the arithmetic itself.
//
// Cheap enough to call before every piece of drawing. Returns whether it
// cleared anything: false on a processor without AVX, where the instruction
// does not exist, and on other architectures.
bool clearUpperVectorState() noexcept;

// Whether clearUpperVectorState() may use AVX: found out once from the
// processor. Tests force it off to run the path of a processor without AVX.
bool upperVectorStateClearing() noexcept;
void setUpperVectorStateClearing(bool enabled) noexcept;

} // namespace sweepdraw
