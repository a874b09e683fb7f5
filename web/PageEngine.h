#pragma once

// What the files of the page's C interface share: the picture a command
// draws on, a routine as the page holds it, and failures kept as JSON.

#include "CompiledRoutine.h"
#include "Design.h"
#include "RasterSurface.h"
#include "Runnable.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace sweepdraw::page {

// A RasterSurface and beside it a buffer of straight RGBA bytes, the form a
// canvas's ImageData takes, filled for the rectangle asked for.
struct Picture
{
    explicit Picture(double ratio)
        : surface(kDesignSize, ratio)
    {
    }

    RasterSurface surface;
    std::vector<std::uint8_t> rgba;
    int dirty[4] = {};
};

// A routine compiled once, and the command that draws it: the runner keeps
// copies of the command, which all stand for this routine.
struct Routine
{
    explicit Routine(CompiledRoutine routine)
        : compiled(std::move(routine))
        , command(compiled)
    {
    }

    CompiledRoutine compiled;
    Runnable command;
};

// A command's failure as JSON: a routine's fault as data, for the page to
// word in its language; any other, such as a surface operation's, as the
// engine words it, which the desktop shows as it stands too.
std::string failureJson(const std::exception &error);

// Keeps `json` as the last failure, which sd_error() gives.
void keepError(std::string json);

} // namespace sweepdraw::page
