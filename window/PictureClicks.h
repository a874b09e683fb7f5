#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace sweepdraw {

class SurfaceView;

// Takes the clicks made on the picture with Ctrl held, anywhere in the
// window the picture is not covered by a control that takes clicks, and
// hands on which pixel was clicked: of the picture's image, and at zoom 1.
class PictureClicks final : public QObject
{
    Q_OBJECT

public:
    using Clicked = std::function<void(QPoint devicePixel, QPoint pixel)>;

    PictureClicks(QWidget &window, SurfaceView &view, Clicked clicked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    SurfaceView &m_view;
    Clicked m_clicked;
};

} // namespace sweepdraw
