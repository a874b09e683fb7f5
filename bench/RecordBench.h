#pragma once

#include "RatioReporter.h"

#include <string>
#include <vector>

namespace sweepdraw::bench {

// Registers BM_Record/sunshine/<format>: one sunshine recorded at the normal
// speed, as --record does, into a GIF and a WebP file. Each reports the wall
// time it took (wall_s), the file's size in megabytes of 10^6 bytes
// (size_mb) and the process's peak resident memory so far (peak_rss_mb),
// adds their names to `names`, in the order they run, and returns the goals
// for those figures.
std::vector<Goal> registerRecordBenchmarks(std::vector<std::string> &names);

} // namespace sweepdraw::bench
