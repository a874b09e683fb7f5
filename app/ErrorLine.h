#pragma once

#include <QString>

namespace sweepdraw {

// Prints `message` on stderr as one line after the program's name, with
// control characters escaped.
void printError(const QString &message);

} // namespace sweepdraw
