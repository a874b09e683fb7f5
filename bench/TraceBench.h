#pragma once

#include "RatioReporter.h"

#include <string>
#include <vector>

namespace sweepdraw::bench {

// Registers the benchmarks of the loops' recording and of the code pane,
// adding their names to `names` in the order they run, and adds the goals of
// their figures to `goals`:
//
//   BM_Scene/<scene>/recorded  the scene on a RasterSurface, as `raster`
//                              times it, with its loops recording
//   BM_CodePane/sunshine/normal     the sunshine at the normal speed on the
//                              window with the code pane shown, on the
//                              steady clock: the share of one core used
//   BM_CodePane/sunshine/frames     the same on a clock moved 16 ms a frame,
//                              with the pane shown and hidden: what a frame
//                              costs each way, and the difference, the pane's
void registerTraceBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals);

} // namespace sweepdraw::bench
