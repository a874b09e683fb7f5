#pragma once

#include "ExitStatus.h"

namespace sweepdraw {

struct Options;

// Runs the commands of `options` in order on a surface that draws nothing
// and writes each operation they make as one line of text (TraceSurface) to
// the --trace file, or to standard output for "-": the scenes and the
// routines alike, with no window and no picture. A run-time error is told
// on stderr and ends the run with ExitFailure, the lines of what was made
// before it written all the same. A signal to end stops the run with the
// signal's status and leaves no file half written. Returns the status to
// end with.
ExitStatus writeTrace(const Options &options);

} // namespace sweepdraw
