#include "SurfaceView.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace sweepdraw {

SurfaceView::SurfaceView(QSize size, double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
    , m_surface(size, devicePixelRatio)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(size);
}

void SurfaceView::showChanges()
{
    const QRect dirty = m_surface.takeDirtyRect();
    if (!dirty.isEmpty())
        update(toLogical(dirty));
}

QRect SurfaceView::toLogical(const QRect &deviceRect) const
{
    const double ratio = m_surface.devicePixelRatio();
    const int left = static_cast<int>(std::floor(deviceRect.left() / ratio));
    const int top = static_cast<int>(std::floor(deviceRect.top() / ratio));
    const int right = static_cast<int>(std::ceil((deviceRect.right() + 1) / ratio));
    const int bottom = static_cast<int>(std::ceil((deviceRect.bottom() + 1) / ratio));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void SurfaceView::paintEvent(QPaintEvent *event)
{
    const QRect target = event->rect();
    const double ratio = m_surface.devicePixelRatio();
    const QRectF source(target.x() * ratio, target.y() * ratio, target.width() * ratio,
                        target.height() * ratio);
    QPainter painter(this);
    painter.drawImage(QRectF(target), m_surface.image(), source);
}

} // namespace sweepdraw
