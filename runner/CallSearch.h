#pragma once

#include "CallSurface.h"
#include "LoopRecorder.h"
#include "PiecewiseDrawing.h"

#include <memory>
#include <optional>

namespace sweepdraw {

class Runnable;

// Finds, a piece at a time, the operation a command makes outside every
// loop `index`th there, as operationOutsideLoops() does at once: the
// command is drawn again on a CallSurface of its own, with loops recorded
// on a recorder of its own, so that nothing shows on the picture and the
// loops the picture's drawing records are left alone.
class CallSearch
{
public:
    CallSearch(const Runnable &command, int index);

    // Draws on until the command has ended at the call, or before it, or
    // the deadline has passed: whether the search is over.
    bool land(std::optional<PiecewiseDrawing::Deadline> deadline);
    // Once it is over: the number, counted from 1, of the call's
    // operation; 0 if the command makes fewer calls outside its loops.
    long long found() const;

private:
    CallSurface m_calls;
    LoopRecorder m_loops;
    std::unique_ptr<PiecewiseDrawing> m_drawing;
};

} // namespace sweepdraw
