#include "SurfaceView.h"

#include "CoreInQt.h"
#include "PictureImage.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sweepdraw {

namespace {

// Qt's raster engine splits a drawing of more than about 96 spans among the
// threads of the global pool and waits for them all; where a thread cannot
// be made, it waits for ever. A band of this many rows stays under that
// with room for a few spans a row, where the buttons cut into the clip.
constexpr int kBandRows = 16;

} // namespace

SurfaceView::SurfaceView(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
    , m_ratio(devicePixelRatio)
    , m_surface(makeSurface(1.0))
    , m_image(imageOf(*m_surface))
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(toQSize(kDesignSize));
}

std::unique_ptr<RasterSurface> SurfaceView::makeSurface(double zoom) const
{
    return std::make_unique<RasterSurface>(kDesignSize, m_ratio * zoom);
}

void SurfaceView::setSurface(std::unique_ptr<RasterSurface> surface)
{
    m_image = imageOf(*surface);
    m_surface = std::move(surface);
    (void)m_surface->takeDirtyRect();
    update();
}

void SurfaceView::showChanges()
{
    const QRect dirty = toQRect(m_surface->takeDirtyRect());
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
    QPainter painter(this);
    const QRect dirty = event->rect();
    const int rows = std::max(1, static_cast<int>(kBandRows / m_ratio));
    for (int top = dirty.top(); top <= dirty.bottom(); top += rows) {
        const QRect target(dirty.left(), top, dirty.width(), std::min(rows, dirty.bottom() + 1 - top));
        const QRectF source(target.x() * m_ratio, target.y() * m_ratio, target.width() * m_ratio,
                            target.height() * m_ratio);
        painter.drawImage(QRectF(target), m_image, source);
    }
}

} // namespace sweepdraw
