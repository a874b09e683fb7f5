#include "CommandButton.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

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
    // keep the frame one pixel wide.
    const qreal screenRatio = devicePixelRatioF();
    QImage image(size() * screenRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(screenRatio * m_zoom);
    image.fill(Qt::transparent);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = QRect(QPoint(0, 0), (QSizeF(size()) / m_zoom).toSize());
    QPainter painter(&image);
    painter.setFont(font());
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    painter.end();
    QPainter(this).drawImage(QRectF(rect()), image);
}

} // namespace sweepdraw
