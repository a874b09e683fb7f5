#pragma once

#include "CoreInQt.h"
#include "Palette.h"

#include <QtGui/qrgb.h>

namespace sweepdraw::WindowColour {

// Every colour of the window but the code pane's, named for what it
// colours: the palette's own where the window uses one of its colours.
inline constexpr QRgb kBackground = toQRgb(PaletteColor(PaletteName::Green));
inline constexpr QRgb kPanelBorder = toQRgb(PaletteColor(PaletteName::Blue));
inline constexpr QRgb kPanel = toQRgb(PaletteColor(PaletteName::Black));
inline constexpr QRgb kTitle = toQRgb(PaletteColor(PaletteName::Yellow));
inline constexpr QRgb kName = toQRgb(PaletteColor(PaletteName::Lime));
inline constexpr QRgb kDate = qRgb(0, 192, 192);

// The divider between the picture and the code pane.
inline constexpr QRgb kDivider = qRgb(0x40, 0x40, 0x40);
inline constexpr QRgb kDividerLine = qRgb(0x80, 0x80, 0x80);

} // namespace sweepdraw::WindowColour
