#pragma once

#include "RatioReporter.h"

#include <vector>

namespace sweepdraw::bench {

// Registers the benchmarks of the loops' recording and of the code pane,
// and adds the goals of their figures to those given:
//
//   BM_Scene/<scene>/recorded  the scene on a RasterSurface, as `raster`
//                              times it, with its loops recording
//   BM_CodePane/sunshine/normal     the sunshine at the normal speed on the
//                              window with the code pane shown, on the
//                              steady clock: the share of one core used
//   BM_CodePane/sunshine/frames     the same on a clock moved 16 ms a frame,
//                              with the pane shown and hidden: what a frame
//                              costs each way, and the difference, the pane's
void registerTraceBenchmarks(std::vector<RatioGoal> &ratios, std::vector<CounterGoal> &figures);

} // namespace sweepdraw::bench
