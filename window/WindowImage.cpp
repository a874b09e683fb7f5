#include "WindowImage.h"

#include "Form1.h"
#include "RuntimeError.h"
#include "SurfaceView.h"


namespace sweepdraw {

namespace {

// Passes on the first `limit` operations to another surface and refuses the
// rest, which ends the action that makes them.
class FirstOperations final : public DrawingSurface
{
public:
    FirstOperations(DrawingSurface &target, long long limit)
        : m_target(target)
        , m_left(limit)
    {
    }

protected:
    Status doSetPenWidth(int width) override { return pass() ? m_target.SetPenWidth(width) : refused(); }
    Status doPlotPoint(float x, float y, QRgb colour) override
    {
        return pass() ? m_target.PlotPoint(x, y, colour) : refused();
    }
    Status doDrawBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        return pass() ? m_target.DrawBox(x1, y1, x2, y2, colour) : refused();
    }
    Status doDrawCircle(float x, float y, float radius, QRgb colour) override
    {
        return pass() ? m_target.DrawCircle(x, y, radius, colour) : refused();
    }
    Status doClearSurface() override { return pass() ? m_target.ClearSurface() : refused(); }

private:
    static Status refused() { return Status::failure("the operations to draw again have run out"); }
    bool pass() { return m_left-- > 0; }

    DrawingSurface &m_target;
    long long m_left;
};

} // namespace

QImage renderWindow(Form1 &form)
{
    QImage image(kDesignSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    form.render(&image);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage renderWindow(const QList<Button> &pictures, const DrawingProgress &progress)
{
    Form1 stage(1.0);
    RasterSurface &picture = stage.findChild<SurfaceView *>()->surface();
    try {
        for (const Button button : pictures)
            commandOf(button).action(picture);
        if (progress.current) {
            FirstOperations landed(picture, progress.landed);
            commandOf(*progress.current).action(landed);
        }
    } catch (const RuntimeError &) {
        // The command under way stops where it had got to.
    }
    return renderWindow(stage);
}

} // namespace sweepdraw
