#include "CommandRunner.h"

#include "CallSearch.h"
#include "DrawingSurface.h"
#include "PictureChange.h"

// What the runner owes the picture at once, whatever the pace: the picture
// drawn again, and the stops of step() and runTo(), each landed a frame's
// time at a time.

namespace sweepdraw {

void CommandRunner::redrawTo(long long landed)
{
    const bool underWay = m_action || (m_redraw && m_redraw->landed >= 0);
    m_action.reset();
    m_redraw = Redraw{std::make_unique<PictureChange>(m_history, *m_picture), underWay ? landed : -1};
}

long long CommandRunner::landedNow() const
{
    if (m_redraw && m_redraw->landed >= 0)
        return m_redraw->landed;
    return m_action ? m_action->landed() : 0;
}

void CommandRunner::catchUp()
{
    report(landOwed(m_clock() + m_budget.atOnce));
}

bool CommandRunner::landOwed(std::optional<std::chrono::nanoseconds> deadline)
{
    if (!m_redraw)
        return landGoal(deadline);
    if (m_redraw->pictures) {
        if (!m_redraw->pictures->land(PiecewiseDrawing::Deadline::on(m_clock, deadline)))
            return true;
        const std::optional<RuntimeError> failure = m_redraw->pictures->failure();
        m_redraw->pictures.reset();
        if (failure) {
            fail(*failure);
            return true;
        }
        if (m_redraw->landed >= 0)
            startAction(*m_queue.current());
    }
    if (m_redraw->landed >= 0) {
        const LoopRecorder::Activation recording(&m_loops);
        m_action->land(m_redraw->landed - m_action->landed(), PiecewiseDrawing::Deadline::on(m_clock, deadline));
        if (const std::optional<RuntimeError> failure = m_action->failure()) {
            fail(*failure);
            return true;
        }
        if (m_action->landed() < m_redraw->landed && !m_action->finished())
            return true;
    }
    m_redraw.reset();
    landGoal(deadline);
    return true;
}

bool CommandRunner::landGoal(std::optional<std::chrono::nanoseconds> deadline)
{
    if (!m_goal || m_stopped)
        return false;
    if (isIdle()) {
        m_goal.reset();
        return false;
    }
    long long landed = 0;
    if (m_goal->acrossCommands) {
        landed = land(m_goal->operations, deadline);
        m_goal->operations -= landed;
        if (m_goal->operations <= 0 || isIdle() || m_failure)
            m_goal.reset();
        return landed > 0;
    }
    if (!m_action)
        startAction(startNext());
    const RunToStop &stop = m_goal->stop;
    if (!m_goal->then) {
        m_goal->then = m_loops.noted();
        if (stop.loopLine <= 0 && stop.callOutsideLoops >= 0)
            m_goal->search = std::make_shared<CallSearch>(*m_queue.current(), stop.callOutsideLoops);
    }
    if (m_goal->search) {
        if (!m_goal->search->land(PiecewiseDrawing::Deadline::on(m_clock, deadline)))
            return false;
        // The call's operation, if it is still to come.
        const long long at = m_goal->search->found();
        if (at > m_action->landed())
            m_goal->operations = at - m_action->landed();
        m_goal->search.reset();
    }
    bool reached = false;
    {
        const LoopRecorder::Activation recording(&m_loops);
        if (stop.loopLine > 0) {
            const LoopState &then = *m_goal->then;
            landed = m_action->landUntil(
                Pace::kUnlimited,
                [&then, &stop, &reached](const LoopState &now) { return reached = stop.movedOn(now, then); },
                PiecewiseDrawing::Deadline::on(m_clock, deadline));
        } else {
            landed = m_action->land(m_goal->operations, PiecewiseDrawing::Deadline::on(m_clock, deadline));
            m_goal->operations -= landed;
            reached = m_goal->operations <= 0;
        }
    }
    m_frames.pace().count(landed);
    if (m_action->finished()) {
        endAction();
        reached = true;
    }
    if (reached)
        m_goal.reset();
    return landed > 0;
}

} // namespace sweepdraw
