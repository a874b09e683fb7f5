#pragma once

#include <QString>

namespace sweepdraw {

class RuntimeError;

// How a command's failure is put into words: what() as the engine words it,
// in English, unless the layer that shows it has installed a wording of its
// own, as the window does for routines' errors in the user's language.
using FailureWording = QString (*)(const RuntimeError &error);
void setFailureWording(FailureWording wording);
QString wordedFailure(const RuntimeError &error);

// `text` as escapeForMessage (MessageText.h) makes it safe to quote in a
// message: one line, with its control characters and direction marks
// escaped.
QString escapeForMessage(const QString &text);

// Writes the line a command's failure as it runs is told by on standard
// error: "sweepdraw: run-time error: MESSAGE", the message escaped, as a critical message when
// the failure ends the drawing, as a warning when the command was forgiven
// it and the drawing goes on.
void writeRunTimeError(const QString &message, bool endsTheDrawing);

} // namespace sweepdraw
