#pragma once

#include <QWidget>

namespace sweepdraw {

class RunnerDriver;
class SurfaceView;

// A small ring over the picture round the last point the drawing plotted,
// shown only while the drawing is paused in the middle of a command, so
// that a step that lands on pixels already lit still shows where it went.
// It is a widget of its own laid over the picture, never drawn into it, so
// it shows in no picture saved, copied or recorded, and costs nothing while
// the drawing runs. Its tooltip gives the point in twips and in pixels.
class StepMarker final : public QWidget
{
    Q_OBJECT

public:
    StepMarker(const RunnerDriver &runner, SurfaceView &view, QWidget *parent);

    // Shows or hides the ring, and places it, as the drawing is now.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const RunnerDriver &m_runner;
    SurfaceView &m_view;
};

} // namespace sweepdraw
