#include "RoutineLines.h"

namespace sweepdraw {

RoutineLines::RoutineLines(const std::vector<RoutineLoop> &loops, std::vector<RoutineCall> calls)
    : m_calls(std::move(calls))
{
    for (const RoutineLoop &loop : loops)
        m_loops.emplace(loop.firstLine, loop);
}

const RoutineLoop *RoutineLines::loopAt(int line) const
{
    const auto found = m_loops.find(line);
    return found == m_loops.end() ? nullptr : &found->second;
}

int RoutineLines::loopRound(int line) const
{
    // By first line, so the last that holds it is the innermost.
    int innermost = 0;
    for (const auto &[first, loop] : m_loops)
        if (first <= line && line <= loop.lastLine)
            innermost = first;
    return innermost;
}

int RoutineLines::lineCalling(std::string_view operation, int loopLine) const
{
    const RoutineLoop *loop = loopAt(loopLine);
    int within = 0;
    for (auto call = m_calls.rbegin(); call != m_calls.rend(); ++call) {
        if (call->operation != operation)
            continue;
        if (call->loopLine == loopLine)
            return call->line;
        // Loops nested deeper than are recorded are known by their
        // outermost unrecorded one's line.
        if (loop && within == 0 && loop->firstLine <= call->line && call->line <= loop->lastLine)
            within = call->line;
    }
    return within;
}

int RoutineLines::lineOfCallOutsideLoops(int index) const
{
    for (const RoutineCall &call : m_calls)
        if (call.loopLine == 0 && index-- == 0)
            return call.line;
    return 0;
}

} // namespace sweepdraw
