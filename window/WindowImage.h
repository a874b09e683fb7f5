#pragma once

#include "CommandRunner.h"
#include "Commands.h"

#include <QImage>
#include <QList>

namespace sweepdraw {

class Form1;

// The whole window at its design size, 800 x 552 pixels of 15 twips each, as
// a picture file shows it: what --save writes and every frame of a recording
// shows. `form` is a window that has never been shown, at zoom 1, so that
// no button shows the focus or the pointer.
QImage renderWindow(Form1 &form);

// The same for a window whose picture shows `pictures` and, of the command
// under way, what `progress` says has landed: drawn afresh at zoom 1 on a
// window of its own, whatever the zoom and the state of the window on the
// screen.
QImage renderWindow(const QList<Runnable> &pictures, const DrawingProgress &progress);

} // namespace sweepdraw
