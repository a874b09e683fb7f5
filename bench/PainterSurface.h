#pragma once

#include "Design.h"
#include "DrawingSurface.h"

#include <QImage>
#include <QPainter>
#include <QPen>

namespace sweepdraw::bench {

// What a direct port to Qt would draw with, kept only to measure the raster
// surface against: a QPainter open on a QImage, and one QPainter::drawPoint
// with a round-capped pen of the pen width for every point.
class PainterSurface final : public DrawingSurface
{
public:
    explicit PainterSurface(QSize size);
    ~PainterSurface() override;

    const uchar *pixels() const noexcept { return m_image.constBits(); }

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, Colour colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override;
    Status doDrawCircle(float x, float y, float radius, Colour colour) override;
    Status doClearSurface() override;

private:
    void usePen(Colour colour);

    QImage m_image;
    QPainter m_painter;
    QPen m_pen;
};

} // namespace sweepdraw::bench
