#pragma once

#include "CommandQueue.h"
#include "Commands.h"
#include "FramePacing.h"
#include "LoopRecorder.h"
#include "Pace.h"
#include "PictureHistory.h"
#include "Redrawing.h"
#include "RunToStop.h"
#include "Speed.h"
#include "StepGoal.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sweepdraw {

class DrawingSurface;
class PictureChange;
class RunnerEvents;
class PiecewiseDrawing;
class Ticker;

// How far the drawing has come.
struct DrawingProgress
{
    std::optional<Runnable> current; // the command being drawn
    long long landed = 0;          // its operations landed so far
    int queued = 0;                // commands waiting after it
    long long changing = -1;       // operations of a change drawn so far, or -1 with none under way
};

// Runs the window's commands on its picture one after another, in the order
// they were given, at the speed's pace, without ever keeping the window's
// thread from its event loop for longer than a frame.
//
// Its ticker wakes the runner once a frame at the paced speeds. Each
// frame lands the operations due by the clock at that moment, as many as a
// late frame has fallen behind, and goes back to sleep; at the instant
// speed, and while finishing what was queued, a frame lands as many as it
// has time for, and the next follows at once. A command's action draws
// straight on the picture, a piece at a time, and waits between frames
// wherever it is, so that every operation lands once, in order, before the
// next command's first, and the picture ends the same at every speed.
//
// Paused, nothing lands and the runner does not wake, until it goes on at
// its speed from the moment it is continued; step(), stepBack() and runTo()
// move the drawing meanwhile, and finishQueued() and runToEnd() still
// finish.
//
// What step(), stepBack(), runTo() and redrawOn() ask for is owed to the
// picture at once, paused or not, but is landed as a change is: as much as
// a frame has time for, at once, and the rest in the frames that follow,
// before anything else, so that however long a loop turns before its next
// operation, the window's thread goes back to its event loop within a
// frame.
//
// A command whose action fails has landed what it drew before the failure;
// then it tells stoppedByFailure and nothing more runs, unless the runner
// forgives the command (setForgiving): then it tells passedOver, the
// command is passed over, and the queue goes on. What it tells goes to its
// RunnerEvents.
class CommandRunner
{
public:
    using Clock = sweepdraw::Clock;

    static constexpr std::chrono::milliseconds kFrame = FramePacing::kFrame;

    // Tells `events`, if given, what happens, and has `ticker`, if given,
    // wake it for its frames; both must outlive it. Without a ticker, whoever
    // drives it calls advance(), or finishes with runToEnd().
    explicit CommandRunner(DrawingSurface &picture, RunnerEvents *events = nullptr, Ticker *ticker = nullptr);
    ~CommandRunner();

    CommandRunner(const CommandRunner &) = delete;
    CommandRunner &operator=(const CommandRunner &) = delete;

    // The clock the pace follows; the steady clock unless set.
    void setClock(Clock clock);

    // How long one advance() may spend drawing: see FramePacing.
    using FrameBudget = FramePacing::FrameBudget;
    void setFrameBudget(FrameBudget budget) { m_frames.setFrameBudget(budget); }

    Speed speed() const { return m_frames.speed(); }
    void setSpeed(Speed speed);

    void setPaused(bool paused);
    bool isPaused() const { return m_frames.isPaused(); }

    // Queues a drawing command: any but "退出".
    void enqueue(const Runnable &command);

    // Lands everything queued so far as fast as the machine goes, frame by
    // frame, paused or not; the commands queued afterwards go at the pace
    // again.
    void finishQueued();

    // One frame: lands the operations due. The ticker calls it; a test with
    // its own clock may call it too.
    void advance();

    // Lands exactly one operation, if any is queued.
    void step();

    // Takes the last operation to land off the picture, which then shows
    // exactly what it showed before that operation landed, and the loops
    // are where they were then. Before the first operation of a command,
    // the last command finished is under way again, one operation short of
    // its end; nothing drawn before a routine was changed as it stood, or
    // before a drawing was dropped part way, is taken off.
    void stepBack();

    // Lands at once every operation up to `stop`.
    void runTo(const RunToStop &stop);

    // Lands everything queued without returning to the event loop.
    void runToEnd();

    // Drops the drawing under way and every queued command, for good.
    void stop();

    // Drops the drawing under way and every queued command; what has landed
    // stays, and commands are taken again.
    void dropAll();

