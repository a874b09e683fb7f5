#pragma once

#include "RatioReporter.h"

#include <string>
#include <vector>

namespace sweepdraw::bench {

// Registers the benchmarks of following a drawing step by step, adding
// their names to `names` in the order they run and the goals of their
// figures to `goals`:
//
//   BM_Step/sunshine/back      one step back in the sunshine's last pass,
//                              paused on a window's picture
//   BM_Step/sunshine/to_caret  running to the caret on the sunshine's
//                              colour pass: the whole of one pass, 187,110
//                              operations
//   BM_Step/all/what_drew/ray  which line drew a pixel, over all four
//                              scenes drawn: a ray of the sunshine
//   BM_Step/all/what_drew/blank  the same where nothing was drawn
void registerStepBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals);

} // namespace sweepdraw::bench
