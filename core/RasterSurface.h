#pragma once

#include "Design.h"
#include "DrawingSurface.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <climits>
#include <limits>
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
// Points are written straight into the image's scanlines from spans worked
// out once per pen width; nothing is allocated per point, and a point that
// lands where the previous dot was, in the same colour and pen, is not
// stamped again since it would change nothing. Scenes plot many points in a
// row on one dot, so once a few have landed there the surface works out which
// twips land on that dot's pixel, and tells the points that follow from
// their twips alone, without working out their pixel. Whether a one-pixel
// dot lands on the image is told from its twips alone too.
class RasterSurface final : public DrawingSurface
{
public:
    // `logicalSize` in pixels of kTwipsPerPixel twips each; the image has that size times
    // `devicePixelRatio`, which must be positive.
    explicit RasterSurface(QSize logicalSize, double devicePixelRatio = 1.0);

    // Premultiplied ARGB in device pixels; transparent wherever nothing is
    // drawn. The image shares its data with any copy taken of it, and later
    // drawing shows in such a copy too: take image().copy() for a snapshot.
    const QImage &image() const noexcept { return m_image; }
    double devicePixelRatio() const noexcept { return m_ratio; }

    // The device pixels changed since the last call, and forgets them.
    QRect takeDirtyRect();

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, QRgb colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    Status doDrawCircle(float x, float y, float radius, QRgb colour) override;
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
    quint32 *row(int y) const { return reinterpret_cast<quint32 *>(m_bits + y * m_bytesPerLine); }
    void newLastDot(int px, int py, QRgb colour);
    [[gnu::noinline]] Status landOnLastDot(int px, int py);
    void learnRun(int px, int py);
    [[gnu::noinline]] Status plotDot(float x, float y, QRgb colour);
    void stampPixel(quint32 *pixel, int px, int py, quint32 argb);
    void stampDot(int px, int py, quint32 argb);
    void fillRow(int y, int x0, int x1, quint32 argb);
    void fillRect(int x0, int y0, int x1, int y1, quint32 argb);
    void markDirty(int x0, int y0, int x1, int y1);
    void forgetLastDot();

    QImage m_image;
    // m_image's pixels, taken once: nothing calls on m_image that would move them.
    uchar *m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
    int m_width = 0;
    int m_height = 0;

    double m_ratio;
    double m_scale; // device pixels per twip
    int m_pen = 1;  // device pixels
    // With a pen of one pixel, the bits of the first float of twips that
    // lands beyond the image's last column and row; 0 with a wider pen.
    quint32 m_pixelTwipsEndX = 0, m_pixelTwipsEndY = 0;
    std::vector<Span> m_dot;
    int m_dotReach = 0; // how far the dot reaches from its pixel, any side

    int m_lastX = INT_MIN;
    int m_lastY = INT_MIN;
    QRgb m_lastColour = 0;
    int m_repeats = 0; // points since the last dot that landed on it again
    // The twips that land on the last dot's pixel, once a run of points has
    // landed there; empty otherwise.
    TwipRange m_sameX, m_sameY;
    PixelTwips m_knownX, m_knownY;

    int m_dirtyX0 = INT_MAX, m_dirtyY0 = INT_MAX, m_dirtyX1 = INT_MIN, m_dirtyY1 = INT_MIN;
};

} // namespace sweepdraw
