#pragma once

#include "DrawingSurface.h"
#include "Pace.h"

#include <QString>

#include <boost/context/fiber.hpp>

#include <chrono>
#include <functional>
#include <optional>

namespace sweepdraw {

// What a drawing command does: draws on a surface, and throws RuntimeError
// when it cannot go on.
using Action = std::function<void(DrawingSurface &)>;

// Runs `action` on `surface` in one go, with the upper vector state cleared
// first: why it failed, if it did.
std::optional<QString> runAtOnce(const Action &action, DrawingSurface &surface);

// Runs a drawing action a piece at a time, on the calling thread. The action
// runs in a fiber of its own, a Boost.Context fiber on a stack with a guard
// page, and draws on the target, which is metered while land() runs (see
// DrawingSurface): at the first operation beyond what land() lets through,
// the fiber is suspended, wherever the action is, until the next land().
// Nothing runs concurrently, so nothing needs a lock, and the operations
// reach the target one by one, exactly as the action made them. Between
// two land()s, anything else may draw on the target.
//
// An action that throws RuntimeError has landed what it drew before; it is
// then finished, and the failure is kept. Destroying a suspended action
// unwinds the fiber's stack, as an exception would, before it is freed; the
// target must still be there.
class LoopRecorder;

class SteppedAction final : private DrawingSurface::Meter
{
public:
    // The clock reading after which no more operations are let through.
    struct Deadline
    {
        const Clock *clock;
        std::chrono::nanoseconds at;
    };

    // Operations let through between two looks at a deadline's clock.
    static constexpr long long kBatch = 1024;

    // Starts the fiber; nothing lands before the first land(). The last
    // point to land before the action waits is noted in `points`, if given.
    SteppedAction(Action action, DrawingSurface &target, LoopRecorder *points = nullptr);
    ~SteppedAction();

    SteppedAction(const SteppedAction &) = delete;
    SteppedAction &operator=(const SteppedAction &) = delete;

    // Lets up to `operations` more through, none once the clock reads the
    // deadline, and returns when they have landed, the time is up, or the
    // action has finished: how many landed. The upper vector state is
    // cleared before the action goes on.
    long long land(long long operations, std::optional<Deadline> deadline = std::nullopt);

    bool finished() const { return m_finished; }
    const std::optional<QString> &failure() const { return m_failure; }

    // Operations that have landed on the target so far.
    long long landed() const { return m_landed + m_batch - m_left; }

private:
    // At the first operation beyond a batch: opens the next one, once
    // land() lets it through.
    long long more() override;
    void last(bool point, float x, float y) override;
    bool timeUp() const;

    Action m_action;
    DrawingSurface &m_target;
    LoopRecorder *m_points;
    long long m_allowed = 0; // by the last land(), beyond the batch
    std::optional<Deadline> m_deadline;
    long long m_batch = 0;  // operations the open batch let through
    long long m_left = 0;   // of those, yet to land, once the action has finished
    long long m_landed = 0; // before the open batch
    bool m_finished = false;
    std::optional<QString> m_failure;

    boost::context::fiber m_caller; // where land() was called, while the action runs
    boost::context::fiber m_fiber;  // the action, while suspended
};

} // namespace sweepdraw
