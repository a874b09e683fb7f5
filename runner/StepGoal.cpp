#include "StepGoal.h"

#include "CallSearch.h"
#include "Pace.h"

namespace sweepdraw {

StepGoal::StepGoal(long long operations, bool acrossCommands, const RunToStop &stop)
    : m_operations(operations)
    , m_acrossCommands(acrossCommands)
    , m_stop(stop)
{
}

StepGoal::StepGoal(StepGoal &&) noexcept = default;
StepGoal &StepGoal::operator=(StepGoal &&) noexcept = default;
StepGoal::~StepGoal() = default;

StepGoal StepGoal::oneOperation()
{
    return {1, true, {}};
}

StepGoal StepGoal::at(const RunToStop &stop)
{
    return {Pace::kUnlimited, false, stop};
}

bool StepGoal::counted(long long landed)
{
    m_operations -= landed;
    return m_operations <= 0;
}

std::optional<StepGoal::Landing> StepGoal::landIn(const Runnable &command, PiecewiseDrawing &action,
                                                  LoopRecorder &loops,
                                                  const std::optional<PiecewiseDrawing::Deadline> &deadline)
{
    if (!m_then) {
        m_then = loops.noted();
        if (m_stop.loopLine <= 0 && m_stop.callOutsideLoops >= 0)
            m_search = std::make_unique<CallSearch>(command, m_stop.callOutsideLoops);
    }
    if (m_search) {
        if (!m_search->land(deadline))
            return std::nullopt;
        // The call's operation, if it is still to come.
        const long long at = m_search->found();
        if (at > action.landed())
            m_operations = at - action.landed();
        m_search.reset();
    }
    const LoopRecorder::Activation recording(&loops);
    if (m_stop.loopLine > 0) {
        const LoopState &then = *m_then;
        const RunToStop &stop = m_stop;
        Landing landing;
        landing.operations = action.landUntil(
            Pace::kUnlimited,
            [&then, &stop, &landing](const LoopState &now) { return landing.reached = stop.movedOn(now, then); },
            deadline);
        return landing;
    }
    const long long landed = action.land(m_operations, deadline);
    return Landing{landed, counted(landed)};
}

} // namespace sweepdraw
