#pragma once

#include "Commands.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace sweepdraw::bench {

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

// Times the scene on `surface`, every run from a blank picture, and, as the
// window's runner does before every piece of drawing, with the upper vector
// state cleared; the clearing is not timed. Returns the CPU milliseconds of
// one drawing, as timed.
template <typename Surface>
double onCleared(benchmark::State &state, const Command &scene, Surface &surface)
{
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        check(surface.ClearSurface());
        clearUpperVectorState();
        state.ResumeTiming();
        const double start = threadCpuSeconds();
        scene.action(surface);
        seconds += threadCpuSeconds() - start;
        benchmark::DoNotOptimize(surface.image().constBits());
        benchmark::ClobberMemory();
    }
    return state.iterations() > 0 ? seconds * 1e3 / static_cast<double>(state.iterations()) : 0;
}

} // namespace sweepdraw::bench
