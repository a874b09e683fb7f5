#include "Pace.h"

#include <algorithm>

namespace sweepdraw {

namespace {

constexpr long long kNanosecondsPerSecond = 1'000'000'000;

} // namespace

Pace::Pace(const Clock &clock)
    : m_clock(clock)
{
}

void Pace::setRate(long long operationsPerSecond)
{
    m_rate = operationsPerSecond;
    restart();
}

void Pace::restart()
{
    m_landed = 0;
    if (m_rate > 0 && m_rate != kUnlimited)
        m_start = m_clock();
}

long long Pace::due() const
{
    if (m_rate == 0 || m_rate == kUnlimited)
        return m_rate;
    // In whole numbers, so that a time that is a whole number of operations
    // is not a hair short of it.
    const long long elapsed = std::max<long long>((m_clock() - m_start).count(), 0);
    const long long due = elapsed / kNanosecondsPerSecond * m_rate
                          + elapsed % kNanosecondsPerSecond * m_rate / kNanosecondsPerSecond;
    return std::max(due - m_landed, 0LL);
}

} // namespace sweepdraw
