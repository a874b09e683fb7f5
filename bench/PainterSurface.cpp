#include "PainterSurface.h"

#include "CoreInQt.h"
#include "RasterSurface.h"

namespace sweepdraw::bench {

namespace {

QPointF toPixels(float x, float y)
{
    return QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel);
}

} // namespace

PainterSurface::PainterSurface(QSize size)
    : m_image(size, QImage::Format_ARGB32_Premultiplied)
    , m_pen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap)
{
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setPen(m_pen);
}

PainterSurface::~PainterSurface()
{
    m_painter.end();
}

void PainterSurface::usePen(Colour colour)
{
    if (m_pen.color().rgb() != toQRgb(colour)) {
        m_pen.setColor(QColor::fromRgb(toQRgb(colour)));
        m_painter.setPen(m_pen);
    }
}

Status PainterSurface::doSetPenWidth(int width)
{
    m_pen.setWidth(width);
    m_painter.setPen(m_pen);
    return {};
}

Status PainterSurface::doPlotPoint(float x, float y, Colour colour)
{
    usePen(colour);
    m_painter.drawPoint(toPixels(x, y));
    return {};
}

Status PainterSurface::doDrawBox(float x1, float y1, float x2, float y2, Colour colour)
{
    usePen(colour);
    m_painter.drawRect(QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized());
    return {};
}

Status PainterSurface::doDrawCircle(float x, float y, float radius, Colour colour)
{
    usePen(colour);
    // An ellipse of radius 0 draws nothing; the disc it stands for is a dot.
    if (radius == 0) {
        m_painter.drawPoint(toPixels(x, y));
        return {};
    }
    const qreal r = radius / kTwipsPerPixel;
    m_painter.drawEllipse(toPixels(x, y), r, r);
    return {};
}

Status PainterSurface::doClearSurface()
{
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(m_image.rect(), Qt::transparent);
    m_painter.restore();
    return {};
}

} // namespace sweepdraw::bench
