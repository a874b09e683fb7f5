#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"

#include <cmath>
#include <numbers>

namespace sweepdraw {

constexpr int kPetals = 7;

double petal(double t, int ring)
{
    return (1000 + 200 * ring) * std::cos(kPetals * t);
}

int colourOf(int n, double x)
{
    if (x > 6000)
        return 12;
    return n % 3 == 0 ? 9 : 1;
}

void DrawBenchRose(DrawingSurface &surface)
{
    check(surface.SetPenWidth(1));
    int n = 0;
    for (int ring = 0; ring < 8; ++ring) {
        for (double t = 0; t < 2 * std::numbers::pi; t += 0.0005) {
            const double r = petal(t, ring);
            const double x = 6000 + r * std::cos(t);
            const double y = 4140 + r * std::sin(t);
            n += 1;
            if (r < 0 && ring % 2 == 1)
                continue;
            check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(colourOf(n, x))));
        }
    }
}

} // namespace sweepdraw
