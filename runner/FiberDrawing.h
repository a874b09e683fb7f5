#pragma once

#include "DrawingSurface.h"
#include "LoopWatch.h"
#include "PiecewiseDrawing.h"

#include <boost/context/fiber.hpp>

#include <exception>
#include <optional>
#include <string>

namespace sweepdraw {

// An action drawn a piece at a time on a fiber of its own, a Boost.Context
// fiber on a stack with a guard page, wherever the action is: the
// desktop's way to draw a compiled scene. The action draws on the target,
// which is metered while land() runs (see DrawingSurface): at the first
// operation beyond what land() lets through, or at a look once the
// deadline has passed, the fiber is suspended until the next land().
// Destroying a suspended drawing unwinds the fiber's stack, as an
// exception would, before it is freed. See PiecewiseDrawing.
class FiberDrawing final : public PiecewiseDrawing, private DrawingSurface::Meter, private LoopWatch
{
public:
    // Starts the fiber; nothing lands before the first land().
    FiberDrawing(Action action, DrawingSurface &target, LoopRecorder *points = nullptr);
    ~FiberDrawing() override;

    long long land(long long operations, std::optional<Deadline> deadline = std::nullopt) override;
    long long landUntil(long long operations, const Stop &stop,
                        std::optional<Deadline> deadline = std::nullopt) override;

    bool finished() const override { return m_finished; }
    const std::optional<RuntimeError> &failure() const override { return m_failure; }
    long long landed() const override { return m_landed + m_batch - m_left; }

private:
    // At the first operation beyond a batch: opens the next one, once
    // land() lets it through.
    long long more() override;
    void last(bool point, float x, float y) override;
    // Every few thousand turns of the action's loops: waits there once the
    // deadline has passed.
    void look() override;
    bool timeUp() const { return m_deadline && m_deadline->passed(); }

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
    std::optional<RuntimeError> m_failure;
    std::exception_ptr m_escaped; // thrown by the action, not its failure

    boost::context::fiber m_caller; // where land() was called, while the action runs
    boost::context::fiber m_fiber;  // the action, while suspended
};

} // namespace sweepdraw
