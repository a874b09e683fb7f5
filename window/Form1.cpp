#include "Form1.h"

#include "AboutBox.h"
#include "Accessibility.h"
#include "CodePane.h"
#include "CommandButton.h"
#include "HelpDialog.h"
#include "MenuItems.h"
#include "PaneDock.h"
#include "Panel.h"
#include "PictureActions.h"
#include "RoutineEditor.h"
#include "RoutineFiles.h"
#include "SurfaceView.h"
#include "WindowImage.h"
#include "WindowMenu.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace sweepdraw {

namespace {

// How often, and how many times, a window just shown looks for its frame.
constexpr int kFrameLookInterval = 50; // ms
constexpr int kFrameLooks = 100;

// Positions are kept in twips, as the layout was designed.
QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

struct LabelLayout
{
    const char *name;
    const char *text;
    QRect geometry;
    int pixelSize;
    QRgb colour;
};

// In stacking order from the lowest up.
const std::array<LabelLayout, 3> kLabels = {{
    {"Label1", "图形程序设计", fromTwips(1080, 5520, 3375, 495), 35, qRgb(255, 255, 0)},
    {"Label2", "Merivane", fromTwips(1920, 6240, 1815, 375), 21, qRgb(0, 255, 0)},
    {"Label3", "2006.11.", fromTwips(2040, 6720, 1455, 375), 21, qRgb(0, 192, 192)},
}};

// The font of a label `pixelSize` pixels high at zoom 1, at `zoom`.
QFont labelFont(int pixelSize, double zoom)
{
    QFont font;
    // The Kai face the layout asks for, then the free Kai faces that stand in
    // for it on Debian.
    font.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("AR PL KaitiM GB"),
                      QStringLiteral("AR PL UKai CN")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize * zoom))));
    font.setBold(true);
    return font;
}

// Where a rectangle laid out at zoom 1 goes at `zoom`, its edges rounded so
// that neighbours stay neighbours.
QRect zoomed(const QRect &designed, double zoom, QPoint origin)
{
    const auto at = [zoom](int v) { return static_cast<int>(std::lround(v * zoom)); };
    return QRect(QPoint(at(designed.left()), at(designed.top())),
                 QPoint(at(designed.right() + 1) - 1, at(designed.bottom() + 1) - 1))
        .translated(origin);
}

// The zoom at which the window as laid out just fits in `room`.
double fittingZoom(QSize room)
{
    return std::min(static_cast<double>(room.width()) / kDesignSize.width(),
                    static_cast<double>(room.height()) / kDesignSize.height());
}

} // namespace

