// Times every scene, first on its own and then as the program draws it:
//
//   null      draws nothing: the scene's own arithmetic and calls, the limit
//             every other figure is measured against. Each repetition runs
//             in a process of its own, started for it, in which the scene
//             is the first thing drawn and nothing of Qt has been called.
//   raster    the program's RasterSurface, the window's size at ratio 1
//   qpainter  one QPainter::drawPoint per point, as a direct Qt port would
//   save      the real program, `--run` the scene many times `--save`: its
//             CPU time per scene, its start-up and saving taken off
//   window    the whole command on a shown stage at the instant speed, drawn
//             and repainted as the main window does, through the event loop
//
// then draws on the stage at the paced speeds and queues 150 sunshines at
// the instant speed, watching the CPU, the frames and the event loop; times
// a fiber's round trip; and, after the usual report, writes how every
// figure of this one run stands against its goal.
//
// A ratio's goal is judged on each repetition against the figure it is
// measured against, measured again just before and just after it, so that
// a spell of a slower machine weighs on both alike.

#include "ChildCpu.h"
#include "CoreInQt.h"
#include "EditBench.h"
#include "NullSurface.h"
#include "PaceBench.h"
#include "PainterSurface.h"
#include "RasterSurface.h"
#include "RatioReporter.h"
#include "RecordBench.h"
#include "RoutineBench.h"
#include "StepBench.h"
#include "RuntimeError.h"
#include "ShownStage.h"
#include "Timing.h"
#include "TraceBench.h"
#include "VectorState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <string_view>

using namespace sweepdraw;
using namespace sweepdraw::bench;

