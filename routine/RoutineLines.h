#pragma once

#include "RoutineOutline.h"

#include <map>
#include <string_view>
#include <vector>

namespace sweepdraw {

// What a routine's lines hold, from its outline as compiled
// (CompiledRoutine::loops() and calls()): the questions a code pane asks of
// them to light a line, place a value or find where to stop.
class RoutineLines final
{
public:
    RoutineLines() = default;
    RoutineLines(const std::vector<RoutineLoop> &loops, std::vector<RoutineCall> calls);

    // The loops by the line their call starts on, and the calls as written.
    const std::map<int, RoutineLoop> &loops() const { return m_loops; }
    const std::vector<RoutineCall> &calls() const { return m_calls; }

    // The loop called on `line`, counted from 1, or nullptr if there is none.
    const RoutineLoop *loopAt(int line) const;

    // The first line of the innermost loop whose call holds `line`, or 0.
    int loopRound(int line) const;

    // The line of the last call of `operation` ("PlotPoint") made directly
    // in the loop called on `loopLine`, or anywhere within it if none is; 0
    // if there is none.
    int lineCalling(std::string_view operation, int loopLine) const;

    // The line of the call outside every loop that the routine makes
    // `index`th there, counted from 0, or 0.
    int lineOfCallOutsideLoops(int index) const;

private:
    std::map<int, RoutineLoop> m_loops; // by first line
    std::vector<RoutineCall> m_calls;   // as written
};

} // namespace sweepdraw
