#pragma once

#include "Fault.h"

#include <QString>

namespace sweepdraw {

class RuntimeError;

// A fault of the engine, a routine refused or a drawing stopped, in the
// user's language: its English wording (englishOf, FaultEnglish.h) translated in the
// "Fault" context, the fault's values in place, the phrases among them
// translated as well.
QString wordedFault(const FaultMessage &message);

// As compilers write it, the words translated but not the form, so that
// editors can still jump to it: "FILE:LINE:COLUMN: error: what", one line
// safe to print; what alone with no file.
QString wordedRefusal(const FaultMessage &message, const QString &fileName);

// A command's failure in the user's language, worded as above with the
// file it names, if any.
QString wordedRuntimeError(const RuntimeError &error);

} // namespace sweepdraw
