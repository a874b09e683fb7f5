#pragma once

#include "Commands.h"
#include "RecordingSurface.h"
#include "Speed.h"

#include <QtTest>

#include <chrono>

namespace sweepdraw::test {

// A clock that stands still until a test moves it, for a runner or a
// window.
class ManualClock
{
public:
    template <typename Paced>
    explicit ManualClock(Paced &paced)
    {
        paced.setClock([this] { return m_now; });
    }

    void advance(std::chrono::nanoseconds by) { m_now += by; }

private:
    std::chrono::nanoseconds m_now{0};
};

// The operations a command makes, in order.
inline long long operationsOf(Button button)
{
    RecordingSurface recording;
    commandOf(button).action(recording);
    return static_cast<long long>(recording.calls().size());
}

} // namespace sweepdraw::test

Q_DECLARE_METATYPE(sweepdraw::Button)
Q_DECLARE_METATYPE(sweepdraw::Speed)
