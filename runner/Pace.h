#pragma once

#include <chrono>
#include <climits>
#include <functional>

namespace sweepdraw {

// Where the time comes from: the steady clock, or a test's own.
using Clock = std::function<std::chrono::nanoseconds()>;

// How many operations are due at a rate by a clock: counted from the moment
// the pace last restarted, less those already landed since then. A pace of
// zero stands still without looking at the clock, so a pause costs nothing;
// an unlimited pace lets everything through.
class Pace final
{
public:
    static constexpr long long kUnlimited = LLONG_MAX;

    // Follows `clock`, which must outlive it, at a pace of zero.
    explicit Pace(const Clock &clock);

    // Operations a second from now on: 0 stands still, kUnlimited lets
    // everything through. Restarts.
    void setRate(long long operationsPerSecond);
    long long rate() const { return m_rate; }

    // Counts from now, with nothing landed yet; and after the clock has
    // been replaced.
    void restart();

    // The operations due by the clock and not landed yet.
    long long due() const;

    // `operations` more have landed.
    void count(long long operations) { m_landed += operations; }

private:
    const Clock &m_clock;
    long long m_rate = 0;
    std::chrono::nanoseconds m_start{0};
    long long m_landed = 0;
};

} // namespace sweepdraw
