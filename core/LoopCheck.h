#pragma once

#include "LoopRecorder.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace sweepdraw {

// The checks that keep the drawing's loops finite, in one place for the
// scenes' Sweep and ColourPass and for the routines' loops alike. A loop
// that fails one throws RuntimeError whose fault names
// the loop's file and line, "FILE:LINE: error: what", from its LoopSite.
//
// A sweep is checked once before its first value, and then, if rounding
// could stop its counter at all, at every value: its counter must move at
// each addition of the step, which one compare tells. A colour pass is checked once, in arithmetic wide enough that
// nothing overflows: it must reach its stop exactly, in a number of passes
// an int can count, so that neither its colour nor its pass counter ever
// overflows.

// Throws unless start, end and step are finite and the step moves the
// counter both at the start and at the end.
inline void checkSweep(double start, double end, double step, LoopSite where);

// Whether rounding could stop the counter of a sweep anywhere between its
// ends: only where the step is no more than half the spacing of doubles at
// the larger end, which this tells with a multiply, erring towards yes. A
// sweep it says no of needs no nextSweepValue.
inline bool sweepMayStall(double start, double end, double step);

// The counter's value after `value`; throws when adding the step leaves it
// where it was, as rounding may at any value between start and end.
inline double nextSweepValue(double value, double step, LoopSite where);

// How many passes the colour pass draws, at least one; throws when it would
// never reach `stop` or take more passes than an int counts.
inline int colourPasses(int first, int change, int stop, LoopSite where);

[[noreturn]] void refuseSweep(double start, double end, double step, LoopSite where);
[[noreturn]] void refuseStalledSweep(double value, double step, LoopSite where);
[[noreturn]] void refuseColourPass(int first, int change, int stop, LoopSite where);

inline void checkSweep(double start, double end, double step, LoopSite where)
{
    if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(step) || start + step == start
        || end + step == end) [[unlikely]]
        refuseSweep(start, end, step, where);
}

inline bool sweepMayStall(double start, double end, double step)
{
    // The spacing at a magnitude m is at most m * 2^-52, and the counter's
    // magnitude never exceeds the larger end's.
    return std::abs(step) <= std::max(std::abs(start), std::abs(end)) * 0x1p-52;
}

inline double nextSweepValue(double value, double step, LoopSite where)
{
    const double next = value + step;
    if (next == value) [[unlikely]]
        refuseStalledSweep(value, step, where);
    return next;
}

inline int colourPasses(int first, int change, int stop, LoopSite where)
{
    const long long distance = static_cast<long long>(stop) - first;
    if (change == 0 || distance % change != 0 || distance / change <= 0 || distance / change > INT_MAX) [[unlikely]]
        refuseColourPass(first, change, stop, where);
    return static_cast<int>(distance / change);
}

} // namespace sweepdraw
