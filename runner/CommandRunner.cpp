#include "CommandRunner.h"

#include "DrawingSurface.h"
#include "PictureChange.h"
#include "RunnerEvents.h"
#include "DrawInPieces.h"

#include <cassert>
#include <utility>

namespace sweepdraw {

namespace {

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

// Tells nothing, for a runner given no events.
RunnerEvents &quiet()
{
    static struct Quiet final : RunnerEvents
    {
    } none;
    return none;
}

} // namespace

CommandRunner::CommandRunner(DrawingSurface &picture, RunnerEvents *events, Ticker *ticker)
    : m_picture(&picture)
    , m_clock(steadyNow)
    , m_frames(m_clock, ticker)
    , m_events(events ? events : &quiet())
{
    repace();
}

CommandRunner::~CommandRunner()
{
    // The action unwinds while its picture is still there; the ticker is
    // left alone, as whoever drives the runner may be going too.
    m_action.reset();
    m_change.reset();
}

void CommandRunner::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_frames.pace().restart();
}

void CommandRunner::setSpeed(Speed speed)
{
    m_frames.setSpeed(speed);
    repace();
    scheduleFrames();
}

void CommandRunner::setPaused(bool paused)
{
    if (paused == isPaused())
        return;
    m_frames.setPaused(paused);
    repace();
    scheduleFrames();
}

void CommandRunner::enqueue(const Runnable &command)
{
    assert(command.hasAction());
    if (m_stopped)
        return;
    if (isIdle())
        m_frames.pace().restart();
    m_queue.push(command);
    scheduleFrames();
}

void CommandRunner::finishQueued()
{
    if (m_stopped)
        return;
    dropChange();
    m_goal.reset();
    m_queue.finishAllAtOnce();
    repace();
    scheduleFrames();
}

void CommandRunner::advance()
{
    // What is owed at once goes first.
    if (!m_stopped && (m_redraw.isUnderWay() || m_goal)) {
        catchUp();
        return;
    }
    // A change begun goes next; one waiting, once the queue is empty.
    if (!m_stopped && m_change && (m_change->begun() || isIdle())) {
        landChange();
        return;
    }
    if (m_stopped || isIdle()) {
        m_frames.sleep();
        return;
    }
    // What is due now, and no more: the time the landing itself takes is
    // the next frame's.
    const long long due = m_frames.pace().due();
    report(due > 0 && land(due, frameDeadline()) > 0);
}

void CommandRunner::step()
{
    dropChange();
    if (m_stopped || isIdle())
        return;
    m_goal = StepGoal::oneOperation();
    catchUp();
}

void CommandRunner::stepBack()
{
    dropChange();
    if (m_stopped)
        return;
    m_goal.reset();
    long long landed = landedNow();
    if (landed == 0) {
        // Before the first operation of the command under way, or of the
        // next: the last command finished is under way again, all landed.
        const std::optional<Runnable> last = m_history.lastFinished();
        if (!last)
            return;
        m_redraw.drop();
        m_action.reset();
        m_history.reopenLast();
        m_queue.reopen(*last);
        startAction(*last);
        landed = last->operations();
    }
    // The drawing is exact, so the picture as it was one operation ago is
    // the same drawing again, one operation short.
    if (const Status cleared = m_picture->ClearSurface(); !cleared.ok()) {
        fail(RuntimeError(cleared.fault()));
        return;
    }
    redrawTo(landed - 1);
    catchUp();
}

void CommandRunner::runTo(const RunToStop &stop)
{
    dropChange();
    if (m_stopped || isIdle())
        return;
    m_goal = StepGoal::at(stop);
    catchUp();
}

void CommandRunner::runToEnd()
{
    if (m_stopped)
        return;
    bool landed = landOwed(std::nullopt);
    if (m_stopped || isIdle()) {
        if (landed)
            report(true);
        return;
    }
    // The command under way goes on from where it is; those not begun yet
    // draw directly, with no fiber.
    if (m_action) {
        const LoopRecorder::Activation recording(&m_loops);
        landed = m_action->land(Pace::kUnlimited) > 0;
        endAction();
    }
    while (!m_failure && m_queue.hasWaiting()) {
        m_failure = runAtOnce(actionOf(startNext()), *m_picture);
        landed = true;
        if (!m_failure)
            finishCurrent();
        else
            passOver();
    }
    report(landed);
}

