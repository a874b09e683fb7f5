#pragma once

#include "CommandRunner.h"
#include "Commands.h"

#include <QImage>
#include <vector>

namespace sweepdraw {

// The window at its design size, 800 x 552 pixels of 15 twips each, as a
// picture file shows it, for a picture that shows `pictures` and, of the
// command under way, what `progress` says has landed: drawn afresh at zoom 1
// on a stage of its own, whatever the zoom and the state of the window on
// the screen.
QImage renderWindow(const std::vector<Runnable> &pictures, const DrawingProgress &progress);

} // namespace sweepdraw
