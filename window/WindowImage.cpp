#include "WindowImage.h"

#include "Form1.h"
#include "PictureHistory.h"
#include "SurfaceView.h"

namespace sweepdraw {

QImage renderWindow(Form1 &form)
{
    // Drawn straight in the format returned: Qt splits a conversion of a
    // picture this size among threads, and waits for ever for one it cannot
    // make. Whatever the window leaves unpainted shows black, as it would
    // converted from transparent.
    QImage image(kDesignSize, QImage::Format_RGB32);
    if (image.isNull())
        return image; // out of memory, which the caller tells
    image.fill(Qt::black);
    form.render(&image);
    return image;
}

QImage renderWindow(const QList<Runnable> &pictures, const DrawingProgress &progress)
{
    Form1 stage(1.0);
    RasterSurface &picture = stage.findChild<SurfaceView *>()->surface();
    // A command that fails stops where it had got to, as on the window.
    (void)PictureHistory::drawPictures(picture, pictures, progress.current, progress.landed);
    return renderWindow(stage);
}

} // namespace sweepdraw