// The Kai faces come in one weight, so Qt's FreeType engine makes their bold
// itself, by widening each outline; but only for fonts below 64 pixels,
// which the title reaches at zoom 1.82, unless QT_NO_SYNTHESIZED_BOLD_LIMIT
// is set. The limit guards against ugly bold at large sizes in general; these
// faces look right emboldened at every size the window reaches.
void allowSyntheticBoldAtAnySize()
{
    if (!qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD_LIMIT"))
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
}

Form1::Form1(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("图形程序设计 Merivane 2006.11."));
    setMinimumSize((QSizeF(kDesignSize) * kMinZoom).toSize());
    resize(kDesignSize);

    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0, 128, 0));
    setPalette(background);
    setAutoFillBackground(true);

    m_shape1 = new Panel(this);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_placed.push_back({m_shape1, fromTwips(120, 120, 11775, 8055), {}});
    m_view = new SurfaceView(devicePixelRatio > 0 ? devicePixelRatio : this->devicePixelRatioF(), this);
    m_view->setObjectName(QStringLiteral("Surface"));
    m_view->setAccessibleName(tr("Picture"));
    m_placed.push_back({m_view, QRect(QPoint(0, 0), kDesignSize), {}});
    m_runner = new CommandRunner(m_view->surface(), this);
    m_runner->setObjectName(QStringLiteral("runner"));
    connect(m_runner, &CommandRunner::drawn, this, &Form1::showChanges);
    connect(m_runner, &CommandRunner::commandFinished, this, &Form1::describePicture);
    connect(m_runner, &CommandRunner::failed, this, &Form1::reportRunTimeError);
    connect(m_runner, &CommandRunner::idle, this, &Form1::drawingIdle);
    buildControls();
    buildMenu();
    describePicture();
    layOut();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    for (const LabelLayout &layout : kLabels) {
        auto *label = new QLabel(QString::fromUtf8(layout.text), this);
        label->setObjectName(QString::fromLatin1(layout.name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, Qt::black);
        colours.setColor(QPalette::WindowText, QColor::fromRgb(layout.colour));
        label->setPalette(colours);
        const int pixels = layout.pixelSize;
        m_placed.push_back(
            {label, layout.geometry, [label, pixels](double zoom) { label->setFont(labelFont(pixels, zoom)); }});
    }

    // Made in tab order, which is also their stacking order from the lowest
    // up, and where the keyboard focus starts.
    std::array<const Command *, kCommands.size()> inTabOrder;
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        inTabOrder[i] = &kCommands[i];
    std::ranges::sort(inTabOrder, {}, &Command::tabIndex);
    QPushButton *previous = nullptr;
    for (const Command *command : inTabOrder) {
        auto *button = new CommandButton(QString::fromUtf8(command->caption), this);
        button->setObjectName(QString::fromLatin1(command->objectName));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setToolTip(toolTipOf(command->button));
        // The window's menu is for the picture, not for the buttons.
        button->setContextMenuPolicy(Qt::PreventContextMenu);
        const Button which = command->button;
        connect(button, &QPushButton::clicked, this, [this, which] { RunCommand(which); });
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
        m_placed.push_back(
            {button, fromTwips(command->left, 7440, 975, 375), [button](double zoom) { button->setZoom(zoom); }});
    }
}

void Form1::buildMenu()
{
    m_menu = new WindowMenu(this);
    m_menu->addSection(tr("Speed"));
    auto *speeds = new QActionGroup(this);
    for (const SpeedInfo &item : kSpeeds) {
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

    connect(item(MenuItem::FinishNow), &QAction::triggered, m_runner, &CommandRunner::finishQueued);
    new PictureActions(*this, item(MenuItem::SavePicture), item(MenuItem::CopyPicture),
                       item(MenuItem::RecordAnimation),
                       [this] { return renderWindow(m_runner->pictures(), m_runner->progress()); });
    buildCodePane(item(MenuItem::ShowCode), item(MenuItem::Pause), item(MenuItem::Step));
    m_codePane->useActions({item(MenuItem::ShowCode), item(MenuItem::EditCopy), item(MenuItem::NewRoutine),
                            item(MenuItem::OpenRoutine), item(MenuItem::SaveRoutineAs), item(MenuItem::Run),
                            item(MenuItem::Stop)});
    buildRoutineItems(item(MenuItem::Run), item(MenuItem::Stop));
    connect(item(MenuItem::Help), &QAction::triggered, this,
            [this] { HelpDialog::showFor(this, m_menu->actions()); });
    connect(item(MenuItem::About), &QAction::triggered, this, [this] { AboutBox::show(this); });
}

void Form1::buildCodePane(QAction *show, QAction *pause, QAction *step)
{
    m_codePane = new CodePane(*m_runner, this);
    m_codePane->setObjectName(QStringLiteral("CodePane"));
    m_dock = new PaneDock(*this, *m_codePane, [this] { layOut(); });
    show->setCheckable(true);
    connect(show, &QAction::toggled, m_dock, &PaneDock::setShown);

    const auto setPaused = [this, pause](bool paused) {
        m_runner->setPaused(paused);
        pause->setText(paused ? tr("Continue")
                              : QCoreApplication::translate("Menu", menuItemInfo(MenuItem::Pause).text));
        m_codePane->refresh();
    };
    connect(pause, &QAction::triggered, this, [this, setPaused] { setPaused(!m_runner->isPaused()); });
    connect(step, &QAction::triggered, this, [this, setPaused] {
        setPaused(true);
        m_runner->step();
    });
}

void Form1::buildRoutineItems(QAction *run, QAction *stop)
{
    connect(run, &QAction::triggered, this, [this] {
        if (const std::optional<Runnable> routine = m_codePane->learnersRoutine())
            RunCommand(*routine);
    });
    connect(stop, &QAction::triggered, m_runner, &CommandRunner::dropAll);
    // Ending the program would lose the learner's work.
    m_runner->setForgiving([](const Runnable &command) {
        return command.routine() && RoutineFiles::isKept(QString::fromStdString(command.routine()->fileName()));
    });
    connect(m_runner, &CommandRunner::commandFailed, this, [this](const Runnable &, const QString &message) {
        qWarning().noquote() << "sweepdraw: run-time error:" << message;
        m_codePane->editor().showRunTimeError(message);
    });
    connect(m_codePane, &CodePane::numberChanged, this, &Form1::showAtOnce);
}

// The picture shows the learner's routine as it is now, finished, in place
// of its earlier versions and over the rest.
void Form1::showAtOnce(const Runnable &routine)
{
    if (m_ending)
        return;
    const std::string file = routine.routine()->fileName();
    std::unique_ptr<RasterSurface> picture = m_view->makeSurface(m_zoom);
    const std::optional<QString> failure = m_runner->showAtOnce(
        routine, [&file](const Runnable &shown) { return shown.routine() && shown.routine()->fileName() == file; },
        *picture);
    if (failure) {
        m_codePane->editor().showRunTimeError(*failure);
        return;
    }
    m_view->setSurface(std::move(picture));
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
        resize(QSize(static_cast<int>(std::floor(kDesignSize.width() * zoom)),
                     static_cast<int>(std::floor(kDesignSize.height() * zoom))));
    }
    const QSize whole = size() + frame;
    const QPoint inside(std::clamp(pos().x(), area.left(), std::max(area.left(), area.right() + 1 - whole.width())),
                        std::clamp(pos().y(), area.top(), std::max(area.top(), area.bottom() + 1 - whole.height())));
    if (inside != pos())
        move(inside);
}

