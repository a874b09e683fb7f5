#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawStar(DrawingSurface &surface)
{
    int i = 0;
    float f = 1.5f;
    bool on = true;
    while (i < 10) {
        i += 2;
        f *= 1.25f;
        if (i % 4 == 0)
            continue;
        on = !on;
    }
    do {
        --i;
        f -= 0.5f;
    } while (i > 3 && f > 0);
    int k = 17;
    k /= 3;
    k %= 4;
    int step = 3;
    Sweep(0, 10, 1, [&](double t) {
        const int x = static_cast<int>(t) * k + i;
        check(surface.DrawBox(x, 2, x + 3, 5, PaletteColor(on ? 14 : 4)));
        if (step-- < 0)
            return;
    });
    ColourPass(1, 2, 15, [&](int colour) {
        check(surface.DrawCircle(40, 28, static_cast<float>(colour) + f, PaletteColor(colour)));
    });
    int b = 5;
    for (int a = 0; a < b; a++) {
        --b;
        check(surface.PlotPoint(a, b, PaletteColor(a == 2 ? 1 : 2)));
    }
}

} // namespace sweepdraw
