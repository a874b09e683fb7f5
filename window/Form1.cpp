#include "Form1.h"

#include "AboutBox.h"
#include "Accessibility.h"
#include "CodePane.h"
#include "CommandButton.h"
#include "CoreInQt.h"
#include "HelpDialog.h"
#include "LiveChanges.h"
#include "MenuItems.h"
#include "PaneDock.h"
#include "PictureActions.h"
#include "PictureClicks.h"
#include "PictureNote.h"
#include "RoutineEditor.h"
#include "RoutineFiles.h"
#include "RuntimeErrorLine.h"
#include "SpeedItems.h"
#include "Stage.h"
#include "StepMarker.h"
#include "SurfaceView.h"
#include "WindowImage.h"
#include "WhatDrew.h"
#include "WindowMenu.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace sweepdraw {

namespace {

// How often, and how many times, a window just shown looks for its frame.
constexpr int kFrameLookInterval = 50; // ms
constexpr int kFrameLooks = 100;

// How far in from the picture's corner its notes are.
constexpr int kNoteInset = 8;

// The zoom at which the window as laid out just fits in `room`.
double fittingZoom(QSize room)
{
    return std::min(static_cast<double>(room.width()) / kDesignSize.width,
                    static_cast<double>(room.height()) / kDesignSize.height);
}

} // namespace

Form1::Form1(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("图形程序设计 Merivane 2006.11."));
    setMinimumSize((QSizeF(toQSize(kDesignSize)) * kMinZoom).toSize());
    resize(toQSize(kDesignSize));

    // The stage fills the picture's part of the window with its background,
    // and the code pane and its divider the rest.
    m_stage = new Stage(devicePixelRatio > 0 ? devicePixelRatio : this->devicePixelRatioF(), this);
    connect(m_stage, &Stage::commandClicked, this, &Form1::RunCommand);
    m_view = &m_stage->view();
    m_view->setAccessibleName(tr("Picture"));
    m_runner = new RunnerDriver(m_view->surface(), this);
    m_runner->setObjectName(QStringLiteral("runner"));
    connect(m_runner, &RunnerDriver::drawn, this, &Form1::showChanges);
    connect(m_runner, &RunnerDriver::commandFinished, this, &Form1::describePicture);
    connect(m_runner, &RunnerDriver::failed, this, &Form1::reportRuntimeError);
    connect(m_runner, &RunnerDriver::idle, this, &Form1::drawingIdle);
    m_marker = new StepMarker(*m_runner, *m_view, this);
    m_marker->setObjectName(QStringLiteral("StepMarker"));
    buildMenu();
    describePicture();
    layOut();
}

Form1::~Form1() = default;

void Form1::buildMenu()
{
    m_menu = new WindowMenu(this);
    m_menu->addSection(tr("Speed"));
    auto *speeds = new QActionGroup(this);
    for (const SpeedItem &item : kSpeedItems) {
        QAction *action = m_menu->addItem(QCoreApplication::translate("Speed", item.menuText), {item.key});
        action->setCheckable(true);
        speeds->addAction(action);
        const Speed speed = item.speed;
        connect(action, &QAction::triggered, this, [this, speed] { setSpeed(speed); });
        m_speedActions[static_cast<std::size_t>(item.speed)] = action;
    }
    setSpeed(m_runner->speed());

    std::array<QAction *, kMenuItems.size()> items{};
    for (const MenuItemInfo &info : kMenuItems) {
        if (info.startsSection)
            m_menu->addSection();
        items[static_cast<std::size_t>(info.item)] =
            m_menu->addItem(QCoreApplication::translate("Menu", info.text), keysOf(info));
    }
    const auto item = [&items](MenuItem which) { return items[static_cast<std::size_t>(which)]; };

    connect(item(MenuItem::FinishNow), &QAction::triggered, m_runner, [this] { m_runner->finishQueued(); });
    new PictureActions(*this, *m_runner, item(MenuItem::SavePicture), item(MenuItem::CopyPicture),
                       item(MenuItem::RecordAnimation), [this] { return snapshot(); });
    buildCodePane(item(MenuItem::ShowCode), item(MenuItem::Pause), item(MenuItem::Step), item(MenuItem::StepBack),
                  item(MenuItem::RunToCaret));
    m_codePane->useActions({item(MenuItem::ShowCode), item(MenuItem::EditCopy), item(MenuItem::NewRoutine),
                            item(MenuItem::OpenRoutine), item(MenuItem::SaveRoutineAs), item(MenuItem::Run),
                            item(MenuItem::Stop)});
    buildRoutineItems(item(MenuItem::Run), item(MenuItem::Stop));
    connect(item(MenuItem::Help), &QAction::triggered, this,
            [this] { HelpDialog::showFor(this, m_menu->actions()); });
    connect(item(MenuItem::About), &QAction::triggered, this, [this] { AboutBox::show(this); });
}

