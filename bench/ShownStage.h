#pragma once

#include "RunnerDriver.h"
#include "Stage.h"
#include "SurfaceView.h"

#include <QCoreApplication>

namespace sweepdraw {

// A stage shown off the screen at zoom 1, its picture drawn by a runner of
// its own and repainted after each frame, as the main window draws and
// repaints it: what the bench times of the window's drawing.
class ShownStage
{
public:
    explicit ShownStage(Speed speed)
        : m_runner(m_stage.picture())
    {
        m_runner.setSpeed(speed);
        QObject::connect(&m_runner, &RunnerDriver::drawn, &m_stage, [this] { m_stage.view().showChanges(); });
        m_stage.show();
        QCoreApplication::processEvents();
    }

    Stage &stage() { return m_stage; }
    RunnerDriver &runner() { return m_runner; }

private:
    Stage m_stage{1.0};
    RunnerDriver m_runner;
};

// Runs the window's event loop until everything queued is drawn.
inline void drawQueued(const RunnerDriver &runner)
{
    while (!runner.isIdle())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace sweepdraw
