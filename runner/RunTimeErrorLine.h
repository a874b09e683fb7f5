#pragma once

#include <QString>

namespace sweepdraw {

// Writes the line a command's failure as it runs is told by on standard
// error: "sweepdraw: run-time error: MESSAGE", as a critical message when
// the failure ends the drawing, as a warning when the command was forgiven
// it and the drawing goes on.
void writeRunTimeError(const QString &message, bool endsTheDrawing);

} // namespace sweepdraw
