#pragma once

namespace sweepdraw {

class LoopState;
class RoutineLines;

// Where Run to the caret stops, in the command under way or the next one
// queued: after every operation up to the first made at another value of
// the loop called on line `loopLine` of its routine, or of a loop round it;
// with no loop, after the operation the command makes outside every loop
// `callOutsideLoops`th there, counted from 0. With neither, or where that
// operation has landed already or never comes, at the command's end.
struct RunToStop
{
    int loopLine = 0;
    int callOutsideLoops = -1;

    // With a loop: whether the drawing, at `now`, has moved on from where
    // it was `then`, to another value or pass of that loop or of one round
    // it.
    bool movedOn(const LoopState &now, const LoopState &then) const;

    // Where Run to the caret stops with the caret on `line` of a routine:
    // at the next value of the innermost loop round it; outside every loop,
    // at the first call or loop written on it or after it.
    static RunToStop at(const RoutineLines &lines, int line);
};

} // namespace sweepdraw
