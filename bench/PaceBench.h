#pragma once

#include "RatioReporter.h"
#include "Speed.h"
#include "Commands.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace sweepdraw::bench {

// Clicks the buttons on a shown off-screen window at `speed` and runs the
// event loop until all is drawn, with a timer asking for the event loop
// every millisecond: the longest gap between its calls is the longest the
// window could not answer. Reports the wall time, the share of one core the
// process used, the intervals between paints of the picture, that longest
// stall, the wall and CPU time per command and the peak resident memory.
void measurePaced(benchmark::State &state, const std::vector<Button> &clicks, Speed speed);

// Registers the benchmarks of the window's pace, adding their names to
// `names` in the order they run and the goals of their figures to `goals`:
//
//   BM_Paced/sunshine/normal    the sunshine at the normal speed
//   BM_Paced/all/<speed>        the four scenes at the slow, normal and fast
//                               speeds, each measured as measurePaced does
//   BM_Fiber/round_trip         a switch into a fiber and back out of it
void registerPaceBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals);

} // namespace sweepdraw::bench
