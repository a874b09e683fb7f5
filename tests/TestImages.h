#pragma once

#include "DrawingSurface.h"

#include <QImage>
#include <QMetaType>

namespace sweepdraw::test {

// A scene routine, as test data.
using Scene = void (*)(DrawingSurface &);

// How many pixels are not transparent.
inline int inkCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(line[x]) != 0;
    }
    return count;
}

inline bool isBlank(const QImage &image)
{
    return inkCount(image) == 0;
}

} // namespace sweepdraw::test

Q_DECLARE_METATYPE(sweepdraw::test::Scene)
