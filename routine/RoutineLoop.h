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

} // namespace sweepdraw
