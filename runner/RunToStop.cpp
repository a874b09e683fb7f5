#include "RunToStop.h"

#include "LoopRecorder.h"

namespace sweepdraw {

namespace {

// Where the loop called on `line` is among those running, or -1.
int depthOf(const LoopState &state, int line)
{
    for (int i = 0; i < state.depth(); ++i)
        if (static_cast<int>(state.loop(i).where.line()) == line)
            return i;
    return -1;
}

} // namespace

bool RunToStop::movedOn(const LoopState &now, const LoopState &then) const
{
    const int at = depthOf(now, loopLine);
    if (at < 0)
        return false;
    if (depthOf(then, loopLine) != at)
        return true;
    for (int i = 0; i <= at; ++i)
        if (now.loop(i).value != then.loop(i).value || now.loop(i).pass != then.loop(i).pass)
            return true;
    return false;
}

} // namespace sweepdraw
