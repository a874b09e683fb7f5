// Times every scene on four surfaces:
//
//   null      draws nothing; the scene's own arithmetic and calls, the limit
//   raster    the program's RasterSurface, 800 x 552 at ratio 1
//   qpainter  one QPainter::drawPoint per point, as a direct Qt port would
//   window    the whole command on the main window, repainting as it draws
//
// and, after the usual report, how their times compare in this one run.

#include "Form1.h"
#include "NullSurface.h"
#include "PainterSurface.h"
#include "RasterSurface.h"
#include "RatioReporter.h"
#include "RuntimeError.h"
#include "Scenes.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <array>
#include <iostream>

using namespace sweepdraw;
using namespace sweepdraw::bench;

namespace {

// The size of the window's picture, in pixels.
const QSize kPictureSize(800, 552);

struct SceneEntry
{
    const char *name;
    void (*draw)(DrawingSurface &);
    Button button;
};

constexpr std::array<SceneEntry, 4> kScenes = {{
    {"mountains", DrawMountains, Button::CmdGs},
    {"water", DrawWater, Button::Cmdls},
    {"sunshine", DrawSunshine, Button::Cmdyg},
    {"bridge", DrawBridge, Button::CmdDq},
}};

void onNull(benchmark::State &state, const SceneEntry &scene)
{
    NullSurface surface;
    for (auto _ : state) {
        scene.draw(surface);
        benchmark::DoNotOptimize(surface.checksum());
    }
    benchmark::ClobberMemory();
}

// Every run starts from a blank picture; the clearing is not timed.
template <typename Surface>
void onCleared(benchmark::State &state, const SceneEntry &scene, Surface &surface)
{
    for (auto _ : state) {
        state.PauseTiming();
        check(surface.ClearSurface());
        state.ResumeTiming();
        scene.draw(surface);
        benchmark::DoNotOptimize(surface.image().constBits());
        benchmark::ClobberMemory();
    }
}

void onRaster(benchmark::State &state, const SceneEntry &scene)
{
    RasterSurface surface(kPictureSize, 1.0);
    onCleared(state, scene, surface);
}

void onPainter(benchmark::State &state, const SceneEntry &scene)
{
    PainterSurface surface(kPictureSize);
    onCleared(state, scene, surface);
}

// The button's whole command on a shown off-screen window, which repaints
// the picture as it goes whenever a frame's time has passed. The command
// leaves the last of what it drew to be painted once control is back in the
// event loop; that paint is timed apart, as the counter last_paint_ms.
void onWindow(benchmark::State &state, const SceneEntry &scene)
{
    Form1 form(1.0);
    form.show();
    QCoreApplication::processEvents();
    QElapsedTimer paint;
    double paintMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.RunCommand(Button::CmdCls);
        QCoreApplication::processEvents();
        state.ResumeTiming();

        form.RunCommand(scene.button);

        state.PauseTiming();
        paint.start();
        QCoreApplication::processEvents();
        paintMs += static_cast<double>(paint.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["last_paint_ms"] = benchmark::Counter(paintMs, benchmark::Counter::kAvgIterations);
}

void registerScenes()
{
    using Run = void (*)(benchmark::State &, const SceneEntry &);
    const std::array<std::pair<const char *, Run>, 4> surfaces = {{
        {"null", onNull},
        {"raster", onRaster},
        {"qpainter", onPainter},
        {"window", onWindow},
    }};
    for (const SceneEntry &scene : kScenes) {
        for (const auto &[surface, run] : surfaces) {
            const std::string name = std::string("BM_Scene/") + scene.name + "/" + surface;
            benchmark::RegisterBenchmark(name.c_str(), run, scene)->Unit(benchmark::kMillisecond);
        }
    }
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
    for (const SceneEntry &scene : kScenes)
        names.emplace_back(scene.name);
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    // Headless, one device pixel per pixel, whatever the machine's settings.
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
    RatioReporter reporter(std::move(display), sceneNames(), goals(), std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
