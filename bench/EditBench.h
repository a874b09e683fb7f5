#pragma once

#include "RatioReporter.h"

#include <string>
#include <vector>

namespace sweepdraw::bench {

// Registers, for every scene, its file edited as the learner's routine in
// the window's code pane:
//
//   BM_Edit/<scene>   from a number changed in the code, as a drag or
//                     Alt+Up changes it, to the picture showing the
//                     routine finished, on a blank picture at zoom 1
//   BM_Edit/idle      the window with the pane shown on a learner's
//                     routine, left alone: the timers it holds (none)
//                     and the processor time of a second of it
//
// adds their names to `names`, in the order they run, and returns their
// goals.
std::vector<Goal> registerEditBenchmarks(std::vector<std::string> &names);

} // namespace sweepdraw::bench