void Form1::buildCodePane(QAction *show, QAction *pause, QAction *step, QAction *stepBack, QAction *runToCaret)
{
    m_codePane = new CodePane(*m_runner, this);
    m_codePane->setObjectName(QStringLiteral("CodePane"));
    m_dock = new PaneDock(*this, *m_codePane, [this] { layOut(); });
    show->setCheckable(true);
    connect(show, &QAction::toggled, m_dock, &PaneDock::setShown);

    // Shown over the picture, never drawn into it, so that no saved,
    // copied or recorded picture shows it.
    m_pauseNote = makePictureNote(this, QStringLiteral("pauseNote"));
    m_pauseNote->setText(tr("Paused · %1 to continue")
                             .arg(QKeySequence(menuItemInfo(MenuItem::Pause).alsoKey)
                                      .toString(QKeySequence::NativeText)));

    const auto setPaused = [this, pause](bool paused) {
        m_runner->setPaused(paused);
        pause->setText(paused ? tr("Continue")
                              : QCoreApplication::translate("Menu", menuItemInfo(MenuItem::Pause).text));
        m_pauseNote->setVisible(paused);
        layOut();
        describePicture();
        m_codePane->refresh();
        m_marker->refresh();
    };
    connect(pause, &QAction::triggered, this, [this, setPaused] { setPaused(!m_runner->isPaused()); });
    connect(step, &QAction::triggered, this, [this, setPaused] {
        setPaused(true);
        m_runner->step();
    });
    connect(stepBack, &QAction::triggered, this, [this, setPaused] {
        setPaused(true);
        m_runner->stepBack();
    });
    connect(runToCaret, &QAction::triggered, this, [this, setPaused] {
        setPaused(true);
        m_runner->runTo(m_codePane->caretStop());
    });
    // What drew a point, asked while the picture stands still.
    new PictureClicks(*this, *m_view, [this, show](QPoint devicePixel, QPoint pixel) {
        if (!m_runner->isPaused() && !m_runner->isIdle())
            return;
        const DrawingProgress progress = m_runner->progress();
        m_codePane->showDrawnBy(whatDrew(m_runner->pictures(), progress.current, progress.landed,
                                         m_view->surface().devicePixelRatio(), devicePixel.x(), devicePixel.y()),
                                pixel);
        show->setChecked(true);
    });
}

void Form1::buildRoutineItems(QAction *run, QAction *stop)
{
    connect(run, &QAction::triggered, this, [this] {
        if (const std::optional<Runnable> routine = m_codePane->learnersRoutine())
            RunCommand(*routine);
        else
            QToolTip::showText(m_codePane->mapToGlobal(QPoint(0, 0)), m_codePane->whyNotRunnable(), m_codePane);
    });
    connect(stop, &QAction::triggered, m_runner, [this] { m_runner->dropAll(); });
    // Ending the program would lose the learner's work.
    m_runner->setForgiving([](const Runnable &command) {
        return command.routine() && RoutineFiles::isKept(QString::fromStdString(command.routine()->fileName()));
    });
    connect(m_runner, &RunnerDriver::commandFailed, this, [this](const Runnable &, const QString &message) {
        writeRuntimeError(message, false);
        m_codePane->editor().showRuntimeError(message);
    });
    m_changes = new LiveChanges(*m_runner, *m_view, *this);
    connect(m_changes, &LiveChanges::failed, &m_codePane->editor(), &RoutineEditor::showRuntimeError);
    connect(m_changes, &LiveChanges::noteChanged, this, &Form1::layOut);
    connect(m_codePane, &CodePane::routineChanged, this, [this](const Runnable &routine) {
        if (!m_ending)
            m_changes->show(routine, m_codePane->editor().sceneFile(), m_zoom);
    });
}

