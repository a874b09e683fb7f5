#pragma once

#include <chrono>

namespace sweepdraw {

// Wakes a CommandRunner for its frames, from whatever drives it: a timer of
// the window's event loop, a page's animation frames. Once started, it
// calls the runner's advance() every `interval`, or, with an interval of
// zero, as soon as the thread has answered whatever else is waiting; until
// stopped. The runner starts it only when it is stopped or its interval
// changes, from any of its calls, advance() too.
class Ticker
{
public:
    virtual void startTicking(std::chrono::milliseconds interval) = 0;
    virtual void stopTicking() = 0;

protected:
    Ticker() = default;
    ~Ticker() = default;
    Ticker(const Ticker &) = default;
    Ticker &operator=(const Ticker &) = default;
};

} // namespace sweepdraw
