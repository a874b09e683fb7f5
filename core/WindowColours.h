#pragma once

#include "Palette.h"

#include <QtGui/qrgb.h>

namespace sweepdraw::WindowColour {

// Every colour of the window, named for what it colours: the palette's own
// where the window uses one of its colours, and the code pane's greys.
inline constexpr QRgb kBackground = paletteColour(PaletteName::Green);
inline constexpr QRgb kPanelBorder = paletteColour(PaletteName::Blue);
inline constexpr QRgb kPanel = paletteColour(PaletteName::Black);
inline constexpr QRgb kTitle = paletteColour(PaletteName::Yellow);
inline constexpr QRgb kName = paletteColour(PaletteName::Lime);
inline constexpr QRgb kDate = qRgb(0, 192, 192);

inline constexpr QRgb kCode = qRgb(0x14, 0x14, 0x14);
inline constexpr QRgb kCodeText = qRgb(0xd8, 0xd8, 0xd8);
inline constexpr QRgb kCodeValue = qRgb(0xff, 0xff, 0x80);
inline constexpr QRgb kSwatchFrame = qRgb(0xa0, 0xa0, 0xa4);
inline constexpr QRgb kProgress = qRgb(0x24, 0x24, 0x24);
inline constexpr QRgb kProgressText = qRgb(0xe0, 0xe0, 0xe0);
inline constexpr QRgb kDivider = qRgb(0x40, 0x40, 0x40);
inline constexpr QRgb kDividerLine = qRgb(0x80, 0x80, 0x80);

} // namespace sweepdraw::WindowColour
