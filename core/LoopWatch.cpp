#include "LoopWatch.h"

namespace sweepdraw {

thread_local constinit int LoopWatch::t_turnsLeft = LoopWatch::kTurnsPerLook;
thread_local constinit const LoopWatch::Activation *LoopWatch::t_active = nullptr;

void LoopWatch::lookIn()
{
    // Counted afresh before looking, so that a look that throws or
    // suspends leaves the count ready for the turns after it.
    t_turnsLeft = kTurnsPerLook;
    askFrom(t_active);
}

// The outer watches first, so that the innermost, which may suspend the
// fiber, is the last one asked, and nothing is read once it returns.
void LoopWatch::askFrom(const Activation *activation)
{
    if (!activation)
        return;
    askFrom(activation->m_previous);
    if (activation->m_watch)
        activation->m_watch->look();
}

} // namespace sweepdraw
