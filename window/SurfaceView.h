#pragma once

#include "RasterSurface.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace sweepdraw {

// Shows a RasterSurface, transparent where nothing is drawn: the window's
// picture, kDesignSize pixels of kTwipsPerPixel twips each at zoom 1, drawn
// at the size it is shown so that it stays crisp at any zoom.
class SurfaceView final : public QWidget
{
    Q_OBJECT

public:
    // Shows an empty picture at zoom 1, made at `devicePixelRatio` device
    // pixels per pixel.
    SurfaceView(double devicePixelRatio, QWidget *parent = nullptr);

    RasterSurface &surface() { return *m_surface; }

    // An empty picture for the zoom, to draw on and then show.
    std::unique_ptr<RasterSurface> makeSurface(double zoom) const;
    void setSurface(std::unique_ptr<RasterSurface> surface);

    // Schedules a repaint of the part of the picture drawn on since the last
    // call.
    void showChanges();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect toLogical(const QRect &deviceRect) const;

    double m_ratio;
    std::unique_ptr<RasterSurface> m_surface;
    QImage m_image; // m_surface's pixels, read where they are
};

} // namespace sweepdraw
