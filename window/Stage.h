#pragma once

#include "Commands.h"
#include "RasterSurface.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace sweepdraw {

class Panel;
class SurfaceView;

// Lets Qt embolden the labels' one-weight Kai faces at every size the window
// reaches, unless QT_NO_SYNTHESIZED_BOLD_LIMIT is set already, by setting
// that variable for the whole process. Qt reads it whenever it makes a font
// engine: call it at start-up, before any window is made.
void allowSyntheticBoldAtAnySize();

// What the window shows of a picture: the panel, the three labels, the six
// buttons and the picture, laid out on kDesignSize pixels of kTwipsPerPixel
// twips each (Design.h) and scaled by one zoom, centred in the stage, over
// the window's green. It draws nothing and runs nothing itself: a click on
// a button is only told, by commandClicked, and what the picture shows is
// for its owner to draw. The main window shows one; a picture saved, copied
// or recorded is one rendered off the screen, at zoom 1.
class Stage final : public QWidget
{
    Q_OBJECT

public:
    // The picture is made at `devicePixelRatio` device pixels per pixel; 0
    // means the ratio of the screen the stage is on.
    explicit Stage(double devicePixelRatio = 1.0, QWidget *parent = nullptr);
    ~Stage() override;

    SurfaceView &view() { return *m_view; }
    RasterSurface &picture();

    double zoom() const { return m_zoom; }
    // Lays everything out at `zoom`, centred in the stage's rectangle. The
    // picture keeps the size it has: see SurfaceView::makeSurface.
    void layOut(double zoom);

    // The stage at its design size, as it is now: at zoom 1 if it is shown
    // nowhere, so that no button shows the focus or the pointer.
    QImage render();

signals:
    void commandClicked(Button button);

private:
    // A control, where it is at zoom 1, and what else of it the zoom
    // changes besides its place, if anything.
    struct Placed
    {
        QWidget *widget;
        QRect designed;
        std::function<void(double zoom)> zoomTo;
    };

    void buildControls();

    Panel *m_shape1 = nullptr;
    SurfaceView *m_view = nullptr;
    std::vector<Placed> m_placed;
    double m_zoom = 1.0;
};

} // namespace sweepdraw
