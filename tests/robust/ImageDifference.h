#pragma once

#include <QImage>
#include <QString>

namespace sweepdraw::test {

// Empty when the two images hold the same pixels; otherwise says how they
// differ: in size, or in how many pixels and where the first of them is.
inline QString imageDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("the image is %1 x %2, expected %3 x %4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    qint64 differing = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y) {
        const auto *rowA = reinterpret_cast<const quint32 *>(a.constScanLine(y));
        const auto *rowE = reinterpret_cast<const quint32 *>(e.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (rowA[x] != rowE[x] && differing++ == 0)
                first = QPoint(x, y);
        }
    }
    if (differing == 0)
        return {};
    return QStringLiteral("%1 pixels differ, the first at (%2, %3): #%4 where #%5 was expected")
        .arg(differing)
        .arg(first.x())
        .arg(first.y())
        .arg(a.pixel(first), 8, 16, QLatin1Char('0'))
        .arg(e.pixel(first), 8, 16, QLatin1Char('0'));
}

} // namespace sweepdraw::test
