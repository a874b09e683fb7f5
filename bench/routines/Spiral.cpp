#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace sweepdraw {

const double kGrowth = 0.35;

int shade(int step)
{
    const int band = step / 500 % 6;
    return band < 3 ? 10 + band : 2 + band;
}

float coordinate(double centre, double radius, double angle, bool across)
{
    const double offset = across ? radius * std::sin(angle) : radius * std::cos(angle);
    return static_cast<float>(std::min(12000.0, std::max(0.0, centre + offset)));
}

void DrawBenchSpiral(DrawingSurface &surface)
{
    check(surface.SetPenWidth(2));
    double angle = 0;
    double radius = 10;
    int step = 0;
    while (radius < 4000) {
        const float x = coordinate(6000, radius, angle, false);
        const float y = coordinate(4140, radius, angle, true);
        if (step % 7 != 3)
            check(surface.PlotPoint(x, y, PaletteColor(shade(step))));
        angle += 0.01;
        radius += kGrowth * (step % 2 == 0 ? 1.0 : 0.5);
        step++;
    }
}

} // namespace sweepdraw