void CommandRunner::stop()
{
    m_stopped = true;
    m_queue.clear();
    m_action.reset();
    m_change.reset();
    m_redraw.drop();
    m_goal.reset();
    m_loops.forgetPoint();
    m_loops.note();
    m_frames.sleep();
}

void CommandRunner::dropAll()
{
    dropChange();
    m_goal.reset();
    if (m_stopped || isIdle())
        return;
    // What has landed of the command under way stays on the picture, and so
    // in its history, to be drawn again with the rest.
    const long long landed = landedNow();
    if ((m_action || m_redraw.isUnderWay()) && landed > 0)
        m_history.finished(m_queue.current()->partOf(landed));
    const bool redrawing = m_redraw.isUnderWay();
    m_queue.clear();
    m_action.reset();
    m_redraw.drop();
    m_failure.reset();
    repace();
    // A redraw under way goes on with the pictures as they stand now.
    if (redrawing) {
        if (const Status cleared = m_picture->ClearSurface(); !cleared.ok()) {
            fail(RuntimeError(cleared.fault()));
            return;
        }
        redrawTo(0);
    }
    report(false);
}

void CommandRunner::setForgiving(std::function<bool(const Runnable &)> forgives)
{
    m_forgives = std::move(forgives);
}

void CommandRunner::showChange(const Runnable &command, std::function<bool(const Runnable &)> replaces,
                               DrawingSurface &picture)
{
    if (m_stopped)
        return;
    dropChange();
    m_change = std::make_unique<PictureChange>(command, std::move(replaces), picture);
    if (!isIdle()) {
        m_queue.finishAllAtOnce();
        repace();
    }
    scheduleFrames();
}

void CommandRunner::dropChange()
{
    if (!m_change)
        return;
    m_change.reset();
    m_events->changeGone(std::nullopt);
    scheduleFrames();
}

void CommandRunner::landChange()
{
    // On the pictures as they stand once the queue is done.
    if (!m_change->begun())
        m_change->begin(m_history, m_picture->penWidth());
    if (!m_change->land(PiecewiseDrawing::Deadline{&m_clock, frameDeadline()})) {
        m_events->changeGrew();
        return;
    }
    const std::unique_ptr<PictureChange> done = std::move(m_change);
    if (const std::optional<RuntimeError> &failure = done->failure()) {
        m_events->changeGone(*failure);
        scheduleFrames();
        return;
    }
    m_history = done->shown();
    m_picture = &done->picture();
    m_events->changeWhole(done->command());
    report(true);
}

DrawingProgress CommandRunner::progress() const
{
    long long changing = -1;
    if (m_change)
        changing = m_change->landed();
    return {m_queue.current(), landedNow(), m_queue.waiting(), changing};
}

void CommandRunner::redrawOn(DrawingSurface &picture)
{
    // An action draws on its target itself, so the command under way cannot
    // move to the new picture: it begins again there, and lands what it had
    // landed, which leaves it where it was.
    const long long landed = landedNow();
    m_picture = &picture;
    redrawTo(landed);
    landOwed(frameDeadline());
    scheduleFrames();
}

void CommandRunner::repace()
{
    m_frames.repace(m_queue.finishingAtOnce());
}

void CommandRunner::scheduleFrames()
{
    const bool owed = m_change || m_redraw.isUnderWay() || m_goal;
    m_frames.schedule(!m_stopped && !isIdle(), !m_stopped && owed);
}

long long CommandRunner::land(long long operations, std::optional<std::chrono::nanoseconds> deadline)
{
    const std::optional<PiecewiseDrawing::Deadline> until = PiecewiseDrawing::Deadline::on(m_clock, deadline);
    long long total = 0;
    while (total < operations && !isIdle()) {
        if (!m_action)
            startAction(startNext());
        const LoopRecorder::Activation recording(&m_loops);
        const long long landed = m_action->land(operations - total, until);
        total += landed;
        m_frames.pace().count(landed);
        // Not finished: all that was let through has landed, or the time
        // is up.
        if (!m_action->finished())
            break;
        if (!endAction())
            break;
    }
    return total;
}

