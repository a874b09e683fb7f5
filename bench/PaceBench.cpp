#include "PaceBench.h"

#include "ShownStage.h"
#include "Timing.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>

#include <sys/resource.h>

#include <algorithm>

namespace sweepdraw::bench {

namespace {

const std::string kFiberName = "BM_Fiber/round_trip";

std::string pacedName(const std::string &what, Speed speed)
{
    return "BM_Paced/" + what + "/" + speedInfo(speed).name;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Marks the time of every paint of the window's picture.
class PaintTimes final : public QObject
{
public:
    explicit PaintTimes(const QElapsedTimer &clock) : m_clock(clock) {}
    std::vector<double> times; // milliseconds

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            times.push_back(static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

// A switch into a fiber and back out of it, as the window's runner makes
// for every piece of drawing, on a stack with a guard page.
void onFiber(benchmark::State &state)
{
    namespace context = boost::context;
    bool done = false;
    context::fiber fiber(std::allocator_arg, context::protected_fixedsize_stack(),
                         [&done](context::fiber &&caller) {
                             while (!done)
                                 caller = std::move(caller).resume();
                             return std::move(caller);
                         });
    const double start = threadCpuSeconds();
    for (auto _ : state)
        fiber = std::move(fiber).resume();
    const double elapsed = threadCpuSeconds() - start;
    done = true;
    fiber = std::move(fiber).resume();
    state.counters["round_trip_ns"] = elapsed * 1e9 / static_cast<double>(state.iterations());
}

} // namespace

void measurePaced(benchmark::State &state, const std::vector<Button> &clicks, Speed speed)
{
    ShownStage window(speed);
    RunnerDriver &runner = window.runner();
    QElapsedTimer clock;
    PaintTimes paints(clock);
    window.stage().view().installEventFilter(&paints);

    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&runner, &RunnerDriver::idle, &loop, &QEventLoop::quit);
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        double lastCall = 0;
        double longestStall = 0;
        QObject::connect(&probe, &QTimer::timeout, &loop, [&] {
            const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            longestStall = std::max(longestStall, now - lastCall);
            lastCall = now;
        });

        paints.times.clear();
        clock.start();
        const double cpuStart = processCpuSeconds();
        probe.start();
        for (const Button button : clicks)
            runner.enqueue(button);
        loop.exec();
        const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const double cpu = processCpuSeconds() - cpuStart;
        state.SetIterationTime(wall);

        std::vector<double> intervals;
        for (std::size_t i = 1; i < paints.times.size(); ++i)
            intervals.push_back(paints.times[i] - paints.times[i - 1]);
        state.counters["wall_s"] = wall;
        state.counters["ms_per_command"] = wall * 1e3 / static_cast<double>(clicks.size());
        state.counters["cpu_ms_per_command"] = cpu * 1e3 / static_cast<double>(clicks.size());
        state.counters["cpu_share"] = cpu / wall;
        state.counters["frames"] = static_cast<double>(paints.times.size());
        state.counters["frame_median_ms"] = percentile(intervals, 0.5);
        state.counters["frame_p99_ms"] = percentile(intervals, 0.99);
        state.counters["longest_stall_ms"] = longestStall;
        state.counters["peak_rss_mb"] = peakResidentMegabytes();

        runner.enqueue(Button::CmdCls);
        drawQueued(runner);
    }
}

void registerPaceBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals)
{
    const auto paced = [&names](const std::string &name, std::vector<Button> clicks, Speed speed) {
        registerNamed(names, name, measurePaced, std::move(clicks), speed)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseManualTime();
    };
    std::vector<Button> all;
    for (const Command &command : kCommands)
        if (command.draws())
            all.push_back(command.button);
    paced(pacedName(commandOf(Button::Cmdyg).name, Speed::Normal), {Button::Cmdyg}, Speed::Normal);
    for (const Speed speed : {Speed::Slow, Speed::Normal, Speed::Fast})
        paced(pacedName("all", speed), all, speed);
    registerNamed(names, kFiberName, onFiber);

    const std::string sunshine = pacedName(commandOf(Button::Cmdyg).name, Speed::Normal);
    goals.push_back({{sunshine, "wall_s"}, {}, 3.6, false});
    goals.push_back({{sunshine, "wall_s"}, {}, 4.4, true});
    for (const std::string &paced :
         {sunshine, pacedName("all", Speed::Slow), pacedName("all", Speed::Normal), pacedName("all", Speed::Fast)}) {
        goals.push_back({{paced, "cpu_share"}, {}, 0.10, true});
        goals.push_back({{paced, "frame_median_ms"}, {}, 17, true});
        goals.push_back({{paced, "frame_p99_ms"}, {}, 34, true});
        goals.push_back({{paced, "longest_stall_ms"}, {}, 50, true});
        goals.push_back({{paced, "peak_rss_mb"}, {}, 64, true});
    }
    goals.push_back({{kFiberName, "round_trip_ns"}, {}, 50, true});
}

} // namespace sweepdraw::bench
