#include "Recording.h"

#include "AnimationFile.h"
#include "Form1.h"
#include "WindowImage.h"

namespace sweepdraw {

Recording::Recording(Form1 &form, QList<Runnable> commands, Speed speed)
    : m_form(form)
    , m_commands(std::move(commands))
    , m_speed(speed)
    , m_now(std::make_shared<std::chrono::nanoseconds>(0))
{
    m_form.setSpeed(speed);
    m_form.setClock([now = m_now] { return *now; });
    if (m_speed != Speed::Instant)
        for (const Runnable &command : m_commands)
            m_form.RunCommand(command);
}

bool Recording::atEnd() const
{
    if (m_frames == 0)
        return false;
    if (m_form.isEnding())
        return true;
    return m_speed == Speed::Instant ? m_run == m_commands.size() : !m_form.isDrawing();
}

Recording::Frame Recording::next()
{
    if (m_frames > 0 && m_speed == Speed::Instant) {
        m_form.RunCommand(m_commands[m_run++]);
        m_form.finishDrawing();
    } else if (m_frames > 0) {
        *m_now += kFrameTime;
        m_form.advanceDrawing();
    }
    ++m_frames;
    return {renderWindow(m_form), atEnd() ? kHold : kFrameTime};
}

int Recording::expectedFrames() const
{
    if (m_speed == Speed::Instant)
        return static_cast<int>(m_commands.size()) + 1;
    long long operations = 0;
    for (const Runnable &command : m_commands)
        operations += command.tally().operations;
    const long long perFrame = operationsPerSecond(m_speed) * kFrameTime.count() / 1000;
    return static_cast<int>((operations + perFrame - 1) / perFrame) + 1;
}

std::optional<QString> recordAnimation(Form1 &form, const QList<Runnable> &commands, Speed speed,
                                       const QString &path, bool (*stop)())
{
    AnimationFile file(path);
    if (!file.open())
        return file.errorString();
    Recording recording(form, commands, speed);
    while (!recording.atEnd()) {
        if (stop && stop())
            return QString();
        const Recording::Frame frame = recording.next();
        if (!file.add(frame.image, frame.duration))
            return file.errorString();
    }
    if (form.isEnding())
        return QStringLiteral("a drawing command failed");
    if (!file.finish())
        return file.errorString();
    return std::nullopt;
}

} // namespace sweepdraw