Runnable CommandRunner::startNext()
{
    // A picture drawn again starts on the pen it started on the first
    // time; any other command on the picture's pen as it stands.
    m_queue.next().restorePenOn(*m_picture);
    return m_queue.startNext(m_picture->penWidth());
}

void CommandRunner::startAction(const Runnable &command)
{
    command.restorePenOn(*m_picture);
    m_loops.forgetPoint();
    m_loops.note();
    m_action = drawInPieces(command, *m_picture, &m_loops);
}

bool CommandRunner::endAction()
{
    m_failure = m_action->failure();
    if (!m_failure) {
        finishCurrent();
        return true;
    }
    return passOver();
}

void CommandRunner::finishCurrent()
{
    const Runnable done = dropCurrent();
    m_history.finished(done);
    m_events->finishedCommand(done);
}

Runnable CommandRunner::dropCurrent()
{
    const bool atOnce = m_queue.finishingAtOnce();
    Runnable done = m_queue.finishCurrent();
    m_action.reset();
    if (atOnce && !m_queue.finishingAtOnce())
        repace();
    return done;
}

// What a forgiven command drew stays on the picture, but not among the
// pictures: drawn again, it would fail again.
bool CommandRunner::passOver()
{
    if (!m_failure || !m_forgives || !m_forgives(*m_queue.current()))
        return false;
    const RuntimeError failure = *std::exchange(m_failure, std::nullopt);
    const Runnable failed = dropCurrent();
    m_events->passedOver(failed, failure);
    return true;
}

void CommandRunner::report(bool landed)
{
    if (landed)
        m_events->landed();
    if (m_failure) {
        fail(*m_failure);
        return;
    }
    scheduleFrames();
    if (isIdle())
        m_events->wentIdle();
}

void CommandRunner::fail(const RuntimeError &failure)
{
    stop();
    m_events->stoppedByFailure(failure);
}

// What the runner owes the picture at once, whatever the pace: the picture
// drawn again, and the goal of step() and runTo(), each landed a frame's
// time at a time.

void CommandRunner::redrawTo(long long landed)
{
    const bool underWay = m_action || m_redraw.landed() >= 0;
    m_action.reset();
    m_redraw.begin(m_history, *m_picture, underWay ? landed : -1);
}

long long CommandRunner::landedNow() const
{
    if (m_redraw.landed() >= 0)
        return m_redraw.landed();
    return m_action ? m_action->landed() : 0;
}

std::chrono::nanoseconds CommandRunner::frameDeadline() const
{
    const bool owesAtOnce = m_redraw.isUnderWay() || m_goal || (m_change && (m_change->begun() || isIdle()));
    return m_frames.deadline(owesAtOnce);
}

void CommandRunner::catchUp()
{
    report(landOwed(frameDeadline()));
}

bool CommandRunner::landOwed(std::optional<std::chrono::nanoseconds> deadline)
{
    if (!m_redraw.isUnderWay())
        return landGoal(deadline);
    const std::optional<RuntimeError> failure =
        m_redraw.land(PiecewiseDrawing::Deadline::on(m_clock, deadline), m_action,
                      [this] { startAction(*m_queue.current()); }, m_loops);
    if (failure)
        fail(*failure);
    else if (!m_redraw.isUnderWay())
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
    if (m_goal->acrossCommands()) {
        const long long landed = land(m_goal->left(), deadline);
        if (m_goal->counted(landed) || isIdle() || m_failure)
            m_goal.reset();
        return landed > 0;
    }
    if (!m_action)
        startAction(startNext());
    const std::optional<StepGoal::Landing> landed =
        m_goal->landIn(*m_queue.current(), *m_action, m_loops, PiecewiseDrawing::Deadline::on(m_clock, deadline));
    if (!landed)
        return false;
    m_frames.pace().count(landed->operations);
    const bool finished = m_action->finished();
    if (finished)
        endAction();
    if (finished || landed->reached)
        m_goal.reset();
    return landed->operations > 0;
}

} // namespace sweepdraw
