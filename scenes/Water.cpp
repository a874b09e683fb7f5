#include "Scenes.h"

#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

namespace sweepdraw {

void DrawWater(DrawingSurface &surface)
{
    check(surface.SetPenWidth(2));
    ColourPass(14, -1, 9, [&](int colour) {
        Sweep(4, 1, -1, [&](double i) {
            const double y = 7300 - 300 * i;
            const double a = 8350 - 800 * i;
            const double b = 8350 + 800 * i;
            Sweep(a, b, 0.1, [&](double x) {
                check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(colour)));
            });
        });
    });
}

} // namespace sweepdraw
