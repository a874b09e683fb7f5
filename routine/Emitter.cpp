#include "Emitter.h"

#include "EmitterParts.h"

namespace sweepdraw {

void emitRoutine(const RoutineSyntax &syntax, RoutineProgram &program)
{
    program.code.reserve(syntax.exprs.size());
    emitting::Emitter emitter(syntax, program);
    emitter.survey();
    for (std::uint32_t f = 0; f < syntax.functions.size(); ++f)
        emitter.function(f);
    emitter.measureStack();
}

} // namespace sweepdraw
