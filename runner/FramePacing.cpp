#include "FramePacing.h"

#include "Ticker.h"

namespace sweepdraw {

FramePacing::FramePacing(const Clock &clock, Ticker *ticker)
    : m_clock(clock)
    , m_pace(clock)
    , m_ticker(ticker)
{
}

std::chrono::nanoseconds FramePacing::deadline(bool owed) const
{
    const bool atOnce = owed || m_pace.rate() == Pace::kUnlimited;
    return m_clock() + (atOnce ? m_budget.atOnce : m_budget.paced);
}

void FramePacing::repace(bool atOnce)
{
    long long rate = 0;
    if (atOnce || (!m_paused && m_speed == Speed::Instant))
        rate = Pace::kUnlimited;
    else if (!m_paused)
        rate = operationsPerSecond(m_speed);
    m_pace.setRate(rate);
}

void FramePacing::schedule(bool queued, bool changing)
{
    if (!changing && (!queued || m_pace.rate() == 0)) {
        sleep();
        return;
    }
    const std::chrono::milliseconds interval =
        changing || m_pace.rate() == Pace::kUnlimited ? std::chrono::milliseconds{0} : kFrame;
    if (m_ticker && m_ticking != interval) {
        m_ticking = interval;
        m_ticker->startTicking(interval);
    }
}

void FramePacing::sleep()
{
    if (m_ticker && m_ticking) {
        m_ticking.reset();
        m_ticker->stopTicking();
    }
}

} // namespace sweepdraw
