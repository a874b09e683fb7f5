#pragma once

#include "RuntimeError.h"

#include <QtGui/qrgb.h>

#include <array>
#include <cstddef>

namespace sweepdraw {

namespace detail {

// The fixed 16-colour table of the classic PC palette, all opaque.
inline constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
};

} // namespace detail

// Colour number n of the palette: 0 black, 1 navy, 2 green, 3 teal, 4 maroon,
// 5 purple, 6 olive, 7 silver, 8 grey, 9 blue, 10 lime, 11 cyan, 12 red,
// 13 magenta, 14 yellow, 15 white. A number outside 0 to 15 throws
// RuntimeError. Inline because the scenes look a colour up for every point.
inline QRgb PaletteColor(int n)
{
    if (n < 0 || n >= static_cast<int>(detail::kPalette.size())) [[unlikely]]
        throwRuntimeError("PaletteColor: colour number %d is outside 0 to 15", n);
    return detail::kPalette[static_cast<std::size_t>(n)];
}

} // namespace sweepdraw
