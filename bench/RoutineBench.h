#pragma once

#include "RatioReporter.h"

#include <optional>
#include <string>
#include <vector>

namespace sweepdraw::bench {

// Registers, for every scene, its own file run as a routine:
//
//   BM_Routine/<scene>/window   on the window at the instant speed, against
//                               the compiled scene run there beside it
//                               (x_compiled_beside)
//   BM_Routine/<scene>/raster   on the raster, against the compiled scene
//                               drawn beside it (the counter x_raster_beside)
//   BM_Routine/<scene>/null     on the null surface, where nothing hides the
//                               routine's own cost, against the compiled
//                               scene beside it (x_compiled_beside)
//   BM_Routine/<scene>/compile  reading and checking the file's text
//   BM_Routine/<scene>/memory   the peak resident memory of a process that
//                               draws the routine once on the raster, less
//                               that of one drawing the compiled scene
//                               (extra_mb)
//
// adds their names to `names`, in the order they run, and returns their
// goals.
std::vector<Goal> registerRoutineBenchmarks(std::vector<std::string> &names);

// When the arguments start the bench as the process the memory figure runs,
// runs it: its exit status.
std::optional<int> runRoutineChild(int argc, char **argv);

} // namespace sweepdraw::bench
