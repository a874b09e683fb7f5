#include "RoutineRefusal.h"

namespace sweepdraw {

void refuseRoutine(int line, int column, FaultKind kind, std::initializer_list<std::string> values)
{
    throw RoutineRefusal{{kind, std::vector<std::string>(values), line, column}};
}

} // namespace sweepdraw
