#include "Recording.h"

#include "AnimationFile.h"
#include "CommandRunner.h"
#include "RuntimeErrorLine.h"


namespace sweepdraw {

Recording::Recording(DrawingSurface &picture, Render render, QList<Runnable> commands, Speed speed)
    : m_runner(std::make_unique<CommandRunner>(picture, static_cast<RunnerEvents *>(this)))
    , m_render(std::move(render))
    , m_commands(std::move(commands))
    , m_speed(speed)
    , m_now(std::make_shared<std::chrono::nanoseconds>(0))
{
    m_runner->setSpeed(speed);
    m_runner->setClock([now = m_now] { return *now; });
    if (m_speed != Speed::Instant)
        for (const Runnable &command : m_commands)
            run(command);
}

Recording::~Recording() = default;

void Recording::stoppedByFailure(const RuntimeError &failure)
{
    writeRuntimeError(failure, true);
    m_cut = true;
    m_runner->stop();
}

void Recording::run(const Runnable &command)
{
    if (m_cut)
        return;
    if (!command.hasAction()) {
        m_cut = true;
        m_runner->stop();
        return;
    }
    m_runner->enqueue(command);
}

bool Recording::atEnd() const
{
    if (m_frames == 0)
        return false;
    if (m_cut)
        return true;
    return m_speed == Speed::Instant ? m_run == m_commands.size() : m_runner->isIdle();
}

Recording::Frame Recording::next()
{
    if (m_frames > 0 && m_speed == Speed::Instant) {
        run(m_commands[m_run++]);
        m_runner->runToEnd();
    } else if (m_frames > 0) {
        *m_now += kFrameTime;
        m_runner->advance();
    }
    ++m_frames;
    return {m_render(), atEnd() ? kHold : kFrameTime};
}

int Recording::expectedFrames() const
{
    if (m_speed == Speed::Instant)
        return static_cast<int>(m_commands.size()) + 1;
    long long operations = 0;
    for (const Runnable &command : m_commands) {
        // A routine never drawn whole has not been counted.
        if (command.operations() < 0)
            return 0;
        operations += command.operations();
    }
    const long long perFrame = operationsPerSecond(m_speed) * kFrameTime.count() / 1000;
    return static_cast<int>((operations + perFrame - 1) / perFrame) + 1;
}

std::optional<QString> recordAnimation(DrawingSurface &picture, const Recording::Render &render,
                                       const QList<Runnable> &commands, Speed speed, const QString &path,
                                       bool (*stop)())
{
    AnimationFile file(path);
    if (!file.open())
        return file.errorString();
    Recording recording(picture, render, commands, speed);
    while (!recording.atEnd()) {
        if (stop && stop())
            return QString();
        const Recording::Frame frame = recording.next();
        if (!file.add(frame.image, frame.duration))
            return file.errorString();
    }
    if (recording.isCut())
        return QCoreApplication::translate("Recording", "a drawing command failed");
    if (!file.finish())
        return file.errorString();
    return std::nullopt;
}

} // namespace sweepdraw
