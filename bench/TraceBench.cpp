#include "TraceBench.h"

#include "CodePane.h"
#include "LoopRecorder.h"
#include "RasterSurface.h"
#include "ShownStage.h"
#include "Timing.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <numeric>

namespace sweepdraw::bench {

namespace {

using namespace std::chrono_literals;

const std::string kPacedName = "BM_CodePane/sunshine/normal";
const std::string kFramesName = "BM_CodePane/sunshine/frames";

// As BM_Scene/<scene>/raster, with the loops recording, against the raster
// without them drawn just before and just after: the counter kBesideRaster.
void onRecorded(benchmark::State &state, const Command &scene)
{
    RasterSurface surface(kDesignSize, 1.0);
    LoopRecorder loops;
    counterBeside(state, kBesideRaster, [&] { return rasterMs(scene); }, [&] {
        const LoopRecorder::Activation recording(&loops);
        return std::optional(onCleared(state, scene, surface));
    });
}

// A shown off-screen stage at the normal speed, with a code pane following
// its runner shown or not, laid out.
struct StageWithPane
{
    explicit StageWithPane(bool paneShown)
        : pane(stage.runner())
    {
        pane.setVisible(paneShown);
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    ShownStage stage{Speed::Normal};
    CodePane pane;
};

void onPaced(benchmark::State &state)
{
    StageWithPane window(true);
    RunnerDriver &runner = window.stage.runner();
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&runner, &RunnerDriver::idle, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        const double cpuStart = processCpuSeconds();
        runner.enqueue(Button::Cmdyg);
        loop.exec();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["wall_s"] = seconds;
        state.counters["cpu_share"] = (processCpuSeconds() - cpuStart) / seconds;
    }
}

// The mean processor time of a frame of the sunshine at the normal speed, a
// frame being 16 ms on the window's clock: landing what is due, and every
// paint and update that follows from it. Processor time rather than wall
// time, so that what other processes take on a busy machine is left out.
double meanFrameMs(bool paneShown)
{
    StageWithPane window(paneShown);
    RunnerDriver &runner = window.stage.runner();
    std::chrono::nanoseconds now{0};
    runner.setClock([&] { return now; });
    runner.enqueue(Button::Cmdyg);
    std::vector<double> frames;
    while (!runner.isIdle()) {
        now += 16ms;
        const double start = threadCpuSeconds();
        runner.advance();
        QCoreApplication::processEvents();
        frames.push_back((threadCpuSeconds() - start) * 1e3);
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

void registerTraceBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals)
{
    for (const Command &command : kCommands) {
        if (!command.draws())
            continue;
        const std::string scene = std::string("BM_Scene/") + command.name;
        registerNamed(names, scene + "/recorded", onRecorded, command)->Unit(benchmark::kMillisecond);
        goals.push_back({{scene + "/recorded", {}}, Figure{scene + "/raster", {}}, 1.05, true, kBesideRaster});
    }
    registerNamed(names, kPacedName, onPaced)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
    registerNamed(names, kFramesName, onFrames)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
    goals.push_back({{kPacedName, "cpu_share"}, {}, 0.15, true});
    goals.push_back({{kFramesName, "pane_ms"}, {}, 2.0, true});
}

} // namespace sweepdraw::bench
