#pragma once

#include "RunnerDriver.h"
#include "Commands.h"
#include "Design.h"
#include "Stage.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

class QAction;
class QLabel;

namespace sweepdraw {

class CodePane;
class LiveChanges;
class PaneDock;
class StepMarker;
class SurfaceView;
class WindowMenu;

// The program's only window: a stage (Stage.h), whose picture the scene
// commands draw on, with the runner that draws them. The window can be
// resized and maximised: the stage scales by the same zoom, the largest at
// which the whole fits, centred, and the picture is drawn again at the new
// size.
// A right click outside the buttons opens a menu of drawing speeds, of
// finishing the drawing at once (Esc), of saving, copying and recording the
// picture, of showing, to the right of the picture, the code that draws it as
// it runs (Ctrl+U), of pausing, stepping, stepping back and running the
// drawing to the code pane's caret, of editing, running and stopping a
// routine of the user's own in that pane (Ctrl+E, F5, Shift+Esc), and of
// help (F1) and About. While the drawing is paused or done, Ctrl+click on
// the picture asks the code pane what drew that point. Every text
// but the captions of the window, its labels and its buttons is in the
// language of the translations installed when the window is built.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    static constexpr double kMinZoom = 0.5;

    // The picture is made at `devicePixelRatio` device pixels per pixel; 0
    // means the ratio of the screen the window opens on. The window opens
    // at zoom 1, or smaller if that does not fit on the screen.
    explicit Form1(double devicePixelRatio = 0, QWidget *parent = nullptr);
    ~Form1() override;

    // Why the window asks the program to end: "退出" was clicked, or a
    // run-time error stopped the drawing.
    enum class Ending { Asked, Failed };
    Q_ENUM(Ending)

    // What a click on the button does. "退出" ends the program at once, as
    // asked, whatever is being drawn or queued; with error dialogs on, once
    // the learner's last change is written, or let go (keepBeforeEnding). Every other command is
    // queued, and drawn at the window's speed once those before it are done.
    // A run-time error in a command ends the program, as failed, once
    // the picture shows what the command drew before it. Once the program is
    // ending, nothing.
    void RunCommand(const Runnable &command);

    // The clock the drawing's pace follows; the steady clock unless set.
    void setClock(RunnerDriver::Clock clock);

    // One frame now: lands what is due by the clock, and shows it.
    void advanceDrawing();

    // Lands everything queued without returning to the event loop.
    void finishDrawing();

    // Whether a command is being drawn or is queued, a change drawn, or the
    // picture drawn again.
    bool isDrawing() const;

    // The drawing commands the picture shows since the last "清除", in the
    // order drawn.
    std::vector<Runnable> pictures() const;

    // The speed the menu shows checked, and the drawing goes at.
    Speed speed() const;
    void setSpeed(Speed speed);

    // Ends the program after a run-time error in a drawing command: stops
    // drawing and taking commands, tells `message` on stderr and, with error
    // dialogs on, in a message box, and then ends, as failed. The
    // window's own commands end this way when they fail.
    void reportRuntimeError(const QString &message);

    // Whether a run-time error is also shown in a modal message box, for a
    // user at the screen, and an unsaved change to the learner's routine
    // asked about before the window closes. Off by default.
    void setErrorDialogs(bool enabled);

    bool isEnding() const { return m_ending; }

    // The stage at its design size as the picture stands now, with whatever
    // has landed of a command being drawn: what Save picture and Copy
    // picture take, whatever the zoom and the state of the window.
    QImage snapshot() const;

signals:
    // The program should end, as `how` says.
    void ended(sweepdraw::Form1::Ending how);
    // The last queued command has finished.
    void drawingIdle();
    // Operations have landed on the picture in this frame; once a frame at
    // most.
    void frameDrawn();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The menu's items, as kSpeedItems and kMenuItems list them, and what they do.
    void buildMenu();
    // The code pane beside the picture, hidden, and what the menu's items
    // that show it, and pause and step the drawing it follows, do.
    void buildCodePane(QAction *show, QAction *pause, QAction *step, QAction *stepBack, QAction *runToCaret);
    // What the items that run and stop the learner's routine do, and what
    // its failures and changes do to the picture.
    void buildRoutineItems(QAction *run, QAction *stop);
    void fitOnScreen();
    void layOut();
    void describePicture();
    void showChanges();
    // Stops drawing and taking commands, for good.
    void halt();
    void end(Ending how);

    Stage *m_stage = nullptr;
    SurfaceView *m_view = nullptr;
    RunnerDriver *m_runner = nullptr;
    CodePane *m_codePane = nullptr;
    LiveChanges *m_changes = nullptr;
    PaneDock *m_dock = nullptr;
    QLabel *m_pauseNote = nullptr; // shown while the drawing is paused
    StepMarker *m_marker = nullptr;
    double m_zoom = 1.0;
    WindowMenu *m_menu = nullptr;
    QSize frameSize() const;
    void watchForFrame(int looksLeft);

    QSize m_fittedFrame; // the frame's size when the window was last fitted on the screen
    std::array<QAction *, kSpeeds.size()> m_speedActions{};
    bool m_errorDialogs = false;
    bool m_ending = false;
};

} // namespace sweepdraw
