// Times every scene on four surfaces:
//
//   null      draws nothing; the scene's own arithmetic and calls, the limit
//   raster    the program's RasterSurface, 800 x 552 at ratio 1
//   qpainter  one QPainter::drawPoint per point, as a direct Qt port would
//   window    the whole command on the main window at the instant speed,
//             through its event loop
//
// then draws every scene on the window at the normal speed, and queues 150
// sunshines at the instant speed, watching the frames and the event loop;
// and, after the usual report, writes how the surfaces compare and how the
// figures stand against their goals in this one run.

#include "ClearedRuns.h"
#include "Form1.h"
#include "NullSurface.h"
#include "PainterSurface.h"
#include "RasterSurface.h"
#include "RatioReporter.h"
#include "Scenes.h"
#include "TraceBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryFile>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <iostream>
#include <string>

using namespace sweepdraw;
using namespace sweepdraw::bench;

namespace {

// The size of the window's picture, in pixels.
const QSize kPictureSize(800, 552);

// How many sunshines are queued at once.
constexpr int kQueued = 150;

std::string pacedName(const Command &scene)
{
    return std::string("BM_Paced/") + scene.name + "/normal";
}

const std::string kQueuedName = "BM_Queued/sunshine_x" + std::to_string(kQueued) + "/instant";

// The scenes, from the window's commands.
std::vector<const Command *> scenes()
{
    std::vector<const Command *> found;
    for (const Command &command : kCommands)
        if (command.draws())
            found.push_back(&command);
    return found;
}

void onNull(benchmark::State &state, const Command &scene)
{
    NullSurface surface;
    for (auto _ : state) {
        scene.action(surface);
        benchmark::DoNotOptimize(surface.checksum());
    }
    benchmark::ClobberMemory();
}

void onRaster(benchmark::State &state, const Command &scene)
{
    RasterSurface surface(kPictureSize, 1.0);
    onCleared(state, scene, surface);
}

void onPainter(benchmark::State &state, const Command &scene)
{
    PainterSurface surface(kPictureSize);
    onCleared(state, scene, surface);
}

// Runs the window's event loop until everything queued is drawn.
void drawQueued(Form1 &form)
{
    while (form.isDrawing())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The button's whole command on a shown off-screen window at the instant
// speed, clicked and drawn through the event loop. The command leaves the
// last of what it drew to be painted once it is done; that paint is timed
// apart, as the counter last_paint_ms.
void onWindow(benchmark::State &state, const Command &scene)
{
    Form1 form(1.0);
    form.setSpeed(Speed::Instant);
    form.show();
    QCoreApplication::processEvents();
    QElapsedTimer paint;
    double paintMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.RunCommand(Button::CmdCls);
        drawQueued(form);
        QCoreApplication::processEvents();
        state.ResumeTiming();

        form.RunCommand(scene.button);
        drawQueued(form);

        state.PauseTiming();
        paint.start();
        QCoreApplication::processEvents();
        paintMs += static_cast<double>(paint.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["last_paint_ms"] = benchmark::Counter(paintMs, benchmark::Counter::kAvgIterations);
}

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The value below which `share` of the values lie.
double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
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

// Clicks the button `times` times on a shown off-screen window at `speed`
// and runs the event loop until all is drawn, with a timer asking for the
// event loop every millisecond: the longest gap between its calls is the
// longest the window could not answer. Reports the wall time, the share of
// one core the process used, the intervals between paints of the picture,
// that longest stall and the peak resident memory.
void onEventLoop(benchmark::State &state, const Command &scene, Speed speed, int times)
{
    Form1 form(1.0);
    form.setSpeed(speed);
    form.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    PaintTimes paints(clock);
    form.findChild<QWidget *>(QStringLiteral("Surface"))->installEventFilter(&paints);

    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&form, &Form1::drawingIdle, &loop, &QEventLoop::quit);
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
        for (int i = 0; i < times; ++i)
            form.RunCommand(scene.button);
        loop.exec();
        const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const double cpu = processCpuSeconds() - cpuStart;
        state.SetIterationTime(wall);

        std::vector<double> intervals;
        for (std::size_t i = 1; i < paints.times.size(); ++i)
            intervals.push_back(paints.times[i] - paints.times[i - 1]);
        state.counters["wall_s"] = wall;
        state.counters["cpu_share"] = cpu / wall;
        state.counters["frames"] = static_cast<double>(paints.times.size());
        state.counters["frame_median_ms"] = percentile(intervals, 0.5);
        state.counters["frame_p99_ms"] = percentile(intervals, 0.99);
        state.counters["longest_stall_ms"] = longestStall;
        state.counters["peak_rss_mb"] = peakResidentMegabytes();

        form.RunCommand(Button::CmdCls);
        drawQueued(form);
    }
}

void registerScenes()
{
    using Run = void (*)(benchmark::State &, const Command &);
    const std::array<std::pair<const char *, Run>, 4> surfaces = {{
        {"null", onNull},
        {"raster", onRaster},
        {"qpainter", onPainter},
        {"window", onWindow},
    }};
    for (const Command *scene : scenes()) {
        for (const auto &[surface, run] : surfaces) {
            const std::string name = std::string("BM_Scene/") + scene->name + "/" + surface;
            benchmark::RegisterBenchmark(name.c_str(), run, *scene)->Unit(benchmark::kMillisecond);
        }
    }
    for (const Command *scene : scenes()) {
        benchmark::RegisterBenchmark(pacedName(*scene).c_str(), onEventLoop, *scene, Speed::Normal, 1)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseManualTime();
    }
    benchmark::RegisterBenchmark(kQueuedName.c_str(), onEventLoop, commandOf(Button::Cmdyg), Speed::Instant, kQueued)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseManualTime();
}

std::vector<RatioGoal> goals()
{
    return {
        {"raster", "null", 1.5, true, {}},
        {"qpainter", "raster", 30.0, false, {"water", "bridge"}},
        {"window", "raster", 1.2, true, {}},
    };
}

std::vector<std::string> sceneNames()
{
    std::vector<std::string> names;
    for (const Command *scene : scenes())
        names.emplace_back(scene->name);
    return names;
}

std::vector<CounterGoal> counterGoals()
{
    const std::string sunshine = pacedName(commandOf(Button::Cmdyg));
    std::vector<CounterGoal> goals = {
        {sunshine, "wall_s", 3.6, false},
        {sunshine, "wall_s", 4.4, true},
        {sunshine, "cpu_share", 0.10, true},
        {kQueuedName, "longest_stall_ms", 50, true},
    };
    for (const Command *scene : scenes()) {
        const std::string paced = pacedName(*scene);
        goals.push_back({paced, "frame_median_ms", 17, true});
        goals.push_back({paced, "frame_p99_ms", 34, true});
        goals.push_back({paced, "peak_rss_mb", 64, true});
    }
    goals.push_back({kQueuedName, "peak_rss_mb", 64, true});
    return goals;
}

} // namespace

int main(int argc, char **argv)
{
    // Headless, one device pixel per pixel, whatever the machine's settings,
    // on a screen large enough for the window at zoom 1 with its frame (the
    // off-screen platform's own is 800 pixels wide).
    QTemporaryFile screen;
    if (!screen.open()
        || screen.write(R"({"screens": [{"name": "bench", "width": 1280, "height": 1024}]})") < 0
        || !screen.flush()) {
        std::cerr << "sweepdraw-bench: cannot write the screen's configuration\n";
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    qputenv("QT_SCALE_FACTOR", "1");

    auto display = RatioReporter::forFormat(argc, argv);
    if (!display) {
        std::cerr << "sweepdraw-bench: the format can be console or json\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    registerScenes();
    std::vector<RatioGoal> ratios = goals();
    std::vector<CounterGoal> figures = counterGoals();
    registerTraceBenchmarks(ratios, figures);
    RatioReporter reporter(std::move(display), sceneNames(), std::move(ratios), std::move(figures), std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
