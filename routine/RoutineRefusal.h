#pragma once

#include "Fault.h"

#include <initializer_list>
#include <string>

namespace sweepdraw {

// The refusal the compiler throws from wherever it finds a fault in a
// routine file.
struct RoutineRefusal
{
    FaultMessage message;
};

[[noreturn]] void refuseRoutine(int line, int column, FaultKind kind, std::initializer_list<std::string> values = {});

} // namespace sweepdraw
