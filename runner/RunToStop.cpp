#include "RunToStop.h"

#include "LoopRecorder.h"
#include "RoutineLines.h"

#include <limits>

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

RunToStop RunToStop::at(const RoutineLines &lines, int line)
{
    if (const int loop = lines.loopRound(line))
        return {.loopLine = loop};
    // Outside every loop the routine runs straight down, so what runs next
    // from the line is the first call or outermost loop written on it or
    // after it.
    RunToStop next;
    int nextLine = std::numeric_limits<int>::max();
    int outside = 0;
    for (const RoutineCall &call : lines.calls()) {
        if (call.loopLine != 0)
            continue;
        if (call.line >= line) {
            next = {.callOutsideLoops = outside};
            nextLine = call.line;
            break;
        }
        ++outside;
    }
    // By first line, so the first loop on or after a line outside every
    // loop is an outermost one.
    for (const auto &[first, loop] : lines.loops())
        if (first >= line)
            return first < nextLine ? RunToStop{.loopLine = first} : next;
    return next;
}

} // namespace sweepdraw
