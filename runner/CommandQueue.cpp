#include "CommandQueue.h"

namespace sweepdraw {

Runnable CommandQueue::startNext(int pen)
{
    m_current = m_waiting.front().startingOn(pen);
    m_waiting.pop_front();
    return *m_current;
}

Runnable CommandQueue::finishCurrent()
{
    const Runnable done = *m_current;
    m_current.reset();
    if (m_atOnce > 0)
        --m_atOnce;
    return done;
}

void CommandQueue::reopen(const Runnable &command)
{
    if (m_current)
        m_waiting.push_front(*m_current);
    else if (m_atOnce > 0)
        ++m_atOnce;
    m_current = command;
}

void CommandQueue::clear()
{
    m_waiting.clear();
    m_current.reset();
    m_atOnce = 0;
}

std::vector<Runnable> CommandQueue::all() const
{
    std::vector<Runnable> commands;
    if (m_current)
        commands.push_back(*m_current);
    commands.insert(commands.end(), m_waiting.begin(), m_waiting.end());
    return commands;
}

} // namespace sweepdraw
