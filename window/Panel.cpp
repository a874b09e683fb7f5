#include "Panel.h"

#include "WindowColours.h"

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
    painter.fillRect(rect(), QColor::fromRgb(WindowColour::kPanelBorder));
    painter.fillRect(rect().adjusted(m_border, m_border, -m_border, -m_border), QColor::fromRgb(WindowColour::kPanel));
}

} // namespace sweepdraw
