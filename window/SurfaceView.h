#pragma once

#include "RasterSurface.h"

#include <QElapsedTimer>
#include <QWidget>

namespace sweepdraw {

// Shows a RasterSurface, transparent where nothing is drawn, and keeps the
// screen up to date while a long command draws on it.
class SurfaceView final : public QWidget
{
public:
    SurfaceView(QSize size, double devicePixelRatio, QWidget *parent = nullptr);

    RasterSurface &surface() { return m_surface; }

    // Between these two calls the changed part of the picture is repainted
    // at once, without running the event loop, whenever a frame's time has
    // passed since it was last shown. endCommand schedules the rest.
    void beginCommand();
    void endCommand();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showProgress();
    QRect toLogical(const QRect &deviceRect) const;

    RasterSurface m_surface;
    QElapsedTimer m_sinceShown;
    bool m_drawing = false;
};

} // namespace sweepdraw
