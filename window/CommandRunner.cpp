#include "CommandRunner.h"

#include "RuntimeError.h"

#include <algorithm>
#include <climits>

namespace sweepdraw {

namespace {

// Operations landed between two looks at the clock.
constexpr long long kChunk = 4096;

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

} // namespace

CommandRunner::CommandRunner(DrawingSurface &picture, QObject *parent)
    : QObject(parent)
    , m_picture(&picture)
    , m_clock(steadyNow)
{
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, &CommandRunner::advance);
}

void CommandRunner::setClock(Clock clock)
{
    m_clock = std::move(clock);
    restartPace();
}

void CommandRunner::setSpeed(Speed speed)
{
    m_speed = speed;
    restartPace();
    scheduleFrames();
}

void CommandRunner::enqueue(Button button)
{
    if (m_stopped || !commandOf(button).action)
        return;
    if (isIdle())
        restartPace();
    m_queue.push_back(button);
    scheduleFrames();
}

void CommandRunner::finishQueued()
{
    if (m_stopped)
        return;
    m_finishing = static_cast<int>(m_queue.size()) + (m_current ? 1 : 0);
    scheduleFrames();
}

void CommandRunner::advance()
{
    work(true);
}

void CommandRunner::runToEnd()
{
    work(false);
}

void CommandRunner::stop()
{
    m_stopped = true;
    m_queue.clear();
    m_current.reset();
    m_log.clear();
    m_finishing = 0;
    m_frames.stop();
}

void CommandRunner::restartPace()
{
    m_paceStart = m_clock();
    m_landedSincePaceStart = 0;
}

void CommandRunner::scheduleFrames()
{
    if (m_stopped || isIdle()) {
        m_frames.stop();
        return;
    }
    const int interval = paced() ? static_cast<int>(kFrame.count()) : 0;
    if (!m_frames.isActive() || m_frames.interval() != interval)
        m_frames.start(interval);
}

long long CommandRunner::allowance() const
{
    if (!paced())
        return LLONG_MAX;
    // In whole numbers, so that a time that is a whole number of operations
    // is not a hair short of it.
    constexpr long long kNanosecondsPerSecond = 1'000'000'000;
    const long long elapsed = std::max<long long>((m_clock() - m_paceStart).count(), 0);
    const long long rate = operationsPerSecond(m_speed);
    const long long due = elapsed / kNanosecondsPerSecond * rate
                          + elapsed % kNanosecondsPerSecond * rate / kNanosecondsPerSecond;
    return due - m_landedSincePaceStart;
}

void CommandRunner::work(bool bounded)
{
    if (m_stopped || isIdle()) {
        m_frames.stop();
        return;
    }
    const std::chrono::nanoseconds frameStart = m_clock();
    const auto elapsed = [&] { return m_clock() - frameStart; };
    bool landed = false;
    std::optional<QString> failure;
    while (!isIdle()) {
        if (!m_current) {
            // A command's whole action runs when it begins, the one step that
            // cannot be split; late in a frame it waits for the next one.
            if (bounded && elapsed() > kFrame / 4)
                break;
            begin();
        }
        const long long due = bounded ? std::min(allowance(), kChunk) : LLONG_MAX;
        const std::size_t before = m_next;
        if (due > 0) {
            const std::size_t count = std::min(static_cast<std::size_t>(due), m_log.size() - m_next);
            const Status status = m_log.replay(*m_picture, m_next, m_next + count);
            if (!status.ok())
                failure = QString::fromStdString(status.message());
        }
        landed |= m_next != before;
        m_landedSincePaceStart += static_cast<long long>(m_next - before);
        if (!failure && m_next == m_log.size()) {
            failure = m_failure;
            if (!failure)
                finishCommand();
        }
        if (failure || due <= 0 || (bounded && elapsed() >= kFrame))
            break;
    }
    if (landed)
        emit drawn();
    if (failure) {
        fail(*failure);
        return;
    }
    scheduleFrames();
    if (isIdle())
        emit idle();
}

void CommandRunner::begin()
{
    m_current = m_queue.front();
    m_queue.pop_front();
    m_log.clear();
    m_next = 0;
    m_failure.reset();
    try {
        commandOf(*m_current).action(m_log);
    } catch (const RuntimeError &error) {
        m_failure = QString::fromUtf8(error.what());
    }
}

void CommandRunner::finishCommand()
{
    const Button done = *m_current;
    m_current.reset();
    if (commandOf(done).clears()) {
        m_pictures.clear();
    } else {
        m_pictures.removeOne(done);
        m_pictures.append(done);
    }
    if (m_finishing > 0 && --m_finishing == 0)
        restartPace();
    emit commandFinished(done);
}

void CommandRunner::redrawOn(DrawingSurface &picture)
{
    m_picture = &picture;
    try {
        for (Button button : m_pictures)
            commandOf(button).action(picture);
    } catch (const RuntimeError &error) {
        fail(QString::fromUtf8(error.what()));
        return;
    }
    if (!m_current)
        return;
    std::size_t next = 0;
    const Status status = m_log.replay(picture, next, m_next);
    if (!status.ok())
        fail(QString::fromStdString(status.message()));
}

void CommandRunner::fail(const QString &message)
{
    stop();
    emit failed(message);
}

} // namespace sweepdraw
