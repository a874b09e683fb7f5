#pragma once

#include "Runnable.h"

#include <deque>
#include <optional>
#include <vector>

namespace sweepdraw {

// The commands given to the runner, in the order given: the one being
// drawn, if any, and those waiting after it. It also knows which of them
// are to be drawn at once rather than at the speed: those given before the
// last call of finishAllAtOnce().
class CommandQueue final
{
public:
    void push(const Runnable &command) { m_waiting.push_back(command); }

    // Makes the first waiting command the current one, as started on a
    // picture whose pen is `pen` pixels wide; there must be one.
    Runnable startNext(int pen);

    // The current command is done, or dropped: returns it.
    Runnable finishCurrent();

    // Makes `command`, finished before, the current one again; the current
    // one, if any, waits first.
    void reopen(const Runnable &command);

    // Forgets every command, the current one included.
    void clear();

    bool empty() const { return !m_current && m_waiting.empty(); }
    bool hasWaiting() const { return !m_waiting.empty(); }
    const Runnable &next() const { return m_waiting.front(); }
    const std::optional<Runnable> &current() const { return m_current; }
    int waiting() const { return static_cast<int>(m_waiting.size()); }
    // The current command, if any, and those waiting, in order.
    std::vector<Runnable> all() const;

    // Every command given so far, the current one included, is to be drawn
    // at once.
    void finishAllAtOnce() { m_atOnce = waiting() + (m_current ? 1 : 0); }
    bool finishingAtOnce() const { return m_atOnce > 0; }

private:
    std::deque<Runnable> m_waiting;
    std::optional<Runnable> m_current;
    int m_atOnce = 0; // commands left to draw at once, counting the current one
};

} // namespace sweepdraw
