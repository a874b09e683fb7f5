#pragma once

#include "Pace.h"
#include "Speed.h"

#include <chrono>
#include <optional>

namespace sweepdraw {

class Ticker;

// How fast a runner's queue is drawn, and when the runner is woken for it.
// The speed and the pause make the pace, but while the queue is finished at
// once it is as fast as the machine goes. The ticker wakes the runner every
// frame at a paced speed, as soon as the thread is free as fast as the
// machine goes or while a change is drawn, and not at all while paused or
// with nothing to draw.
class FramePacing final
{
public:
    // How long a frame lasts at the paced speeds, and the longest one may
    // spend drawing at any speed.
    static constexpr std::chrono::milliseconds kFrame{16};

    // Follows `clock`, which must outlive it, and has `ticker`, if given,
    // wake the runner; paused until repace() is called.
    FramePacing(const Clock &clock, Ticker *ticker);

    // How long a frame may spend drawing: while the queue goes at the
    // speed's pace (`paced`, which binds only when a frame has fallen
    // behind), and while it, a step, a redraw or a change is drawn as fast
    // as the machine goes (`atOnce`). A whole frame each unless set; a
    // frame that has more to do than draw leaves itself room.
    struct FrameBudget
    {
        std::chrono::nanoseconds paced = kFrame;
        std::chrono::nanoseconds atOnce = kFrame;
    };
    void setFrameBudget(FrameBudget budget) { m_budget = budget; }

    // When this frame's drawing is to stop, by the clock: a paced frame's
    // budget from now, or, with drawing `owed` at once or the pace as fast
    // as the machine goes, the budget for drawing at once.
    std::chrono::nanoseconds deadline(bool owed) const;

    Speed speed() const { return m_speed; }
    void setSpeed(Speed speed) { m_speed = speed; }
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }

    // Restarts the pace at the rate the speed and the pause make, or as fast
    // as the machine goes while the queue is finished `atOnce`.
    void repace(bool atOnce);

    Pace &pace() { return m_pace; }
    const Pace &pace() const { return m_pace; }

    // Has the runner woken as its drawing needs: commands `queued` and a
    // change `changing`, either of which may be under way.
    void schedule(bool queued, bool changing);
    // The runner is not woken again until the next schedule().
    void sleep();

private:
    const Clock &m_clock;
    Pace m_pace;
    FrameBudget m_budget;
    Ticker *m_ticker;
    std::optional<std::chrono::milliseconds> m_ticking; // the ticker's interval, while started
    Speed m_speed = kDefaultSpeed;
    bool m_paused = false;
};

} // namespace sweepdraw
