#pragma once

#include "ExitStatus.h"

#include <optional>

namespace sweepdraw {

// Chooses the platform before the application starts: off-screen when no
// window is wanted, for a picture that is only saved or recorded. When a
// window is wanted and there is no display for it, prints an error and
// returns ExitUsage, the status to end with; a display that fails later, as
// Qt connects to it, ends the program with a plain message and ExitUsage
// too, rather than Qt's abort.
std::optional<ExitStatus> choosePlatform(bool windowWanted);

} // namespace sweepdraw
