#pragma once

#include "Runnable.h"
#include "LoopRecorder.h"

#include <optional>
#include <vector>

namespace sweepdraw {

// The operation that last painted a pixel of the picture, and where its
// command was when it made it.
struct DrawnBy
{
    Runnable command;        // the command that made it
    long long operation = 0; // counted from 1 in that command
    LoopState at;            // its loops then, and its point if it plotted one
    const char *call = "";   // the surface operation: "PlotPoint", "DrawCircle", ...
    // Made outside every loop: how many operations the command made there
    // before it; -1 if made in a loop.
    int outsideIndex = -1;
};

// Which operation last painted the device pixel at column `x` and row `y` of a picture drawn
// at `devicePixelRatio` that shows `pictures` and then the first `landed`
// operations of `underWay`, as PictureHistory draws them; nothing if none
// did, or if the pixel is off the picture.
//
// The drawing is exact, so this is the drawing again, with a question: on a
// surface of the same size, every operation of a command paints in a colour
// of its own, its number, and the pixel's colour tells the last. The
// commands are drawn so from the last, until one has painted the pixel; it
// then runs again as far as that operation, with its loops recorded.
std::optional<DrawnBy> whatDrew(const std::vector<Runnable> &pictures, const std::optional<Runnable> &underWay,
                                long long landed, double devicePixelRatio, int x, int y);

} // namespace sweepdraw
