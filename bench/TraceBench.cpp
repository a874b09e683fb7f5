#include "TraceBench.h"

#include "ClearedRuns.h"
#include "Form1.h"
#include "LoopRecorder.h"
#include "RasterSurface.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <ctime>
#include <numeric>

namespace sweepdraw::bench {

namespace {

using namespace std::chrono_literals;

const std::string kPacedName = "BM_CodePane/sunshine/normal";
const std::string kFramesName = "BM_CodePane/sunshine/frames";

// As BM_Scene/<scene>/raster, with the loops recording.
void onRecorded(benchmark::State &state, const Command &scene)
{
    RasterSurface surface(Form1::kDesignSize, 1.0);
    LoopRecorder loops;
    const LoopRecorder::Activation recording(&loops);
    onCleared(state, scene, surface);
}

// A shown off-screen window at the normal speed, with its code pane shown
// or not, laid out.
std::unique_ptr<Form1> windowWithPane(bool shown)
{
    auto form = std::make_unique<Form1>(1.0);
    form->setSpeed(Speed::Normal);
    form->show();
    QCoreApplication::processEvents();
    for (QAction *action : form->actions())
        if (shown && action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_U))
            action->trigger();
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return form;
}

double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void onPaced(benchmark::State &state)
{
    const std::unique_ptr<Form1> form = windowWithPane(true);
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(form.get(), &Form1::drawingIdle, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        const double cpuStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        form->RunCommand(Button::Cmdyg);
        loop.exec();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["wall_s"] = seconds;
        state.counters["cpu_share"] = (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / seconds;
    }
}

// The mean processor time of a frame of the sunshine at the normal speed, a
// frame being 16 ms on the window's clock: landing what is due, and every
// paint and update that follows from it. Processor time rather than wall
// time, so that what other processes take on a busy machine is left out.
double meanFrameMs(bool paneShown)
{
    const std::unique_ptr<Form1> form = windowWithPane(paneShown);
    std::chrono::nanoseconds now{0};
    form->setClock([&] { return now; });
    form->RunCommand(Button::Cmdyg);
    std::vector<double> frames;
    while (form->isDrawing()) {
        now += 16ms;
        const double start = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        form->advanceDrawing();
        QCoreApplication::processEvents();
        frames.push_back((cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start) * 1e3);
    }
    return std::accumulate(frames.begin(), frames.end(), 0.0) / static_cast<double>(frames.size());
}

void onFrames(benchmark::State &state)
{
    for (auto _ : state) {
        const double hidden = meanFrameMs(false);
        const double shown = meanFrameMs(true);
        state.SetIterationTime((hidden + shown) / 1e3);
        state.counters["frame_ms_hidden"] = hidden;
        state.counters["frame_ms_shown"] = shown;
        state.counters["pane_ms"] = shown - hidden;
    }
}

} // namespace

void registerTraceBenchmarks(std::vector<RatioGoal> &ratios, std::vector<CounterGoal> &figures)
{
    for (const Command &command : kCommands) {
        if (!command.draws())
            continue;
        const std::string name = std::string("BM_Scene/") + command.name + "/recorded";
        benchmark::RegisterBenchmark(name.c_str(), onRecorded, command)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(kPacedName.c_str(), onPaced)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseManualTime();
    benchmark::RegisterBenchmark(kFramesName.c_str(), onFrames)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseManualTime();

    ratios.push_back({"recorded", "raster", 1.05, true, {}});
    figures.push_back({kPacedName, "cpu_share", 0.15, true});
    figures.push_back({kFramesName, "pane_ms", 2.0, true});
}

} // namespace sweepdraw::bench
