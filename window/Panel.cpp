#include "Panel.h"

#include <QPainter>

namespace sweepdraw {

Panel::Panel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Panel::setBorder(int pixels)
{
    if (pixels != m_border) {
        m_border = pixels;
        update();
    }
}

void Panel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 255));
    painter.fillRect(rect().adjusted(m_border, m_border, -m_border, -m_border), QColor(0, 0, 0));
}

} // namespace sweepdraw
