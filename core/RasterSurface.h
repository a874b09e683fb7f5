#pragma once

#include "Design.h"
#include "DrawingSurface.h"
#include "Geometry.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace sweepdraw {

// The on-screen picture: a transparent layer of device pixels that the
// window shows over its background.
//
// A twip coordinate t lands on the device pixel t / 15 x ratio, rounded to
// the nearest whole number (halves upwards), so the pixel at index p stands
// for twip 15 p. Pen widths are multiplied by the ratio too. A dot of pen d
// device pixels covers the pixels whose centres lie within d / 2 of the dot's
// centre, which is the middle of the pixel for odd d and its top-left corner
// for even d: d = 1 is one pixel, d = 2 a 2 x 2 block, larger pens round dots
// exactly d pixels across. Lines of boxes and circles are as wide as the pen.
//
// Points are written straight into the picture's rows from spans worked
// out once per pen width; nothing is allocated per point, and a point that
// lands where the previous dot was, in the same colour and pen, is not
// stamped again since it would change nothing. Scenes plot many points in a
// row on one dot, so once a few have landed there the surface works out which
// twips land on that dot's pixel, and tells the points that follow from
// their twips alone, without working out their pixel. Whether a one-pixel
// dot lands on the picture is told from its twips alone too.
class RasterSurface final : public DrawingSurface
{
public:
    // `logicalSize` in pixels of kTwipsPerPixel twips each; the picture has
    // that size times `devicePixelRatio`, which must be positive. A picture
    // too large for the memory there is has no pixels at all, and everything
    // drawn on it falls off it.
    explicit RasterSurface(Size logicalSize, double devicePixelRatio = 1.0);

    // The picture in device pixels.
    Size size() const noexcept { return {m_width, m_height}; }
    double devicePixelRatio() const noexcept { return m_ratio; }

    // The pixels, row after row from the top, each row bytesPerLine() bytes
    // after the one above it: premultiplied ARGB32 words, 0xAARRGGBB, as
    // QImage::Format_ARGB32_Premultiplied holds them, and transparent, all
    // bits zero, wherever nothing is drawn. They stay where they are while
    // the surface lives, and change only as it is drawn on; nullptr when
    // there are none.
    const std::uint32_t *pixels() const noexcept { return m_bits.get(); }
    std::ptrdiff_t bytesPerLine() const noexcept { return m_wordsPerLine * 4; }
    // The pixel at column x of row y, both inside the picture.
    std::uint32_t pixel(int x, int y) const noexcept { return row(y)[x]; }

    // The device pixels changed since the last call, and forgets them.
    Rect takeDirtyRect();

    // DrawingSurface::PlotPoint with no virtual call, for a caller that
    // knows its surface is a raster. In WebAssembly a virtual call is
    // checked against the function's type, and its Status comes back
    // through memory.
    Status PlotPoint(float x, float y, Colour colour)
    {
        if (const Status refused = takePoint(x, y); !refused.ok()) [[unlikely]]
            return refused;
        return RasterSurface::doPlotPoint(x, y, colour);
    }

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, Colour colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override;
    Status doDrawCircle(float x, float y, float radius, Colour colour) override;
    Status doClearSurface() override;

private:
    // One row of a dot, relative to the pixel the dot is centred on.
    struct Span
    {
        int dy, x0, x1;
    };

    // The twips from `from` up to but not including `to`; empty unless set.
    struct TwipRange
    {
        float from = std::numeric_limits<float>::infinity();
        float to = -std::numeric_limits<float>::infinity();

        bool contains(float t) const { return t >= from && t < to; }
        bool empty() const { return !(from < to); }
    };

    // The twips found to land on one pixel, kept because the scale never
    // changes and a run of points mostly goes on to the next pixel.
    struct PixelTwips
    {
        int pixel = INT_MIN;
        TwipRange twips;
    };

    double pixelPosition(float twips) const;
    int toPixel(float twips) const;
    TwipRange twipsOnPixel(int p, PixelTwips &known) const;
    bool firstTwipOnOrAfter(int p, float &twips) const;
    int devicePen(int width) const;
    void erase();
    std::uint32_t *row(std::ptrdiff_t y) const { return m_bits.get() + y * m_wordsPerLine; }
    void newLastDot(int px, int py, Colour colour);
    [[gnu::noinline]] Status landOnLastDot(int px, int py);
    void learnRun(int px, int py);
    [[gnu::noinline]] Status plotDot(float x, float y, Colour colour);
    void stampPixel(std::uint32_t *pixel, int px, int py, std::uint32_t argb);
    void stampDot(int px, int py, std::uint32_t argb);
    void fillRow(int y, int x0, int x1, std::uint32_t argb);
    void fillRect(int x0, int y0, int x1, int y1, std::uint32_t argb);
    void markDirty(int x0, int y0, int x1, int y1);
    void forgetLastDot();

    std::unique_ptr<std::uint32_t[]> m_bits;
    std::ptrdiff_t m_wordsPerLine = 0;
    int m_width = 0;
    int m_height = 0;

    double m_ratio;
    double m_scale; // device pixels per twip
    int m_pen = 1;  // device pixels
    // With a pen of one pixel, the bits of the first float of twips that
    // lands beyond the picture's last column and row; 0 with a wider pen.
    std::uint32_t m_pixelTwipsEndX = 0, m_pixelTwipsEndY = 0;
    std::vector<Span> m_dot;
    int m_dotReach = 0; // how far the dot reaches from its pixel, any side

    int m_lastX = INT_MIN;
    int m_lastY = INT_MIN;
    Colour m_lastColour{};
    int m_repeats = 0; // points since the last dot that landed on it again
    // The twips that land on the last dot's pixel, once a run of points has
    // landed there; empty otherwise.
    TwipRange m_sameX, m_sameY;
    PixelTwips m_knownX, m_knownY;

    int m_dirtyX0 = INT_MAX, m_dirtyY0 = INT_MAX, m_dirtyX1 = INT_MIN, m_dirtyY1 = INT_MIN;
};

} // namespace sweepdraw
