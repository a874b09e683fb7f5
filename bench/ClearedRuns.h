#pragma once

#include "Commands.h"
#include "RuntimeError.h"

#include <benchmark/benchmark.h>

namespace sweepdraw::bench {

// Times the scene on `surface`, every run from a blank picture; the
// clearing is not timed.
template <typename Surface>
void onCleared(benchmark::State &state, const Command &scene, Surface &surface)
{
    for (auto _ : state) {
        state.PauseTiming();
        check(surface.ClearSurface());
        state.ResumeTiming();
        scene.action(surface);
        benchmark::DoNotOptimize(surface.image().constBits());
        benchmark::ClobberMemory();
    }
}

} // namespace sweepdraw::bench
