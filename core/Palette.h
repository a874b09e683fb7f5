#pragma once

#include "Colour.h"
#include "RuntimeError.h"

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
inline constexpr std::array<Colour, kPaletteSize> kPalette = {
    Colour(0, 0, 0),       Colour(0, 0, 128),   Colour(0, 128, 0),   Colour(0, 128, 128),
    Colour(128, 0, 0),     Colour(128, 0, 128), Colour(128, 128, 0), Colour(192, 192, 192),
    Colour(128, 128, 128), Colour(0, 0, 255),   Colour(0, 255, 0),   Colour(0, 255, 255),
    Colour(255, 0, 0),     Colour(255, 0, 255), Colour(255, 255, 0), Colour(255, 255, 255),
};

} // namespace detail

// Colour number n of the palette, as PaletteName names them. A number
// outside the palette throws RuntimeError. Inline because the scenes look a
// colour up for every point.
inline Colour PaletteColor(int n)
{
    if (n < 0 || n >= kPaletteSize) [[unlikely]]
        throwNumberFault(FaultKind::ColourOutside, {n, kPaletteSize - 1});
    return detail::kPalette[static_cast<std::size_t>(n)];
}

// The palette's colour of that name.
constexpr Colour PaletteColor(PaletteName name)
{
    return detail::kPalette[static_cast<std::size_t>(name)];
}

} // namespace sweepdraw