void Form1::layOut()
{
    // The picture's part of the window: all of it unless the code pane is shown.
    const QRect area = m_dock->mainArea();
    m_dock->place();
    const double zoom = std::max(kMinZoom, fittingZoom(area.size()));
    const QRect whole = zoomed(QRect(QPoint(0, 0), kDesignSize), zoom, QPoint(0, 0));
    const QPoint origin(area.left() + (area.width() - whole.width()) / 2,
                        area.top() + (area.height() - whole.height()) / 2);
    for (const Placed &placed : m_placed) {
        placed.widget->setGeometry(zoomed(placed.designed, zoom, origin));
        if (placed.zoomTo)
            placed.zoomTo(zoom);
    }
    m_shape1->setBorder(std::max(1, static_cast<int>(std::lround(zoom))));
    if (zoom == m_zoom)
        return;
    // Drawn afresh at the new size, so that it stays crisp.
    m_zoom = zoom;
    std::unique_ptr<RasterSurface> picture = m_view->makeSurface(zoom);
    m_runner->redrawOn(*picture);
    m_view->setSurface(std::move(picture));
}

void Form1::describePicture()
{
    QStringList captions;
    for (const Runnable &command : m_runner->pictures())
        captions << command.caption();
    m_view->setAccessibleDescription(
        captions.isEmpty() ? tr("Blank") : captions.join(tr(", ", "between the captions of the pictures drawn")));
}

void Form1::showChanges()
{
    m_view->showChanges();
    emit frameDrawn();
}

void Form1::setClock(CommandRunner::Clock clock)
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
    return !m_runner->isIdle();
}

QList<Runnable> Form1::pictures() const
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
        end(ExitOk);
        return;
    }
    m_runner->enqueue(command);
}

void Form1::reportRunTimeError(const QString &message)
{
    // No click is taken while the message box is up.
    halt();
    qCritical().noquote() << "sweepdraw: run-time error:" << message;
    if (m_errorDialogs)
        QMessageBox::critical(this, windowTitle(), tr("The drawing stopped with an error:\n%1").arg(message));
    end(ExitFailure);
}

void Form1::halt()
{
    m_runner->stop();
    m_ending = true;
}

void Form1::end(ExitStatus status)
{
    halt();
    emit ended(status);
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
    // Closing the window ends the program, and with it whatever is drawing.
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
