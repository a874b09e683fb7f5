#pragma once

#include "DrawingSurface.h"
#include "LoopWatch.h"
#include "Pace.h"

#include <boost/context/fiber.hpp>

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace sweepdraw {

// What a drawing command does: draws on a surface, and throws RuntimeError
// when it cannot go on.
using Action = std::function<void(DrawingSurface &)>;

// Runs `action` on `surface` in one go, with the upper vector state cleared
// first: why it failed, if it did.
std::optional<std::string> runAtOnce(const Action &action, DrawingSurface &surface);

// Runs a drawing action a piece at a time, on the calling thread. The action
// runs in a fiber of its own, a Boost.Context fiber on a stack with a guard
// page, and draws on the target, which is metered while land() runs (see
// DrawingSurface): at the first operation beyond what land() lets through,
// the fiber is suspended, wherever the action is, until the next land().
// Nothing runs concurrently, so nothing needs a lock, and the operations
// reach the target one by one, exactly as the action made them. Between
// two land()s, anything else may draw on the target.
//
// A deadline holds however little the action draws: while land() runs, the
// action's loops are watched (LoopWatch), and once the deadline has passed
// the fiber is suspended at the next look, between two operations, as it
// is at the first operation beyond what was let through.
//
// An action that throws RuntimeError has landed what it drew before; it is
// then finished, and the failure is kept. Any other exception, such as a
// loop watch's that ends the program, finishes it too, and land() throws it
// on from the caller's stack. Destroying a suspended action
// unwinds the fiber's stack, as an exception would, before it is freed; the
// target must still be there.
class LoopRecorder;
class LoopState;

class SteppedAction final : private DrawingSurface::Meter, private LoopWatch
{
public:
    // The clock reading after which no more operations are let through.
    struct Deadline
    {
        const Clock *clock;
        std::chrono::nanoseconds at;

        // `when` on `clock`, if there is one.
        static std::optional<Deadline> on(const Clock &clock, std::optional<std::chrono::nanoseconds> when)
        {
            return when ? std::optional(Deadline{&clock, *when}) : std::nullopt;
        }
    };

    // Operations let through between two looks at a deadline's clock.
    static constexpr long long kBatch = 1024;

    // Whether to stop after the operation about to land, told where the
    // drawing is at it.
    using Stop = std::function<bool(const LoopState &)>;

    // Starts the fiber; nothing lands before the first land(). Where the
    // action is at the last operation to land before it waits, its loops
    // and its point, is noted on `points`, if given, whose loops the action
    // records on (see LoopRecorder).
    SteppedAction(Action action, DrawingSurface &target, LoopRecorder *points = nullptr);
    ~SteppedAction();

    SteppedAction(const SteppedAction &) = delete;
    SteppedAction &operator=(const SteppedAction &) = delete;

    // Lets up to `operations` more through, none once the clock reads the
    // deadline, and returns when they have landed, the time is up, or the
    // action has finished: how many landed. The upper vector state is
    // cleared before the action goes on.
    long long land(long long operations, std::optional<Deadline> deadline = std::nullopt);
    // The same, one operation at a time, stopping after the first for which
    // `stop` is true; the action must have been given its recorder.
    long long landUntil(long long operations, const Stop &stop, std::optional<Deadline> deadline = std::nullopt);

    bool finished() const { return m_finished; }
    const std::optional<std::string> &failure() const { return m_failure; }

    // Operations that have landed on the target so far.
    long long landed() const { return m_landed + m_batch - m_left; }

private:
    // At the first operation beyond a batch: opens the next one, once
    // land() lets it through.
    long long more() override;
    void last(bool point, float x, float y) override;
    // Every few thousand turns of the action's loops: waits there once the
    // deadline has passed.
    void look() override;
    bool timeUp() const;

    Action m_action;
    DrawingSurface &m_target;
    LoopRecorder *m_points;
    long long m_allowed = 0; // by the last land(), beyond the batch
    std::optional<Deadline> m_deadline;
    const Stop *m_stop = nullptr;
    long long m_batch = 0;  // operations the open batch let through
    long long m_left = 0;   // of those, yet to land, once the action has finished
    long long m_landed = 0; // before the open batch
    bool m_finished = false;
    std::optional<std::string> m_failure;
    std::exception_ptr m_escaped; // thrown by the action, not its failure

    boost::context::fiber m_caller; // where land() was called, while the action runs
    boost::context::fiber m_fiber;  // the action, while suspended
};

} // namespace sweepdraw
