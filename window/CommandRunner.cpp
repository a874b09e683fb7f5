#include "CommandRunner.h"

#include "Fiber.h"
#include "RuntimeError.h"

#include <algorithm>
#include <climits>

namespace sweepdraw {

namespace {

// Operations between two looks at the clock while a frame's time may run out.
constexpr int kClockInterval = 1024;

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

// Runs a command's action on `surface`: why it failed, if it did.
std::optional<QString> attempt(const Command &command, DrawingSurface &surface)
{
    try {
        command.action(surface);
    } catch (const RuntimeError &error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

} // namespace

// What a command draws on: passes each operation on to the picture once the
// frame lets it through, and suspends the command's fiber until a frame
// does. Once stopped, it refuses every operation, which ends the action.
//
// Most operations only count down what the frame lets through; the rest of
// the bookkeeping, and a look at the clock, come once a batch of
// kClockInterval operations.
class CommandRunner::PacedSurface final : public DrawingSurface
{
public:
    // Notes each point it passes on in `points`, if given.
    PacedSurface(DrawingSurface &target, const Clock &clock, LoopRecorder *points = nullptr)
        : m_target(&target)
        , m_clock(clock)
        , m_points(points)
    {
    }

    // Lets `operations` more through, and no more once the clock reads
    // `deadline`, if there is one. Called while the action is suspended.
    void allow(long long operations, std::optional<std::chrono::nanoseconds> deadline)
    {
        closeBatch();
        m_allowance = operations;
        m_deadline = deadline;
    }

    void retarget(DrawingSurface &target) { m_target = &target; }

    void stop()
    {
        closeBatch();
        m_stopped = true;
    }

    // Operations passed on so far.
    long long landed() const { return m_landed + (m_batch - m_batchLeft); }

protected:
    Status doSetPenWidth(int width) override { return gate() ? m_target->SetPenWidth(width) : stopped(); }
    Status doPlotPoint(float x, float y, QRgb colour) override
    {
        if (!gate())
            return stopped();
        const Status status = m_target->PlotPoint(x, y, colour);
        if (m_points && status.ok())
            m_points->plotted(x, y);
        return status;
    }
    Status doDrawBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        return gate() ? m_target->DrawBox(x1, y1, x2, y2, colour) : stopped();
    }
    Status doDrawCircle(float x, float y, float radius, QRgb colour) override
    {
        return gate() ? m_target->DrawCircle(x, y, radius, colour) : stopped();
    }
    Status doClearSurface() override { return gate() ? m_target->ClearSurface() : stopped(); }

private:
    static Status stopped() { return Status::failure("the drawing was stopped"); }

    // Whether the next operation may pass; false once stopped.
    bool gate()
    {
        if (m_batchLeft == 0 && !openBatch()) [[unlikely]]
            return false;
        --m_batchLeft;
        return true;
    }

    // The operations of the batch that have passed count as landed.
    void closeBatch()
    {
        m_landed += m_batch - m_batchLeft;
        m_batch = m_batchLeft = 0;
    }

    // Lets the next batch through, once the frame allows one: false if
    // stopped meanwhile.
    [[gnu::noinline]] bool openBatch()
    {
        closeBatch();
        while (!m_stopped && (m_allowance <= 0 || (m_deadline && m_clock() >= *m_deadline)))
            Fiber::suspend();
        if (m_stopped)
            return false;
        m_batch = m_batchLeft = std::min<long long>(m_allowance, kClockInterval);
        m_allowance -= m_batch;
        return true;
    }

    DrawingSurface *m_target;
    const Clock &m_clock;
    LoopRecorder *m_points;
    long long m_allowance = 0; // beyond the batch
    std::optional<std::chrono::nanoseconds> m_deadline;
    long long m_batch = 0; // let through at once, without a look at the clock
    long long m_batchLeft = 0;
    long long m_landed = 0; // before the batch
    bool m_stopped = false;
};

CommandRunner::CommandRunner(DrawingSurface &picture, QObject *parent)
    : QObject(parent)
    , m_picture(&picture)
    , m_clock(steadyNow)
{
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, &CommandRunner::advance);
}

CommandRunner::~CommandRunner()
{
    stop();
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
    endCurrent();
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
    std::optional<std::chrono::nanoseconds> deadline;
    if (bounded)
        deadline = m_clock() + kFrame;
    bool landed = false;
    while (!isIdle()) {
        if (!m_current && runDirectly(deadline)) {
            landed = true;
            if (m_failure)
                break;
            finishCommand();
            continue;
        }
        if (!m_current)
            begin();
        const long long due = bounded ? allowance() : LLONG_MAX;
        if (due <= 0)
            break;
        m_unpacedThroughout &= !paced();
        const long long before = m_surface->landed();
        const std::chrono::nanoseconds start = m_clock();
        m_surface->allow(due, deadline);
        const bool done = [this] {
            const LoopRecorder::Activation recording(&m_loops);
            return m_fiber->resume();
        }();
        m_activeTime += m_clock() - start;
        const long long count = m_surface->landed() - before;
        landed |= count > 0;
        m_landedSincePaceStart += count;
        if (done && m_failure)
            break;
        if (done)
            finishCommand();
        else if (deadline && m_clock() >= *deadline)
            break;
    }
    if (landed)
        emit drawn();
    if (m_failure) {
        fail(*m_failure);
        return;
    }
    scheduleFrames();
    if (isIdle())
        emit idle();
}

// Runs the next command straight on the picture when there is no frame to
// keep to, or when it is unpaced and took less than what is left of the
// frame the last time; false otherwise.
bool CommandRunner::runDirectly(std::optional<std::chrono::nanoseconds> deadline)
{
    const Button next = m_queue.front();
    const std::optional<std::chrono::nanoseconds> known = m_unpacedTime[static_cast<std::size_t>(next)];
    if (deadline && (paced() || !known || m_clock() + *known > *deadline))
        return false;
    takeNext();
    const std::chrono::nanoseconds start = m_clock();
    m_failure = attempt(commandOf(next), *m_picture);
    m_unpacedTime[static_cast<std::size_t>(next)] = m_clock() - start;
    return true;
}

void CommandRunner::takeNext()
{
    m_current = m_queue.front();
    m_queue.pop_front();
    m_failure.reset();
}

void CommandRunner::begin()
{
    takeNext();
    m_activeTime = std::chrono::nanoseconds(0);
    m_unpacedThroughout = true;
    m_loops.forgetPoint();
    m_surface = std::make_unique<PacedSurface>(*m_picture, m_clock, &m_loops);
    m_fiber = std::make_unique<Fiber>([this] { m_failure = attempt(commandOf(*m_current), *m_surface); });
}

void CommandRunner::finishCommand()
{
    const Button done = *m_current;
    if (m_fiber && m_unpacedThroughout)
        m_unpacedTime[static_cast<std::size_t>(done)] = m_activeTime;
    endCurrent();
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

// A fiber must not be left suspended: stopping its surface makes the
// action's next operation fail, and the action ends as on any failure.
void CommandRunner::endCurrent()
{
    if (m_fiber && !m_fiber->finished()) {
        m_surface->stop();
        m_fiber->resume();
    }
    m_fiber.reset();
    m_surface.reset();
    m_current.reset();
}

DrawingProgress CommandRunner::progress() const
{
    return {m_current, m_surface ? m_surface->landed() : 0, static_cast<int>(m_queue.size())};
}

void CommandRunner::redrawOn(DrawingSurface &picture)
{
    m_picture = &picture;
    for (Button button : m_pictures) {
        if (const std::optional<QString> failure = attempt(commandOf(button), picture)) {
            fail(*failure);
            return;
        }
    }
    if (!m_current)
        return;
    // The command under way again, as far as it has landed: its action runs
    // on a surface that lets that many operations through, and is stopped
    // there.
    PacedSurface again(picture, m_clock);
    Fiber replay([&] { (void)attempt(commandOf(*m_current), again); });
    again.allow(m_surface->landed(), std::nullopt);
    if (!replay.resume()) {
        again.stop();
        replay.resume();
    }
    m_surface->retarget(picture);
}

void CommandRunner::fail(const QString &message)
{
    stop();
    emit failed(message);
}

} // namespace sweepdraw
