#pragma once

#include "Commands.h"

namespace sweepdraw {

// The file the command's scene is written in, as the build named it to the
// compiler: the file of the outermost loop running at the first operation
// the scene makes inside a loop. nullptr for a command whose action makes
// none, as "清除" and "退出". The scene is drawn, on a surface that draws
// nothing, as far as that operation.
const char *sceneFileOf(Button button);

} // namespace sweepdraw
