#pragma once

namespace sweepdraw {

// A width and a height in whole pixels.
struct Size
{
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const Size &, const Size &) = default;
};

// The pixels from column x and row y on, `width` across and `height` down;
// empty when either is 0.
struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr bool empty() const noexcept { return width <= 0 || height <= 0; }

    friend constexpr bool operator==(const Rect &, const Rect &) = default;
};

} // namespace sweepdraw