namespace {

// How many sunshines are queued at once.
constexpr int kQueued = 150;

// How many times one run of the program draws the scene: enough for the
// drawing to outweigh the noise of its start-up.
constexpr int kProgramDraws = 60;

// How far a figure may fall behind the limit.
constexpr double kLimitGoal = 1.25;

// How many times the process started for the limit draws the scene.
constexpr int kLimitDraws = 20;

// The option that starts the bench as that process: --limit-of=<scene>.
constexpr std::string_view kLimitOption = "--limit-of=";

const std::string kLimit = "null";
const std::string kBesideLimit = "x_limit_beside";
const std::string kQueuedName = "BM_Queued/sunshine_x" + std::to_string(kQueued) + "/instant";

std::string sceneName(const Command &scene, const std::string &where)
{
    return std::string("BM_Scene/") + scene.name + "/" + where;
}

// The scenes, from the window's commands.
std::vector<const Command *> scenes()
{
    std::vector<const Command *> found;
    for (const Command &command : kCommands)
        if (command.draws())
            found.push_back(&command);
    return found;
}

// The process of its own that a repetition of the limit runs in: the scene
// drawn kLimitDraws times on the null surface, before anything else has
// run, and the CPU milliseconds of one drawing written on standard output.
int drawLimit(const std::string &name)
{
    const std::optional<Button> button = commandByName(name);
    if (!button || !commandOf(*button).draws())
        return 2;
    const Command *scene = &commandOf(*button);
    NullSurface surface;
    clearUpperVectorState();
    const double start = threadCpuSeconds();
    for (int i = 0; i < kLimitDraws; ++i)
        scene->action(surface);
    const double ms = (threadCpuSeconds() - start) * 1e3 / kLimitDraws;
    benchmark::DoNotOptimize(surface.checksum());
    std::cout << ms << '\n';
    return 0;
}

// The limit, from a process started for the purpose: a process this one
// has run Qt in could have left the processor in a state that slows the
// scenes' arithmetic on every surface alike (see docs/design.md), which would
// hide the very slowdown the ratios are there to show. The CPU milliseconds
// of one drawing, or nothing if the process did not report them.
std::optional<double> limitMs(const Command &scene)
{
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const std::optional<std::string> output = outputOfRun(self, {std::string(kLimitOption) + scene.name});
    char *end = nullptr;
    const double ms = output ? std::strtod(output->c_str(), &end) : 0;
    if (!output || end == output->c_str() || !(ms > 0))
        return std::nullopt;
    return ms;
}

const char *const kNoLimit = "the process drawing the limit did not report its time";

// One process for each repetition lets the repetitions interleave with the
// other benchmarks.
void onNull(benchmark::State &state, const Command &scene)
{
    double totalMs = 0;
    for (auto _ : state) {
        const std::optional<double> ms = limitMs(scene);
        if (!ms) {
            state.SkipWithError(kNoLimit);
            return;
        }
        state.SetIterationTime(*ms / 1e3);
        totalMs += *ms;
    }
    state.counters["cpu_ms"] = benchmark::Counter(totalMs, benchmark::Counter::kAvgIterations);
}

// Sets the counter kBesideLimit: the CPU milliseconds of one drawing that
// `measure` gives, against the limit drawn just before and just after it.
template <typename Measure>
void againstLimitBeside(benchmark::State &state, const Command &scene, Measure &&measure)
{
    const auto limit = [&] {
        const std::optional<double> ms = limitMs(scene);
        if (!ms)
            state.SkipWithError(kNoLimit);
        return ms;
    };
    counterBeside(state, kBesideLimit, limit, [&]() -> std::optional<double> {
        const double ms = measure();
        return state.error_occurred() ? std::nullopt : std::optional(ms);
    });
}

void onRaster(benchmark::State &state, const Command &scene)
{
    RasterSurface surface(kDesignSize, 1.0);
    againstLimitBeside(state, scene, [&] { return onCleared(state, scene, surface); });
}

void onPainter(benchmark::State &state, const Command &scene)
{
    PainterSurface surface(toQSize(kDesignSize));
    onCleared(state, scene, surface);
}

// The real program, started as a user would, drawing the scene
// kProgramDraws times and saving the picture, against the same without a
// command: the difference in its CPU time, per scene, is the counter cpu_ms.
void onProgram(benchmark::State &state, const Command &scene)
{
    const QTemporaryDir folder;
    const std::string picture = folder.filePath(QStringLiteral("picture.png")).toStdString();
    std::string commands = scene.name;
    for (int i = 1; i < kProgramDraws; ++i)
        commands += std::string(",") + scene.name;

    againstLimitBeside(state, scene, [&] {
        double totalMs = 0;
        for (auto _ : state) {
            const std::optional<double> bare = cpuSecondsOfRun(SWEEPDRAW_EXECUTABLE, {"--save", picture});
            const std::optional<double> drawn =
                cpuSecondsOfRun(SWEEPDRAW_EXECUTABLE, {"--run", commands, "--save", picture});
            if (!bare || !drawn) {
                state.SkipWithError("the program did not run to its end with status 0");
                return 0.0;
            }
            const double perScene = (*drawn - *bare) / kProgramDraws;
            state.SetIterationTime(perScene);
            totalMs += perScene * 1e3;
        }
        state.counters["cpu_ms"] = benchmark::Counter(totalMs, benchmark::Counter::kAvgIterations);
        return totalMs / static_cast<double>(state.iterations());
    });
}

// The button's whole command on a shown off-screen window at the instant
// speed, clicked and drawn through the event loop. The command leaves the
// last of what it drew to be painted once it is done; that paint is timed
// apart, as the counter last_paint_ms.
void onWindow(benchmark::State &state, const Command &scene)
{
    ShownStage window(Speed::Instant);
    RunnerDriver &runner = window.runner();
    againstLimitBeside(state, scene, [&] {
        QElapsedTimer paint;
        double paintMs = 0;
        double seconds = 0;
        for (auto _ : state) {
            state.PauseTiming();
            runner.enqueue(Button::CmdCls);
            drawQueued(runner);
            QCoreApplication::processEvents();
            state.ResumeTiming();

            const double start = threadCpuSeconds();
            runner.enqueue(scene.button);
            drawQueued(runner);
            seconds += threadCpuSeconds() - start;

            state.PauseTiming();
            paint.start();
            QCoreApplication::processEvents();
            paintMs += static_cast<double>(paint.nsecsElapsed()) / 1e6;
            state.ResumeTiming();
        }
        state.counters["last_paint_ms"] = benchmark::Counter(paintMs, benchmark::Counter::kAvgIterations);
        return seconds * 1e3 / static_cast<double>(state.iterations());
    });
}

// kQueued sunshines at the instant speed, against the raster drawing
// sunshines just before and after: the counter kBesideRaster.
void onQueued(benchmark::State &state)
{
    const Command &sunshine = commandOf(Button::Cmdyg);
    counterBeside(state, kBesideRaster, [&] { return rasterMs(sunshine); }, [&] {
        measurePaced(state, std::vector<Button>(kQueued, sunshine.button), Speed::Instant);
        const auto perCommand = state.counters.find("cpu_ms_per_command");
        return perCommand == state.counters.end() ? std::nullopt : std::optional(perCommand->second.value);
    });
}

// Registers every benchmark, in the order it runs, and gives its name.
std::vector<std::string> registerAll()
{
    std::vector<std::string> names;
    using Run = void (*)(benchmark::State &, const Command &);
    const std::vector<std::pair<std::string, Run>> surfaces = {
        {"raster", onRaster}, {"qpainter", onPainter}, {"window", onWindow}};
    for (const Command *scene : scenes()) {
        registerNamed(names, sceneName(*scene, kLimit), onNull, *scene)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseManualTime();
        for (const auto &[surface, run] : surfaces)
            registerNamed(names, sceneName(*scene, surface), run, *scene)->Unit(benchmark::kMillisecond);
    }
    for (const Command *scene : scenes())
        registerNamed(names, sceneName(*scene, "save"), onProgram, *scene)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseManualTime();
    registerNamed(names, kQueuedName, onQueued)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

    return names;
}

std::vector<Goal> goals()
{
    std::vector<Goal> goals;
    for (const Command *scene : scenes()) {
        const Figure limit{sceneName(*scene, kLimit), "cpu_ms"};
        goals.push_back({{sceneName(*scene, "raster"), {}}, limit, kLimitGoal, true, kBesideLimit});
        goals.push_back({{sceneName(*scene, "save"), "cpu_ms"}, limit, kLimitGoal, true, kBesideLimit});
        goals.push_back({{sceneName(*scene, "window"), {}}, limit, kLimitGoal, true, kBesideLimit});
    }
    // The point of the raster surface: water's and bridge's pens are 2 and 3
    // pixels wide.
    for (const Button button : {Button::Cmdls, Button::CmdDq})
        goals.push_back({{sceneName(commandOf(button), "qpainter"), {}},
                         Figure{sceneName(commandOf(button), "raster"), {}}, 30.0, false});

    // CPU time, as for the raster surface: on an idle machine it is the wall
    // time, and on a busy one it does not count the other processes' turns.
    goals.push_back({{kQueuedName, "cpu_ms_per_command"},
                     Figure{sceneName(commandOf(Button::Cmdyg), "raster"), {}}, 1.3, true, kBesideRaster});
    goals.push_back({{kQueuedName, "longest_stall_ms"}, {}, 50, true});
    goals.push_back({{kQueuedName, "peak_rss_mb"}, {}, 64, true});
    return goals;
}

// The benchmarks --benchmark_filter selects, matched as the library matches
// them, and with them every figure a selected figure is measured against.
std::set<std::string> selected(const std::vector<std::string> &names, const std::vector<Goal> &goals)
{
    std::string filter = benchmark::GetBenchmarkFilter();
    if (filter.empty() || filter == "all")
        filter = ".";
    const bool negative = filter.front() == '-';
    const std::regex pattern(negative ? filter.substr(1) : filter, std::regex::extended);
    std::set<std::string> chosen;
    for (const std::string &name : names)
        if (std::regex_search(name, pattern) != negative)
            chosen.insert(name);
    for (const Goal &goal : goals)
        if (goal.against && chosen.count(goal.figure.benchmark))
            chosen.insert(goal.against->benchmark);
    return chosen;
}

// Runs the benchmarks of `names` that are chosen, in the order they were
// registered.
void runThose(const std::vector<std::string> &names, const std::set<std::string> &chosen, RatioReporter &reporter)
{
    std::string alternatives;
    for (const std::string &name : names)
        if (chosen.count(name))
            alternatives += (alternatives.empty() ? "" : "|") + name;
    if (!alternatives.empty())
        benchmark::RunSpecifiedBenchmarks(&reporter, "^(" + alternatives + ")(/|$)");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::string_view(argv[1]).starts_with(kLimitOption))
        return drawLimit(std::string(argv[1] + kLimitOption.size()));
    if (const std::optional<int> status = runRoutineChild(argc, argv))
        return *status;

