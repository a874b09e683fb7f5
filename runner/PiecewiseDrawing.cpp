#include "PiecewiseDrawing.h"

#include "LoopRecorder.h"
#include "RuntimeError.h"
#include "VectorState.h"

namespace sweepdraw {

std::optional<RuntimeError> runAtOnce(const Action &action, DrawingSurface &surface)
{
    clearUpperVectorState();
    try {
        action(surface);
    } catch (const RuntimeError &error) {
        return error;
    }
    return std::nullopt;
}

// A point is noted before it lands: a point the target refuses ends the
// drawing, and with it the loops that the note is read with.
bool PiecewiseDrawing::noteLast(LoopRecorder *points, const Stop *stop, bool point, float x, float y)
{
    if (!points)
        return false;
    if (point)
        points->plotted(x, y);
    else
        points->forgetPoint();
    points->note();
    return stop && (*stop)(points->noted());
}

} // namespace sweepdraw
