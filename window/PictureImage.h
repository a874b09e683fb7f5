#pragma once

#include "RasterSurface.h"

#include <QImage>

namespace sweepdraw {

// The picture's pixels as a QImage, without a copy: the image reads the
// surface's own pixels, shows whatever is drawn on them later, and must not
// be used once the surface is gone. It is made over read-only data, so that
// nothing done with the image, or with a copy of it, ever writes to the
// surface's pixels: Qt copies them first. Take copy() for a snapshot.
inline QImage imageOf(const RasterSurface &picture)
{
    const Size size = picture.size();
    return QImage(reinterpret_cast<const uchar *>(picture.pixels()), size.width, size.height,
                  picture.bytesPerLine(), QImage::Format_ARGB32_Premultiplied);
}

} // namespace sweepdraw
