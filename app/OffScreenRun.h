#pragma once

#include "ExitStatus.h"

namespace sweepdraw {

struct Options;

// Draws the commands of `options` on a stage of its own and writes the files
// asked for, with no window, no code pane and nothing of the learner's. With
// a path to record to, draws them at the chosen speed by a clock of its own
// and records them; with a path to save to, draws them (at once, unless
// recorded) and saves the stage there. A run-time error is told on stderr
// and ends the run with ExitFailure. Returns the status to end with, which
// for a signal to end that came meanwhile is the signal's (ExitSignals):
// the work hears it between its pieces and in the drawing's loops, and
// leaves no file half written.
ExitStatus runOffScreen(const Options &options);

} // namespace sweepdraw
