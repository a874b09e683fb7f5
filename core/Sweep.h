#pragma once

#include "LoopCheck.h"
#include "LoopRecorder.h"
#include "LoopWatch.h"
#include "RuntimeError.h"

#include <cmath>

namespace sweepdraw {

// The stepped loop every scene is built from. The counter starts at `start`;
// while it has not passed `end` (greater than it for a positive step, less
// than it for a negative one) the body runs with the counter, and then the
// step is added to the counter. The counter is only ever advanced by repeated
// addition in double precision, never recomputed as start plus a multiple of
// the step, so a fractional step may stop one value short of `end`:
// Sweep(555, 5555, 0.1) runs 50,000 times, the last value 5554.90000000262.
//
// A step that is zero, not finite, or too small to change the counter would
// loop for ever; such a sweep throws RuntimeError before running the body.
// Rounding may still stop the counter between the ends, where the step
// moves neither up nor down to another double: the sweep throws there, at
// the value that would have been repeated (see LoopCheck.h).
//
// While it runs, the sweep records where it was called from and its
// counter's value on the active LoopRecorder, if there is one, and counts
// each value as a turn on the LoopWatch.
template <typename Body>
void Sweep(double start, double end, double step, Body &&body,
           LoopSite where = LoopSite::current())
{
    checkSweep(start, end, step, where);

    LoopRecorder::Scope loop(where);
    const auto run = [&](auto next) {
        if (step > 0) {
            for (double value = start; !(value > end); value = next(value)) {
                LoopWatch::turn();
                loop.set(value);
                body(value);
            }
        } else {
            for (double value = start; !(value < end); value = next(value)) {
                LoopWatch::turn();
                loop.set(value);
                body(value);
            }
        }
    };
    // Only far from zero can rounding stop the counter; elsewhere the
    // sweep goes unchecked, as fast as the bare addition.
    if (sweepMayStall(start, end, step)) [[unlikely]]
        run([step, where](double value) { return nextSweepValue(value, step, where); });
    else
        run([step](double value) { return value + step; });
}

// The colour-sequence loop: draws the body with `first`, adds `change`, and
// stops once the colour number equals `stop`, which is itself never drawn.
// The test follows the body, so at least one pass is always drawn:
// ColourPass(14, -1, 10, ...) draws 14, 13, 12 and 11.
//
// A sequence that would never reach `stop`, or would take more passes than
// an int counts, throws RuntimeError before the first pass.
//
// While it runs, it records where it was called from, the colour and the
// pass on the active LoopRecorder, if there is one, and counts each pass as
// a turn on the LoopWatch.
template <typename Body>
void ColourPass(int first, int change, int stop, Body &&body,
                LoopSite where = LoopSite::current())
{
    const int passes = colourPasses(first, change, stop, where);

    LoopRecorder::Scope loop(where, passes);
    // The colour moves towards `stop` and ends on it, so it never overflows;
    // nor does the pass, which ends at the count.
    int colour = first;
    int pass = 0;
    do {
        LoopWatch::turn();
        loop.setPass(colour, ++pass);
        body(colour);
        colour += change;
    } while (colour != stop);
}

} // namespace sweepdraw
