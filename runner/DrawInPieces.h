#pragma once

#include "PiecewiseDrawing.h"

#include <memory>
#include <vector>

namespace sweepdraw {

class Runnable;

// `command` drawn on `target` a piece at a time, noting where it is on
// `points`, if given: a routine, or "清除", by RoutineDrawing, and any other
// command by drawActionInPieces. The command's pen is the caller's to
// restore (Runnable::restorePenOn) before it lands.
std::unique_ptr<PiecewiseDrawing> drawInPieces(const Runnable &command, DrawingSurface &target,
                                               LoopRecorder *points = nullptr);

// `commands` drawn one after another on `target` a piece at a time, each
// starting on the pen it started on (Runnable::restorePenOn), which is an
// operation of the drawing's where the pen is set.
std::unique_ptr<PiecewiseDrawing> drawInPieces(std::vector<Runnable> commands, DrawingSurface &target);

// `action` drawn a piece at a time. Where the build has fibers, by
// FiberDrawing (FiberDrawing.cpp); where it has none, as in the page's
// build, the action cannot wait part way, and it lands whole at the first
// land(), however few operations it was let through (ActionAtOnce.cpp):
// exact only for an action of one operation.
std::unique_ptr<PiecewiseDrawing> drawActionInPieces(Action action, DrawingSurface &target,
                                                     LoopRecorder *points = nullptr);

} // namespace sweepdraw
