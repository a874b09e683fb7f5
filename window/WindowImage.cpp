#include "WindowImage.h"

#include "Form1.h"
#include "PictureHistory.h"
#include "SurfaceView.h"

namespace sweepdraw {

QImage renderWindow(Form1 &form)
{
    QImage image(kDesignSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    form.render(&image);
    return image.convertToFormat(QImage::Format_RGB32);
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
