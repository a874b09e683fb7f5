#pragma once

class QWidget;

namespace sweepdraw {

// Prints one warning line on stderr when no installed font can draw some
// character of the captions of `window`'s labels and buttons: they would
// show as empty boxes, on the screen and in a saved picture alike. The
// program goes on either way.
void warnOfMissingFonts(const QWidget &window);

} // namespace sweepdraw
