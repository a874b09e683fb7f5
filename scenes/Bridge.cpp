#include "Scenes.h"

#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawBridge(DrawingSurface &surface)
{
    check(surface.SetPenWidth(3));
    Sweep(3.14, 0, -3.14 / 9999, [&](double t) {
        const double x = std::cos(t) * 3450 + 8350;
        const double y = 6000 - std::sin(t) * 1400;
        check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(5)));
    });
    check(surface.SetPenWidth(2));
    ColourPass(9, 1, 15, [&](int colour) {
        Sweep(6350, 10350, 800, [&](double k) {
            Sweep(3.14, 0, -3.14 / 9999, [&](double t) {
                const double x = k + std::cos(t) * 400;
                const double y = 5900 - std::sin(t) * 600;
                check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(colour)));
            });
        });
    });
}

} // namespace sweepdraw
