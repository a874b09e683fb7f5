#pragma once

#include "RasterSurface.h"

#include <QWidget>

namespace sweepdraw {

// Shows a RasterSurface, transparent where nothing is drawn.
class SurfaceView final : public QWidget
{
    Q_OBJECT

public:
    SurfaceView(QSize size, double devicePixelRatio, QWidget *parent = nullptr);

    RasterSurface &surface() { return m_surface; }

    // Schedules a repaint of the part of the picture drawn on since the last
    // call.
    void showChanges();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect toLogical(const QRect &deviceRect) const;

    RasterSurface m_surface;
};

} // namespace sweepdraw
