#pragma once

#include "Commands.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace sweepdraw {

class DrawingSurface;
class Panel;
class RasterSurface;
class SurfaceView;

// The program's only window: a panel, three labels and six buttons over a
// picture that the scene commands draw on. Its client area is a fixed
// 800 x 552 pixels, 15 twips each.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    // The picture is made at `devicePixelRatio` device pixels per pixel; 0
    // means the ratio of the screen the window opens on.
    explicit Form1(double devicePixelRatio = 0, QWidget *parent = nullptr);
    ~Form1() override;

    // Runs the button's command to completion on the calling thread, without
    // returning to the event loop; drawing shows as it happens. Throws
    // RuntimeError when a drawing operation fails, leaving what was drawn.
    // CmdExit ends the program with status 0.
    void RunCommand(Button button);

    // Runs a command as a click on its button does: a run-time error ends
    // the program with status 1 after reporting it, and once the program is
    // ending further commands are ignored.
    void click(Button button);

    QPushButton *button(Button button) const;

    // The window's own picture.
    RasterSurface &picture();

    // Commands draw on `surface` instead of the picture while it is set, so
    // that a surface can be put between the commands and the picture;
    // nullptr restores the picture.
    void setDrawingSurface(DrawingSurface *surface);

    // Whether a run-time error is also shown in a modal message box, for a
    // user at the screen. Off by default.
    void setErrorDialogs(bool enabled);

    bool isEnding() const { return m_ending; }

signals:
    // The program should end with `status`: 0 after CmdExit, 1 after a
    // run-time error.
    void ended(int status);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void runScene(void (*scene)(DrawingSurface &));
    void end(int status);

    Panel *m_shape1 = nullptr;
    SurfaceView *m_view = nullptr;
    std::array<QLabel *, 3> m_labels{};
    std::array<QPushButton *, 6> m_buttons{};
    DrawingSurface *m_override = nullptr;
    bool m_errorDialogs = false;
    bool m_ending = false;
};

} // namespace sweepdraw
