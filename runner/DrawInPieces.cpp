#include "DrawInPieces.h"

#include "RoutineDrawing.h"
#include "Runnable.h"

#include <algorithm>
#include <utility>

namespace sweepdraw {

std::unique_ptr<PiecewiseDrawing> drawInPieces(const Runnable &command, DrawingSurface &target, LoopRecorder *points)
{
    if (RoutineDrawing::draws(command))
        return std::make_unique<RoutineDrawing>(std::vector{command}, false, target, points);
    return drawActionInPieces(actionOf(command), target, points);
}

std::unique_ptr<PiecewiseDrawing> drawInPieces(std::vector<Runnable> commands, DrawingSurface &target)
{
    if (std::all_of(commands.begin(), commands.end(), RoutineDrawing::draws))
        return std::make_unique<RoutineDrawing>(std::move(commands), true, target);
    return drawActionInPieces(
        [commands = std::move(commands)](DrawingSurface &surface) {
            for (const Runnable &command : commands) {
                command.restorePenOn(surface);
                command.draw(surface);
            }
        },
        target);
}

} // namespace sweepdraw
