#pragma once

#include "Syntax.h"

namespace sweepdraw {

// Compiles a checked tree into `program`'s flat code, one function after
// another, the drawing function last. Refuses, with RoutineRefusal, only a
// function too large for its frame's numbered slots.
//
// Beyond a plain translation it makes the fusions that keep a routine near
// its compiled form: the sine and the cosine of one value in one straight
// run of code are one SinCos, as GCC makes them one call of sincos (glibc
// computes both exactly as it computes each); a point plotted at two
// doubles rounded to float in a colour of the palette is one
// PlotPointOfDoubles, and a surface operation takes a colour of the
// palette by its number; a comparison is one instruction with the jump
// that reads it; a for or while loop tests at its turn, one instruction;
// a call takes its first arguments from the caller's own slots, and puts
// its result where it is wanted; a small function that cannot reach itself
// is emitted into its callers' frames, and a function's call of itself as
// it returns starts it again in its frame, each still counting towards the
// depth calls may go to.
void emitRoutine(const RoutineSyntax &syntax, RoutineProgram &program);

} // namespace sweepdraw
