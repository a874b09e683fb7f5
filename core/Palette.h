#pragma once

#include "RuntimeError.h"

#include <QtGui/qrgb.h>

#include <array>
#include <cstddef>

namespace sweepdraw {

// How many colours the palette has, numbered from 0.
inline constexpr int kPaletteSize = 16;

// The palette's colours by name, for code that means one of them rather than
// works out its number.
enum class PaletteName {
    Black, Navy, Green, Teal, Maroon, Purple, Olive, Silver,
    Grey, Blue, Lime, Cyan, Red, Magenta, Yellow, White,
};

namespace detail {

// The fixed table of the classic PC palette, all opaque, in the order of
// PaletteName.
inline constexpr std::array<QRgb, kPaletteSize> kPalette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
};

} // namespace detail

// Colour number n of the palette, as PaletteName names them. A number
// outside the palette throws RuntimeError. Inline because the scenes look a
// colour up for every point.
inline QRgb PaletteColor(int n)
{
    if (n < 0 || n >= kPaletteSize) [[unlikely]]
        throwRuntimeError("PaletteColor: colour number %d is outside 0 to %d", n, kPaletteSize - 1);
    return detail::kPalette[static_cast<std::size_t>(n)];
}

// The palette's colour of that name.
constexpr QRgb paletteColour(PaletteName name)
{
    return detail::kPalette[static_cast<std::size_t>(name)];
}

} // namespace sweepdraw
