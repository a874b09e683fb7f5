#include "WindowImage.h"

#include "PictureHistory.h"
#include "Stage.h"

namespace sweepdraw {

QImage renderWindow(const std::vector<Runnable> &pictures, const DrawingProgress &progress)
{
    Stage stage(1.0);
    // A command that fails stops where it had got to, as on the window.
    (void)PictureHistory::drawPictures(stage.picture(), pictures, progress.current, progress.landed);
    return stage.render();
}

} // namespace sweepdraw
