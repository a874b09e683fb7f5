#include "Emitter.h"

#include "EmitterParts.h"

namespace sweepdraw {

void emitRoutine(const RoutineSyntax &syntax, RoutineProgram &program)
{
    program.code.reserve(syntax.exprs.size());
    emitting::Emitter emitter(syntax, program);
    for (const FunctionSyntax &function : syntax.functions)
        emitter.function(function);
}

} // namespace sweepdraw
