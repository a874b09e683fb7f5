#include "PictureClicks.h"

#include "SurfaceView.h"

#include <QMouseEvent>

#include <cmath>

namespace sweepdraw {

PictureClicks::PictureClicks(QWidget &window, SurfaceView &view, Clicked clicked)
    : QObject(&window)
    , m_window(window)
    , m_view(view)
    , m_clicked(std::move(clicked))
{
    // The picture takes no clicks itself: they reach the window, through
    // whatever lies over the picture and does not take them either.
    m_window.installEventFilter(this);
}

bool PictureClicks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || event->type() != QEvent::MouseButtonPress)
        return false;
    const auto *click = static_cast<QMouseEvent *>(event);
    if (click->button() != Qt::LeftButton || !(click->modifiers() & Qt::ControlModifier))
        return false;
    const QPointF at = m_view.mapFrom(&m_window, click->position());
    if (!QRectF(m_view.rect()).contains(at))
        return false;
    const auto scaled = [&at, this](double across) {
        return QPoint(static_cast<int>(std::floor(at.x() * across / m_view.width())),
                      static_cast<int>(std::floor(at.y() * across / m_view.width())));
    };
    m_clicked(scaled(m_view.surface().size().width), scaled(kDesignSize.width));
    return true;
}

} // namespace sweepdraw
