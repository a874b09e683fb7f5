#pragma once

#include "ChildCpu.h"
#include "Commands.h"
#include "Design.h"
#include "DrawingSurface.h"
#include "RasterSurface.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sweepdraw::bench {

// The value below which `share` of the values lie.
inline double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Registers a benchmark and keeps its name in `names`, in the order they
// run.
template <typename... Run>
benchmark::internal::Benchmark *registerNamed(std::vector<std::string> &names, const std::string &name, Run &&...run)
{
    names.push_back(name);
    return benchmark::RegisterBenchmark(name.c_str(), std::forward<Run>(run)...);
}

inline double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The processor time of the whole process, and of the calling thread.
inline double processCpuSeconds()
{
    return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

inline double threadCpuSeconds()
{
    return cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// A blank picture to draw on and, as the window's runner does before every
// piece of drawing, the upper vector state cleared.
inline void prepareToDraw(DrawingSurface &surface)
{
    check(surface.ClearSurface());
    clearUpperVectorState();
}

// The thread's CPU milliseconds for one drawing of the scene.
inline double drawingMs(const Command &scene, DrawingSurface &surface)
{
    const double start = threadCpuSeconds();
    scene.action(surface);
    return (threadCpuSeconds() - start) * 1e3;
}

// Times the scene on `surface`, every run from a blank picture; the clearing
// is not timed. Returns the CPU milliseconds of one drawing, as timed.
template <typename Surface>
double onCleared(benchmark::State &state, const Command &scene, Surface &surface)
{
    double totalMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepareToDraw(surface);
        state.ResumeTiming();
        totalMs += drawingMs(scene, surface);
        benchmark::DoNotOptimize(surface.pixels());
        benchmark::ClobberMemory();
    }
    return state.iterations() > 0 ? totalMs / static_cast<double>(state.iterations()) : 0;
}

// The ratio of what `measure` gives to the mean of what `reference` gives
// just before and just after it, all on the processor this thread is on,
// as the state's counter `name`: the speed of a virtual machine's
// processors wanders, each on its own, by as much as half for seconds or
// minutes at a time. No counter if any of the three gave nothing.
template <typename Reference, typename Measure>
void counterBeside(benchmark::State &state, const std::string &name, Reference &&reference, Measure &&measure)
{
    const OnThisProcessor here;
    const std::optional<double> before = reference();
    if (!before)
        return;
    const std::optional<double> figure = measure();
    if (!figure)
        return;
    const std::optional<double> after = reference();
    if (!after)
        return;
    state.counters[name] = *figure / ((*before + *after) / 2);
}

// A counter: a figure over the raster's drawn beside it by rasterMs().
inline const std::string kBesideRaster = "x_raster_beside";

// The CPU milliseconds of one drawing of `scene` on the raster, as
// BM_Scene/<scene>/raster draws it: the mean of a few.
inline std::optional<double> rasterMs(const Command &scene)
{
    constexpr int kDraws = 5;
    RasterSurface surface(kDesignSize, 1.0);
    double totalMs = 0;
    for (int i = 0; i < kDraws; ++i) {
        prepareToDraw(surface);
        totalMs += drawingMs(scene, surface);
    }
    return totalMs / kDraws;
}

} // namespace sweepdraw::bench