    auto display = RatioReporter::forFormat(argc, argv);
    if (!display) {
        std::cerr << "sweepdraw-bench: the format can be console or json\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    std::vector<std::string> names = registerAll();
    std::vector<Goal> targets = goals();
    std::ranges::move(registerRecordBenchmarks(names), std::back_inserter(targets));
    std::ranges::move(registerRoutineBenchmarks(names), std::back_inserter(targets));
    std::ranges::move(registerEditBenchmarks(names), std::back_inserter(targets));
    registerTraceBenchmarks(names, targets);
    registerStepBenchmarks(names, targets);
    registerPaceBenchmarks(names, targets);
    std::set<std::string> chosen;
    try {
        chosen = selected(names, targets);
    } catch (const std::regex_error &) {
        std::cerr << "sweepdraw-bench: --benchmark_filter is not a regular expression\n";
        return 2;
    }
    if (chosen.empty()) {
        std::cerr << "sweepdraw-bench: no benchmark matches --benchmark_filter\n";
        return 1;
    }
    RatioReporter reporter(std::move(display), targets, std::cerr);

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
    allowSyntheticBoldAtAnySize();
    QApplication app(argc, argv);
    runThose(names, chosen, reporter);

    reporter.finish();
    benchmark::Shutdown();
    return 0;
}
