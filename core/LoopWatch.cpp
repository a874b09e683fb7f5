#include "LoopWatch.h"

namespace sweepdraw {

thread_local constinit int LoopWatch::t_turnsLeft = LoopWatch::kTurnsPerLook;
thread_local constinit LoopWatch *LoopWatch::t_active = nullptr;

void LoopWatch::lookIn()
{
    // Counted afresh before looking, so that a look that throws or
    // suspends leaves the count ready for the turns after it.
    t_turnsLeft = kTurnsPerLook;
    if (t_active)
        t_active->look();
}

} // namespace sweepdraw
