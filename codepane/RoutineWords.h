#pragma once

#include "RoutineFault.h"

#include <QString>

namespace sweepdraw {

class RuntimeError;

// A routine's fault, refused or met at run time, in the user's language:
// the engine's wording (englishOf) translated in the "RoutineFault"
// context, the fault's values in place.
QString wordedFault(const RoutineMessage &message);

// As compilers write it, the words translated but not the form, so that
// editors can still jump to it: "FILE:LINE:COLUMN: error: what", one line
// safe to print.
QString wordedRefusal(const RoutineMessage &message, const QString &fileName);

// A command's failure in the user's language: a routine's run-time error
// worded as above, "FILE:LINE: error: what"; any other as the engine says
// it. For setFailureWording (FailureWording.h).
QString wordedRunTimeError(const RuntimeError &error);

} // namespace sweepdraw
