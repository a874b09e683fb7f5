#include "RoutineBench.h"

#include "CompiledRoutine.h"
#include "FaultEnglish.h"
#include "ShownStage.h"
#include "NullSurface.h"
#include "SceneFile.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <vector>

namespace sweepdraw {

// The learners' routines of bench/routines/, compiled into the bench.
void DrawBenchRose(DrawingSurface &surface);
void DrawBenchSpiral(DrawingSurface &surface);
void DrawBenchGrid(DrawingSurface &surface);

} // namespace sweepdraw

namespace sweepdraw::bench {

namespace {

// The routine may be this much slower than the compiled scene.
constexpr double kSlowerGoal = 1.5;
// A learner's routine, with branches, calls and variables that change, may
// be this much slower than the same file compiled into the bench.
constexpr double kLearnerSlowerGoal = 2.5;
// Reading and checking a scene file, or a file of the largest size a
// routine may have, in milliseconds.
constexpr double kCompileGoalMs = 1.0;
// The memory a running routine may take beyond the compiled scene's.
constexpr double kExtraMegabytesGoal = 2.0;

// The option that starts the bench as the process measuring memory:
// --peak-memory-of=<scene> draws the compiled scene, and
// --peak-memory-of=<file> the routine in that file.
constexpr std::string_view kMemoryOption = "--peak-memory-of=";

const std::string kBesideCompiled = "x_compiled_beside";

// A learner's routine in bench/routines/, compiled into the bench too.
struct Learner
{
    const char *name;
    const char *file;
    void (*draw)(DrawingSurface &surface);
};

const std::array<Learner, 3> kLearners = {{
    {"rose", "Rose.cpp", DrawBenchRose},
    {"spiral", "Spiral.cpp", DrawBenchSpiral},
    {"grid", "Grid.cpp", DrawBenchGrid},
}};

std::string routineName(const Command &scene, const std::string &what)
{
    return std::string("BM_Routine/") + scene.name + "/" + what;
}

// The scene's own file, as the compiled scene names it.
std::string fileOf(const Command &scene)
{
    return sceneFileOf(scene.button);
}

std::optional<CompiledRoutine> routineOf(const std::string &path)
{
    auto result = CompiledRoutine::compileFile(path);
    if (auto *routine = std::get_if<CompiledRoutine>(&result))
        return *routine;
    std::cerr << inEnglish(std::get<FaultMessage>(result), path) << '\n';
    return std::nullopt;
}

template <typename Draw>
double cpuMs(DrawingSurface &surface, Draw &&draw)
{
    prepareToDraw(surface);
    const double start = threadCpuSeconds();
    draw(surface);
    return (threadCpuSeconds() - start) * 1e3;
}

// The routine, timed by `routineMs` in the benchmark's loop, against the
// compiled scene, timed by `compiledMs` right after each drawing of it, as the
// counter `beside`: the median routine over the median compiled. Drawn in
// turn, the two meet the same speed of the processor, which on a virtual
// machine wanders by as much as half for seconds at a time; the medians
// leave out the drawings that another process cut into.
template <typename Compiled, typename Routine>
void routineBesideCompiled(benchmark::State &state, const std::string &beside, Compiled &&compiledMs,
                           Routine &&routineMs)
{
    const OnThisProcessor here;
    std::vector<double> routine;
    std::vector<double> compiled;
    for (auto _ : state) {
        const double ms = routineMs();
        state.SetIterationTime(ms / 1e3);
        routine.push_back(ms);
        compiled.push_back(compiledMs());
    }
    const double compiledMedian = percentile(compiled, 0.5);
    if (compiledMedian > 0)
        state.counters[beside] = percentile(routine, 0.5) / compiledMedian;
}

// The routine on `surface`, against the compiled scene on the same surface.
void againstCompiled(benchmark::State &state, const Command &scene, DrawingSurface &surface,
                     const std::string &beside)
{
    const std::optional<CompiledRoutine> routine = routineOf(fileOf(scene));
    if (!routine) {
        state.SkipWithError("the scene's file is refused as a routine");
        return;
    }
    routineBesideCompiled(
        state, beside, [&] { return cpuMs(surface, scene.action); },
        [&] { return cpuMs(surface, [&](DrawingSurface &on) { routine->run(on); }); });
}

void onRaster(benchmark::State &state, const Command &scene)
{
    RasterSurface surface(kDesignSize, 1.0);
    againstCompiled(state, scene, surface, kBesideRaster);
}

void onNull(benchmark::State &state, const Command &scene)
{
    NullSurface surface;
    againstCompiled(state, scene, surface, kBesideCompiled);
}

// The thread's CPU milliseconds for `command` drawn whole on the window at
// the instant speed, through its event loop, from a cleared picture.
double windowMs(ShownStage &window, const Runnable &command)
{
    const auto drawQueued = [&window] {
        while (!window.runner().isIdle())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    };
    window.runner().enqueue(Button::CmdCls);
    drawQueued();
    QCoreApplication::processEvents();
    clearUpperVectorState();
    const double start = threadCpuSeconds();
    window.runner().enqueue(command);
    drawQueued();
    return (threadCpuSeconds() - start) * 1e3;
}

// The routine as the window runs it at the instant speed, against the
// compiled scene run there beside it.
void onWindow(benchmark::State &state, const Command &scene)
{
    const std::optional<CompiledRoutine> routine = routineOf(fileOf(scene));
    if (!routine) {
        state.SkipWithError("the scene's file is refused as a routine");
        return;
    }
    const Runnable fromFile(*routine);
    ShownStage window(Speed::Instant);
    routineBesideCompiled(
        state, kBesideCompiled, [&] { return windowMs(window, scene.button); },
        [&] { return windowMs(window, fromFile); });
}

void onCompile(benchmark::State &state, const Command &scene)
{
    std::ifstream file(fileOf(scene), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string source = text.str();
    for (auto _ : state) {
        auto result = CompiledRoutine::compile(fileOf(scene), source);
        if (!std::holds_alternative<CompiledRoutine>(result)) {
            state.SkipWithError("the scene's file is refused as a routine");
            return;
        }
        benchmark::DoNotOptimize(result);
    }
}

// The learner's file interpreted, against the same file compiled into the
// bench, on the null surface.
void onLearner(benchmark::State &state, const Learner &learner)
{
    const std::optional<CompiledRoutine> routine = routineOf(std::string(SWEEPDRAW_BENCH_ROUTINES "/") + learner.file);
    if (!routine) {
        state.SkipWithError("the learner's file is refused as a routine");
        return;
    }
    NullSurface surface;
    routineBesideCompiled(
        state, kBesideCompiled, [&] { return cpuMs(surface, learner.draw); },
        [&] { return cpuMs(surface, [&](DrawingSurface &on) { routine->run(on); }); });
}

// A routine file as large as one may be: functions of loops, branches and
// calls, one after another, up to CompiledRoutine::kMaxSize bytes.
std::string largestRoutine()
{
    std::string text = "#include \"DrawingSurface.h\"\n#include \"Palette.h\"\n#include \"RuntimeError.h\"\n"
                       "#include <cmath>\n\nnamespace sweepdraw {\n\n";
    const std::string ending = "void DrawLarge(DrawingSurface &surface)\n{\n    check(surface.SetPenWidth(f0(1)));\n}"
                               "\n\n} // namespace sweepdraw\n";
    for (int i = 0;; ++i) {
        const std::string n = std::to_string(i);
        const std::string function = "int f" + n + "(int n)\n{\n    int total = " + n + ";\n"
                                     "    for (int i = 0; i < n; ++i) {\n"
                                     "        if (i % 3 == 0)\n            total += i * 2;\n"
                                     "        else\n            total -= static_cast<int>(std::sqrt(i + 1.0));\n"
                                     "    }\n    return total > 0 ? total : -total;\n}\n\n";
        if (text.size() + function.size() + ending.size() > CompiledRoutine::kMaxSize)
            break;
        text += function;
    }
    return text + ending;
}

void onLargestCompile(benchmark::State &state)
{
    const std::string source = largestRoutine();
    for (auto _ : state) {
        auto result = CompiledRoutine::compile("large.cpp", source);
        if (!std::holds_alternative<CompiledRoutine>(result)) {
            state.SkipWithError(inEnglish(std::get<FaultMessage>(result), "large.cpp").c_str());
            return;
        }
        benchmark::DoNotOptimize(result);
    }
    state.counters["bytes"] = static_cast<double>(source.size());
}

std::optional<double> peakMegabytesOf(const std::string &drawn)
{
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const std::optional<std::string> output = outputOfRun(self, {std::string(kMemoryOption) + drawn});
    if (!output)
        return std::nullopt;
    return std::strtod(output->c_str(), nullptr);
}

void onMemory(benchmark::State &state, const Command &scene)
{
    double extra = 0;
    for (auto _ : state) {
        const std::optional<double> compiled = peakMegabytesOf(scene.name);
        const std::optional<double> routine = peakMegabytesOf(fileOf(scene));
        if (!compiled || !routine) {
            state.SkipWithError("the process drawing the scene did not report its memory");
            return;
        }
        extra = *routine - *compiled;
        state.counters["compiled_mb"] = *compiled;
        state.counters["routine_mb"] = *routine;
    }
    state.counters["extra_mb"] = extra;
}

} // namespace

std::vector<Goal> registerRoutineBenchmarks(std::vector<std::string> &names)
{
    std::vector<Goal> goals;
    for (const Command &scene : kCommands) {
        if (!scene.draws())
            continue;
        registerNamed(names, routineName(scene, "window"), onWindow, scene)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
        registerNamed(names, routineName(scene, "raster"), onRaster, scene)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
        registerNamed(names, routineName(scene, "null"), onNull, scene)->Unit(benchmark::kMillisecond)->UseManualTime();
        registerNamed(names, routineName(scene, "compile"), onCompile, scene)->Unit(benchmark::kMillisecond);
        registerNamed(names, routineName(scene, "memory"), onMemory, scene)->Iterations(1);
        const std::string scenes = std::string("BM_Scene/") + scene.name;
        goals.push_back({{routineName(scene, "window"), {}}, Figure{scenes + "/window", {}}, kSlowerGoal, true,
                         kBesideCompiled});
        goals.push_back({{routineName(scene, "raster"), {}}, Figure{scenes + "/raster", {}}, kSlowerGoal, true,
                         kBesideRaster});
        goals.push_back({{routineName(scene, "compile"), {}}, {}, kCompileGoalMs, true});
        goals.push_back({{routineName(scene, "memory"), "extra_mb"}, {}, kExtraMegabytesGoal, true});
    }
    for (const Learner &learner : kLearners) {
        const std::string name = std::string("BM_Routine/") + learner.name + "/null";
        registerNamed(names, name, onLearner, learner)->Unit(benchmark::kMillisecond)->UseManualTime();
        goals.push_back({{name, kBesideCompiled}, {}, kLearnerSlowerGoal, true});
    }
    registerNamed(names, "BM_Routine/largest/compile", onLargestCompile)->Unit(benchmark::kMillisecond);
    goals.push_back({{"BM_Routine/largest/compile", {}}, {}, kCompileGoalMs, true});
    return goals;
}

std::optional<int> runRoutineChild(int argc, char **argv)
{
    if (argc != 2 || !std::string_view(argv[1]).starts_with(kMemoryOption))
        return std::nullopt;
    const std::string drawn(argv[1] + kMemoryOption.size());
    RasterSurface surface(kDesignSize, 1.0);
    if (const std::optional<Button> button = commandByName(drawn)) {
        commandOf(*button).action(surface);
    } else {
        const std::optional<CompiledRoutine> routine = routineOf(drawn);
        if (!routine)
            return 2;
        routine->run(surface);
    }
    // The process's own peak, VmHWM: getrusage's would be at least the
    // peak of the bench that started it, which Linux keeps across exec.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            std::cout << std::strtod(line.c_str() + 6, nullptr) / 1024.0 << '\n';
            return 0;
        }
    }
    return 1;
}

} // namespace sweepdraw::bench