// Shrinks the window, never below the smallest zoom, until it fits in the
// screen's free area with its frame, and moves it there if it is not.
void Form1::fitOnScreen()
{
    const QScreen *screen = this->screen();
    // A maximised window is the window manager's to size.
    if (!screen || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameSize();
    m_fittedFrame = frame;
    // At a fractional scale the frame's margins and the screen are known
    // only rounded to whole scaled pixels, and so is the window's size once
    // scaled back: two pixels to spare make up for all three.
    const qreal ratio = devicePixelRatioF();
    const QSize rounding = ratio == std::floor(ratio) ? QSize(0, 0) : QSize(2, 2);
    const double fits = fittingZoom(area.size() - frame - rounding);
    if (fits < m_zoom) {
        const double zoom = std::max(kMinZoom, fits);
        resize(QSize(static_cast<int>(std::floor(kDesignSize.width * zoom)),
                     static_cast<int>(std::floor(kDesignSize.height * zoom))));
    }
    const QSize whole = size() + frame;
    // Where the frame is, and where it goes, by the same margins as its
    // size: pos() and move() go by QWidget's own, which may still be those
    // of before the frame was known, and would put the window's inside
    // where its frame belongs, the title bar above the screen.
    QWindow *window = windowHandle();
    const QPoint at = window ? window->framePosition() : pos();
    const QPoint inside(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - whole.width())),
                        std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - whole.height())));
    if (inside == at)
        return;
    if (window)
        window->setFramePosition(inside);
    else
        move(inside);
}

void Form1::layOut()
{
    // The picture's part of the window: all of it unless the code pane is shown.
    const QRect area = m_dock->mainArea();
    m_dock->place();
    const double zoom = std::max(kMinZoom, fittingZoom(area.size()));
    m_stage->setGeometry(area);
    m_stage->layOut(zoom);
    if (m_pauseNote) {
        m_pauseNote->adjustSize();
        const QRect picture = m_view->geometry().translated(m_stage->pos());
        m_pauseNote->move(picture.right() + 1 - kNoteInset - m_pauseNote->width(), picture.top() + kNoteInset);
        m_pauseNote->raise();
    }
    if (m_changes) {
        QLabel *changeNote = m_changes->note();
        const QRect picture = m_view->geometry().translated(m_stage->pos());
        changeNote->move(picture.left() + kNoteInset, picture.bottom() + 1 - kNoteInset - changeNote->height());
        changeNote->raise();
    }
    if (zoom == m_zoom)
        return;
    // Drawn afresh at the new size, so that it stays crisp.
    m_zoom = zoom;
    std::unique_ptr<RasterSurface> picture = m_view->makeSurface(zoom);
    m_runner->redrawOn(*picture);
    m_view->setSurface(std::move(picture));
    m_changes->rezoom(zoom);
}

void Form1::describePicture()
{
    QStringList captions;
    for (const Runnable &command : m_runner->pictures())
        captions << QString::fromStdString(command.caption());
    QString description =
        captions.isEmpty() ? tr("Blank") : captions.join(tr(", ", "between the captions of the pictures drawn"));
    // Screen readers hear the note with the picture it lies over.
    if (m_pauseNote && m_pauseNote->isVisibleTo(this))
        description += QStringLiteral(" · ") + m_pauseNote->text();
    m_view->setAccessibleDescription(description);
}

