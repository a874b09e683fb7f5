#include "Scenes.h"

#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawMountains(DrawingSurface &surface)
{
    check(surface.SetPenWidth(2));
    check(surface.DrawBox(40, 40, 11950, 8220, PaletteColor(14)));
    check(surface.SetPenWidth(3));
    ColourPass(14, -1, 10, [&](int colour) {
        Sweep(555, 5555, 0.1, [&](double x) {
            const double q = x / 333;
            const double s = std::sin(q) * 0.4;
            const double y = 3000 - s * x;
            check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(colour)));
        });
    });
}

} // namespace sweepdraw
