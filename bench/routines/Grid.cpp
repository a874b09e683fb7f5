#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"

namespace sweepdraw {

int divisor(int a, int b)
{
    return b == 0 ? a : divisor(b, a % b);
}

bool marked(int column, int row)
{
    const int d = divisor(column + 1, row + 1);
    return d > 1 && (column + row) % 3 != 0;
}

void cell(DrawingSurface &surface, int column, int row, int colour)
{
    const float x = static_cast<float>(column * 60);
    const float y = static_cast<float>(row * 60);
    check(surface.DrawBox(x, y, x + 50, y + 50, PaletteColor(colour)));
}

void DrawBenchGrid(DrawingSurface &surface)
{
    check(surface.SetPenWidth(1));
    int drawn = 0;
    for (int row = 0; row < 138; row++) {
        int column = 0;
        do {
            if (marked(column, row)) {
                cell(surface, column, row, drawn % 16);
                ++drawn;
            } else if (column == row) {
                cell(surface, column, row, 15);
            }
            column += 1;
        } while (column < 200);
    }
}

} // namespace sweepdraw
