#pragma once

#include <string>

namespace sweepdraw {

// A loop of a routine as written: the line its call starts on, the line it
// ends on, and the name its body gives the counter.
struct RoutineLoop
{
    int firstLine = 0;
    int lastLine = 0;
    std::string counter;
};

// A call of a surface operation as written: the line the operation is named
// on, the operation ("PlotPoint"), and the first line of the innermost loop
// it is made in, 0 outside every loop.
struct RoutineCall
{
    int line = 0;
    std::string operation;
    int loopLine = 0;
};

} // namespace sweepdraw
