#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace sweepdraw {

// Shares a window between what it was laid out to show and a pane to the
// right of it, with a divider between them that can be dragged.
//
// Shown, the pane takes its room from the window's right side, and the
// window grows by as much to the right as far as the screen has room there,
// its left edge staying where it is; what the screen has no room for comes
// out of the rest. Hidden, the window shrinks by what it grew, and is as it
// was. The pane's width, as the divider leaves it, holds while the program
// runs. A maximised or full-screen
// window keeps its size. While the window is laid out again, as the pane
// shows or hides or the divider moves, `layOut` is called: it lays the rest
// out in mainArea() and calls place().
class PaneDock final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultPaneWidth = 520;
    static constexpr int kNarrowestPane = 200;

    PaneDock(QWidget &window, QWidget &pane, std::function<void()> layOut);

    bool isShown() const { return m_shown; }
    void setShown(bool shown);

    // The part of the window left for the rest: all of it while the pane is
    // hidden.
    QRect mainArea() const;

    // Shows or hides the pane and the divider, beside mainArea().
    void place();

private:
    class Divider;

    // The pane's width as it is shown: as wide as it was made, as far as
    // the window leaves room for it.
    int paneWidth() const;
    void dragTo(int x);
    void resizeWindow(int width);

    QWidget &m_window;
    QWidget &m_pane;
    Divider *m_divider;
    std::function<void()> m_layOut;
    bool m_shown = false;
    int m_width = kDefaultPaneWidth;
    int m_grown = 0;           // how much wider the window was made for the pane
    std::optional<QPoint> m_movedFrom; // where it was before it was moved to make room
    int m_mainMinimumWidth = 0; // the window's own minimum width
};

} // namespace sweepdraw
