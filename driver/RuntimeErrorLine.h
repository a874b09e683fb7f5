#pragma once

#include <QString>

namespace sweepdraw {

class RuntimeError;

// `text` as escapeForMessage (MessageText.h) makes it safe to quote in a
// message: one line, with its control characters and direction marks
// escaped.
QString escapeForMessage(const QString &text);

// Writes the line a command's failure as it runs is told by on standard
// error: "sweepdraw: run-time error: MESSAGE", the message escaped, as a critical message when
// the failure ends the drawing, as a warning when the command was forgiven
// it and the drawing goes on.
void writeRuntimeError(const QString &message, bool endsTheDrawing);
// The same for `failure`, worded in the user's language (FaultWords.h).
void writeRuntimeError(const RuntimeError &failure, bool endsTheDrawing);

} // namespace sweepdraw