    // The commands whose failure is their own, and ends nothing.
    void setForgiving(std::function<bool(const Runnable &)> forgives);

    // A change: draws on `picture`, an empty surface, the pictures with
    // `command` in place of those `replaces` is true of (see
    // PictureHistory::replace), as fast as the machine goes, a piece a
    // frame, once what was queued before it has been finished at once
    // (finishQueued). Commands queued meanwhile wait for it. The picture in
    // view stays as it was until then: once the change is whole, the runner
    // draws on `picture`, and tells changeWhole. A change waiting or
    // under way is dropped first; so it is by dropChange(), finishQueued(),
    // dropAll(), step(), stepBack() and runTo(); then, or when it fails,
    // it tells changeGone, and `picture` is to be thrown away.
    void showChange(const Runnable &command, std::function<bool(const Runnable &)> replaces, DrawingSurface &picture);
    void dropChange();
    bool isChanging() const { return m_change != nullptr; }

    // Whether no command is queued; a change may be under way.
    bool isIdle() const { return m_queue.empty(); }
    // Whether the picture is being drawn again, a piece a frame, after
    // redrawOn() or stepBack().
    bool isRedrawing() const { return m_redraw.isUnderWay(); }

    // What the picture shows: see PictureHistory.
    const std::vector<Runnable> &pictures() const { return m_history.pictures(); }

    DrawingProgress progress() const;
    // The command under way, whole, and those queued after it.
    std::vector<Runnable> queued() const { return m_queue.all(); }

    // Where the current command's action was at its last operation to
    // land: the loops it was in, with their counters, and the point it
    // plotted, if it was one. Recorded while it lands on the picture, never
    // while it is drawn again elsewhere.
    const LoopState &loops() const { return m_loops.noted(); }

    // Draws what the picture shows onto `picture`, an empty surface: the
    // pictures, then what has landed of the command under way. Draws on it
    // from then on.
    void redrawOn(DrawingSurface &picture);

private:
    // The pace the queue is drawn at now, afresh.
    void repace();
    // Has the ticker wake the runner as it needs now.
    void scheduleFrames();
    // Lands up to `operations` of the queued commands, in order, none once
    // the deadline has passed.
    long long land(long long operations, std::optional<std::chrono::nanoseconds> deadline);
    // The first command waiting, made the current one.
    Runnable startNext();
    // The command's action, on the picture, before its first operation.
    void startAction(const Runnable &command);
    // Draws the pictures again on the picture, an empty one, and the command
    // under way, if any, as far as its first `landed` operations.
    void redrawTo(long long landed);
    // The current command's action has finished, or failed: whether the
    // drawing goes on.
    bool endAction();
    void finishCurrent();
    // The current command, done with, before it is told of.
    Runnable dropCurrent();
    // Passes over the current command if it is forgiven its failure: whether
    // it was.
    bool passOver();
    // Tells what a landing did: the picture changed, a command failed, or
    // everything is done.
    void report(bool landed);
    void fail(const RuntimeError &failure);
    // Lands a piece of the change; the queue must be empty.
    void landChange();
    // Lands what is owed at once, none once the deadline has passed: the
    // redraw, then the goal. Whether anything landed.
    bool landOwed(std::optional<std::chrono::nanoseconds> deadline);
    bool landGoal(std::optional<std::chrono::nanoseconds> deadline);
    // Lands a frame's time of what is owed, and tells what it did.
    void catchUp();
    // Operations of the command under way landed, or to be landed again.
    long long landedNow() const;
    // When this frame's drawing is to stop: at once's budget while what it
    // draws is owed at once (a redraw, a goal, or a change being landed),
    // otherwise as the pace has it. Every frame asks here, and nowhere else.
    std::chrono::nanoseconds frameDeadline() const;

    DrawingSurface *m_picture;
    Clock m_clock;
    FramePacing m_frames;
    CommandQueue m_queue;
    PictureHistory m_history;
    LoopRecorder m_loops; // outlives the action, whose loops it records
    std::unique_ptr<PiecewiseDrawing> m_action; // the current command's
    std::unique_ptr<PictureChange> m_change;
    Redrawing m_redraw;
    std::optional<StepGoal> m_goal;
    std::optional<RuntimeError> m_failure;    // why the current command failed
    std::function<bool(const Runnable &)> m_forgives;
    RunnerEvents *m_events;
    bool m_stopped = false;
};

} // namespace sweepdraw
