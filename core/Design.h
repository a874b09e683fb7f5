#pragma once

#include "Geometry.h"

namespace sweepdraw {

// The window was laid out, and the scenes draw, in twips: 15 of them make a
// pixel at zoom 1.
inline constexpr int kTwipsPerPixel = 15;

// The window's client area at zoom 1, in pixels, which its picture fills.
inline constexpr Size kDesignSize{800, 552};

} // namespace sweepdraw
