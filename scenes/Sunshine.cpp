#include "Scenes.h"

#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawSunshine(DrawingSurface &surface)
{
    check(surface.SetPenWidth(3));
    check(surface.DrawCircle(8000, 2000, 500, PaletteColor(14)));
    check(surface.SetPenWidth(66));
    check(surface.DrawCircle(8000, 2000, 0, PaletteColor(12)));
    check(surface.SetPenWidth(1));
    ColourPass(9, 1, 15, [&](int colour) {
        Sweep(666, 1800, 0.2, [&](double r) {
            const double step = 6.283192 / 32;
            Sweep(0, 6.283192, step, [&](double a) {
                const double x = std::cos(a) * r + 8000;
                const double y = std::sin(a) * r + 2000;
                check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(colour)));
            });
        });
    });
}

} // namespace sweepdraw
