#include "SurfaceView.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace sweepdraw {

SurfaceView::SurfaceView(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
    , m_ratio(devicePixelRatio)
    , m_surface(makeSurface(1.0))
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(kDesignSize);
}

std::unique_ptr<RasterSurface> SurfaceView::makeSurface(double zoom) const
{
    return std::make_unique<RasterSurface>(kDesignSize, m_ratio * zoom);
}

void SurfaceView::setSurface(std::unique_ptr<RasterSurface> surface)
{
    m_surface = std::move(surface);
    (void)m_surface->takeDirtyRect();
    update();
}

void SurfaceView::showChanges()
{
    const QRect dirty = m_surface->takeDirtyRect();
    if (!dirty.isEmpty())
        update(toLogical(dirty));
}

QRect SurfaceView::toLogical(const QRect &deviceRect) const
{
    const int left = static_cast<int>(std::floor(deviceRect.left() / m_ratio));
    const int top = static_cast<int>(std::floor(deviceRect.top() / m_ratio));
    const int right = static_cast<int>(std::ceil((deviceRect.right() + 1) / m_ratio));
    const int bottom = static_cast<int>(std::ceil((deviceRect.bottom() + 1) / m_ratio));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void SurfaceView::paintEvent(QPaintEvent *event)
{
    // The picture is drawn at the size it is shown: one of its pixels to
    // each device pixel.
    const QRect target = event->rect();
    const QRectF source(target.x() * m_ratio, target.y() * m_ratio, target.width() * m_ratio,
                        target.height() * m_ratio);
    QPainter painter(this);
    painter.drawImage(QRectF(target), m_surface->image(), source);
}

} // namespace sweepdraw
