#pragma once

#include "Commands.h"

#include <deque>
#include <optional>

namespace sweepdraw {

// The commands given to the runner, in the order given: the one being
// drawn, if any, and those waiting after it. It also knows which of them
// are to be drawn at once rather than at the speed: those given before the
// last call of finishAllAtOnce().
class CommandQueue final
{
public:
    void push(Button button) { m_waiting.push_back(button); }

    // Makes the first waiting command the current one; there must be one.
    Button startNext();

    // The current command is done, or dropped: returns it.
    Button finishCurrent();

    // Forgets every command, the current one included.
    void clear();

    bool empty() const { return !m_current && m_waiting.empty(); }
    bool hasWaiting() const { return !m_waiting.empty(); }
    std::optional<Button> current() const { return m_current; }
    int waiting() const { return static_cast<int>(m_waiting.size()); }

    // Every command given so far, the current one included, is to be drawn
    // at once.
    void finishAllAtOnce() { m_atOnce = waiting() + (m_current ? 1 : 0); }
    bool finishingAtOnce() const { return m_atOnce > 0; }

private:
    std::deque<Button> m_waiting;
    std::optional<Button> m_current;
    int m_atOnce = 0; // commands left to draw at once, counting the current one
};

} // namespace sweepdraw
