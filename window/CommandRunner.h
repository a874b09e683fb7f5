#pragma once

#include "Commands.h"
#include "DrawingSurface.h"
#include "LoopRecorder.h"
#include "Speed.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace sweepdraw {

class Fiber;

// How far the drawing is.
struct DrawingProgress
{
    std::optional<Button> current; // the command being drawn, if any
    long long landed = 0;          // operations of the current command landed so far
    int queued = 0;                // commands waiting after it
};

// Runs the window's commands on its picture one after another, in the order
// they were given, at a pace a person can follow, without ever keeping the
// window's thread from its event loop for longer than a frame.
//
// A command's action draws straight on the picture, but a piece at a time:
// it runs in a fiber, on the window's thread, and every operation it makes
// waits for its time by the clock, counting one each. A frame lets through
// every operation whose time has come, so a late frame lands more and the
// drawing takes as long as the speed says however few frames the machine
// manages; at the instant speed, and while finishing what was queued, a
// frame lets through as many as it has time for. The action is suspended
// between frames, wherever it is, and nothing else touches the picture
// meanwhile, so every operation of a command lands, in order, before the
// next command's first, exactly as the action made it, and the picture ends
// the same at every speed.
//
// Unpaced, a command that took less than what is left of the frame the last
// time it ran unpaced draws on the picture directly, in one go, without the
// cost of the pacing on every operation; the first time, it goes through the
// paced surface like the rest, and is timed. With no frame to keep to, as
// in runToEnd(), every command draws directly.
//
// A command whose action fails has landed what it drew before the failure;
// then `failed` is emitted and nothing more runs.
//
// The runner also keeps which pictures are on the picture, so that the
// whole can be drawn again on another surface, at another size.
class CommandRunner final : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::nanoseconds()>;

    // How long a frame lasts at the paced speeds, and the longest one may
    // spend drawing at any speed.
    static constexpr std::chrono::milliseconds kFrame{16};

    explicit CommandRunner(DrawingSurface &picture, QObject *parent = nullptr);
    ~CommandRunner() override;

    // The clock pacing follows; the steady clock unless set.
    void setClock(Clock clock);

    Speed speed() const { return m_speed; }
    void setSpeed(Speed speed);

    // Queues a drawing command: any but "退出".
    void enqueue(Button button);

    // Lands everything queued so far as fast as the machine goes, frame by
    // frame; the commands queued afterwards go at the speed again.
    void finishQueued();

    // One frame: lands the operations whose time has come. The runner's own
    // frame timer calls it; a test with its own clock may call it too.
    void advance();

    // Lands everything queued without returning to the event loop.
    void runToEnd();

    // Drops the drawing under way and every queued command, for good.
    void stop();

    bool isIdle() const { return !m_current && m_queue.empty(); }

    DrawingProgress progress() const;

    // Where the current command's action is: the loops it is in, with their
    // counters, and the last point it plotted. Recorded while its pieces
    // run on the picture, never while it is drawn again elsewhere; between
    // frames it holds where the action waits to make its next operation.
    const LoopRecorder &loops() const { return m_loops; }

    // The drawing commands finished since the last clear, each once, in the
    // order of their last run: what the picture shows. A command drawn again
    // covers everything it drew before, and each starts by setting its pen,
    // so running these on an empty surface gives the picture exactly.
    const QList<Button> &pictures() const { return m_pictures; }

    // Draws what the picture shows onto `picture`, an empty surface: the
    // pictures, then what has landed of the command under way. Draws on it
    // from then on.
    void redrawOn(DrawingSurface &picture);

signals:
    // Operations have landed on the picture since the last frame.
    void drawn();
    void commandFinished(Button button);
    // A command failed; what it drew before the failure has landed.
    void failed(const QString &message);
    // The last queued command has finished.
    void idle();

private:
    class PacedSurface;

    bool paced() const { return m_speed != Speed::Instant && m_finishing == 0; }
    long long allowance() const;
    // Lands operations until the queue is empty; when `bounded`, only those
    // due by the clock, and no longer than a frame.
    void work(bool bounded);
    // Makes the first queued command the current one.
    void takeNext();
    void begin();
    bool runDirectly(std::optional<std::chrono::nanoseconds> deadline);
    void finishCommand();
    void endCurrent();
    void fail(const QString &message);
    void restartPace();
    void scheduleFrames();

    DrawingSurface *m_picture;
    Clock m_clock;
    QTimer m_frames;
    Speed m_speed = kDefaultSpeed;

    std::deque<Button> m_queue;
    QList<Button> m_pictures;
    std::optional<Button> m_current;
    std::unique_ptr<PacedSurface> m_surface; // what the current command draws on
    std::unique_ptr<Fiber> m_fiber;          // the current command's action
    std::optional<QString> m_failure;        // why it stopped, if it did
    LoopRecorder m_loops;                    // where the current command's action is
    int m_finishing = 0;                     // commands left to land at once
    bool m_stopped = false;

    // How long each command took the last time it ran unpaced throughout.
    std::array<std::optional<std::chrono::nanoseconds>, kCommands.size()> m_unpacedTime;
    std::chrono::nanoseconds m_activeTime{0}; // the current command's, so far
    bool m_unpacedThroughout = false;         // whether it has run unpaced only

    // Pacing: operations landed since the clock read `m_paceStart`.
    std::chrono::nanoseconds m_paceStart{0};
    long long m_landedSincePaceStart = 0;
};

} // namespace sweepdraw
