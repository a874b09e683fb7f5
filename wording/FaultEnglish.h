#pragma once

#include "Fault.h"

#include <string>

namespace sweepdraw {

class RuntimeError;

// The engine's faults in English, as a compiler writes them. The English
// wording of each kind is the one source text of its translations, in the
// "Fault" context: the layers that show a fault in the user's language
// translate it (FaultWords.h), and a page or a program without
// translations shows it as it stands.

// The English wording of `kind`, with %1 to %9 where its values go.
const char *englishOf(FaultKind kind);

// The fault in English, its values in place.
std::string inEnglish(const FaultMessage &message);
// As compilers write it (FaultMessage::located), in English.
std::string inEnglish(const FaultMessage &message, const std::string &fileName);
// A command's failure in English, with the file it names, if any.
std::string inEnglish(const RuntimeError &error);

} // namespace sweepdraw
