#pragma once

#include "Syntax.h"

namespace sweepdraw {

// Compiles a checked tree into `program`'s flat code, one function after
// another, the drawing function last. Refuses, with RoutineRefusal, only a
// function too large for its frame's numbered slots.
//
// Beyond a plain translation it makes the two fusions that keep a routine
// near its compiled scene: the sine and the cosine of one value in one
// straight run of code are one SinCos, as GCC makes them one call of
// sincos (glibc computes both exactly as it computes each); and a point
// plotted at two doubles rounded to float in a colour of the palette is
// one PlotPointOfDoubles.
void emitRoutine(const RoutineSyntax &syntax, RoutineProgram &program);

} // namespace sweepdraw
