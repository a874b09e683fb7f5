#pragma once

#include "Colour.h"
#include "Geometry.h"

#include <QRect>
#include <QSize>
#include <QtGui/qrgb.h>

namespace sweepdraw {

// The core's colours, sizes and rectangles in Qt's types: the one place the
// layers that show them turn one into the other.

constexpr QRgb toQRgb(Colour colour) noexcept
{
    return qRgb(colour.red(), colour.green(), colour.blue());
}

constexpr QSize toQSize(Size size) noexcept
{
    return QSize(size.width, size.height);
}

constexpr QRect toQRect(const Rect &rect) noexcept
{
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

} // namespace sweepdraw
