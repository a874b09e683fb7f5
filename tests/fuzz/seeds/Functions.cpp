#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sweepdraw {

constexpr int kPetals = 5;
const double kRadius = 20.0;

int colourOf(int n)
{
    return n % 2 == 0 ? 12 : 9;
}

double petal(double t)
{
    return kRadius * std::cos(kPetals * t);
}

bool inside(double x, double y)
{
    return x > 0 && (y >= 0 || !(x < 5));
}

void dot(DrawingSurface &surface, double x, double y, int colour)
{
    if (!inside(x + 40, y + 28))
        return;
    check(surface.PlotPoint(static_cast<float>(x + 40), static_cast<float>(y + 28), PaletteColor(colour)));
}

int depth(int n)
{
    return n <= 0 ? 0 : 1 + depth(n - 1);
}

void DrawRose(DrawingSurface &surface)
{
    check(surface.SetPenWidth(std::max(1, depth(3))));
    int n = 0;
    for (double t = 0; t < 2 * std::numbers::pi; t += 0.05) {
        const double r = petal(t);
        dot(surface, r * std::cos(t), r * std::sin(t), colourOf(n++));
        if (n > 200)
            break;
    }
}

} // namespace sweepdraw