QImage Form1::snapshot() const
{
    return renderWindow(m_runner->pictures(), m_runner->progress());
}

void Form1::showChanges()
{
    m_view->showChanges();
    emit frameDrawn();
}

void Form1::setClock(RunnerDriver::Clock clock)
{
    m_runner->setClock(std::move(clock));
}

void Form1::advanceDrawing()
{
    m_runner->advance();
}

void Form1::finishDrawing()
{
    m_runner->runToEnd();
}

bool Form1::isDrawing() const
{
    return !m_runner->isIdle() || m_runner->isChanging() || m_runner->isRedrawing();
}

std::vector<Runnable> Form1::pictures() const
{
    return m_runner->pictures();
}

Speed Form1::speed() const
{
    return m_runner->speed();
}

void Form1::setSpeed(Speed speed)
{
    m_runner->setSpeed(speed);
    m_speedActions[static_cast<std::size_t>(speed)]->setChecked(true);
}

void Form1::setErrorDialogs(bool enabled)
{
    m_errorDialogs = enabled;
}

void Form1::RunCommand(const Runnable &command)
{
    if (m_ending)
        return;
    if (!command.hasAction()) {
        if (m_errorDialogs && !m_codePane->editor().keepBeforeEnding(true))
            return;
        end(Ending::Asked);
        return;
    }
    m_runner->enqueue(command);
    // A click waits unseen while the drawing is paused, but for the count.
    m_codePane->refresh();
}

void Form1::reportRuntimeError(const QString &message)
{
    // No click is taken while the message box is up.
    halt();
    writeRuntimeError(message, true);
    if (m_errorDialogs)
        QMessageBox::critical(this, windowTitle(), tr("The drawing stopped with an error:\n%1").arg(escapeForMessage(message)));
    end(Ending::Failed);
}

void Form1::halt()
{
    m_runner->stop();
    m_ending = true;
}

void Form1::end(Ending how)
{
    halt();
    emit ended(how);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Form1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // A window manager frames the window after it is shown, and moves it
    // as it does: the frame is known from then on, and may not fit.
    if (isVisible() && frameSize() != m_fittedFrame)
        fitOnScreen();
}

// What the frame round the window adds to its size, as the window system
// knows it now. QWidget's own frame geometry is brought up to date only by a
// move or a resize, and a window manager may make its frame known after both.
QSize Form1::frameSize() const
{
    const QWindow *window = windowHandle();
    if (!window)
        return frameGeometry().size() - geometry().size();
    const QMargins margins = window->frameMargins();
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

// Looks for the frame for a few seconds after the window is shown, and fits
// the window once it is known, in case no move came with it.
void Form1::watchForFrame(int looksLeft)
{
    QTimer::singleShot(kFrameLookInterval, this, [this, looksLeft] {
        if (!isVisible())
            return;
        if (frameSize() != m_fittedFrame)
            fitOnScreen();
        else if (looksLeft > 1)
            watchForFrame(looksLeft - 1);
    });
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program, and with it whatever is drawing;
    // but not before the learner's change is written, or let go.
    if (!m_ending && m_errorDialogs && !m_codePane->editor().keepBeforeEnding(true)) {
        event->ignore();
        return;
    }
    halt();
    QWidget::closeEvent(event);
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->exec(event->globalPos());
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The focus frame shows on the focused button whenever the window is
    // active, from the start, so that a keyboard user sees what Space or
    // Return will press.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget *focused = focusWidget())
            focused->update();
    }
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only a window that is shown needs to fit on the screen: a picture
    // saved without one is drawn at zoom 1.
    fitOnScreen();
    QTimer::singleShot(0, this, [this] {
        // The frame round the window is known once it is shown, or soon
        // after.
        fitOnScreen();
        watchForFrame(kFrameLooks);
        // Without a window manager nobody else gives the window the
        // keyboard, and the focus must start on the first button of the
        // tab order.
        activateWindow();
    });
}

} // namespace sweepdraw
