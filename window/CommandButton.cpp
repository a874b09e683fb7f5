#include "CommandButton.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace sweepdraw {

namespace {

// Hands `handle` the event, or the same event for Space if it is Return or
// Enter.
template <typename Handle>
void asSpace(QKeyEvent *event, Handle &&handle)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        handle(event);
        return;
    }
    QKeyEvent space(event->type(), Qt::Key_Space, event->modifiers() & ~Qt::KeypadModifier, QStringLiteral(" "),
                    event->isAutoRepeat());
    handle(&space);
    event->setAccepted(space.isAccepted());
}

} // namespace

void CommandButton::setZoom(double zoom)
{
    if (zoom != m_zoom) {
        m_zoom = zoom;
        update();
    }
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    asSpace(event, [this](QKeyEvent *key) { QPushButton::keyPressEvent(key); });
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    asSpace(event, [this](QKeyEvent *key) { QPushButton::keyReleaseEvent(key); });
}

void CommandButton::paintEvent(QPaintEvent *)
{
    // The style draws the button at its size at zoom 1 on an image of the
    // zoom's density, as it draws on a screen that dense: its lines, its
    // cached shading and its lettering all at the density's pixels. A
    // larger font and a larger rectangle drawn at one pixel per pixel would
    // keep the frame one pixel wide. QPainter leaves a ratio below 1 out of
    // its transform, so below 1 the image has one pixel per device pixel and
    // the painter itself scales down by the rest.
    const qreal screenRatio = devicePixelRatioF();
    const qreal density = screenRatio * m_zoom;
    QImage image(size() * screenRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(std::max<qreal>(density, 1));
    image.fill(Qt::transparent);
    QStyleOptionButton option;
    initStyleOption(&option);
    // Below 1 its size at zoom 1 is rounded down, so that its right and
    // bottom edges land inside the button rather than just past it.
    const QSizeF atOne = QSizeF(size()) / m_zoom;
    option.rect = QRect(QPoint(0, 0), density < 1 ? QSize(static_cast<int>(atOne.width()),
                                                          static_cast<int>(atOne.height()))
                                                    : atOne.toSize());
    QPainter painter(&image);
    if (density < 1)
        painter.scale(density, density);
    painter.setFont(font());
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    painter.end();
    QPainter(this).drawImage(QRectF(rect()), image);
}

} // namespace sweepdraw
