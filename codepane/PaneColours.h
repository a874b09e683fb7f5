#pragma once

#include <QtGui/qrgb.h>

namespace sweepdraw::PaneColour {

// The code pane's colours, named for what they colour: greys for the code
// and the progress above it, the loops' values a light yellow.
inline constexpr QRgb kCode = qRgb(0x14, 0x14, 0x14);
inline constexpr QRgb kCodeText = qRgb(0xd8, 0xd8, 0xd8);
inline constexpr QRgb kCodeValue = qRgb(0xff, 0xff, 0x80);
inline constexpr QRgb kSwatchFrame = qRgb(0xa0, 0xa0, 0xa4);
inline constexpr QRgb kProgress = qRgb(0x24, 0x24, 0x24);
inline constexpr QRgb kProgressText = qRgb(0xe0, 0xe0, 0xe0);

} // namespace sweepdraw::PaneColour
