#pragma once

#include "CommandRunner.h"
#include "FaultWords.h"
#include "RunnerEvents.h"
#include "Ticker.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace sweepdraw {

// A CommandRunner driven by Qt's event loop: a precise QTimer wakes it for
// its frames, and what it tells comes out as signals, its failures worded
// in the user's language (FaultWords.h).
class RunnerDriver final : public QObject, private RunnerEvents, private Ticker, public CommandRunner
{
    Q_OBJECT

public:
    explicit RunnerDriver(DrawingSurface &picture, QObject *parent = nullptr);

signals:
    // Operations have landed on the picture since the last frame.
    void drawn();
    void commandFinished(const sweepdraw::Runnable &command);
    // A command failed; what it drew before the failure has landed.
    void failed(const QString &message);
    // A command forgiven its failure failed, and was passed over; what it
    // drew before the failure has landed.
    void commandFailed(const sweepdraw::Runnable &command, const QString &message);
    // The last queued command has finished.
    void idle();
    // The change is whole on its picture, which the runner draws on now.
    void changeShown(const sweepdraw::Runnable &command);
    // The change was dropped, with an empty failure, or failed.
    void changeDropped(const QString &failure);
    // A frame drew more of the change.
    void changeDrawing();

private:
    void landed() override { emit drawn(); }
    void finishedCommand(const Runnable &command) override { emit commandFinished(command); }
    void stoppedByFailure(const RuntimeError &failure) override { emit failed(wordedRuntimeError(failure)); }
    void passedOver(const Runnable &command, const RuntimeError &failure) override
    {
        emit commandFailed(command, wordedRuntimeError(failure));
    }
    void wentIdle() override { emit idle(); }
    void changeWhole(const Runnable &command) override { emit changeShown(command); }
    void changeGone(const std::optional<RuntimeError> &failure) override
    {
        emit changeDropped(failure ? wordedRuntimeError(*failure) : QString());
    }
    void changeGrew() override { emit changeDrawing(); }

    void startTicking(std::chrono::milliseconds interval) override { m_frames.start(interval); }
    void stopTicking() override { m_frames.stop(); }

    QTimer m_frames;
};

} // namespace sweepdraw
