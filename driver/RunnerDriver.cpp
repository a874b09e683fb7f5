#include "RunnerDriver.h"

namespace sweepdraw {

RunnerDriver::RunnerDriver(DrawingSurface &picture, QObject *parent)
    : QObject(parent)
    , CommandRunner(picture, this, this)
{
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, [this] { advance(); });
}

} // namespace sweepdraw
