#include "Form1.h"

#include "Panel.h"
#include "SurfaceView.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace sweepdraw {

namespace {

// Positions are kept in twips, as the layout was designed; 15 make a pixel.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

// The speeds in the menu, slowest first, in the order of Speed.
struct SpeedItem
{
    Speed speed;
    const char *text;
    QKeyCombination key;
};

constexpr std::array<SpeedItem, 4> kSpeedItems = {{
    {Speed::Slow, "慢", Qt::CTRL | Qt::Key_1},
    {Speed::Normal, "正常", Qt::CTRL | Qt::Key_2},
    {Speed::Fast, "快", Qt::CTRL | Qt::Key_3},
    {Speed::Instant, "立即", Qt::CTRL | Qt::Key_4},
}};

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

QFont labelFont(int pixelSize)
{
    QFont font;
    // The Kai face the layout asks for, then the free Kai faces that stand in
    // for it on Debian.
    font.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("AR PL KaitiM GB"),
                      QStringLiteral("AR PL UKai CN")});
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

} // namespace

Form1::Form1(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("图形程序设计 Merivane 2006.11."));
    setFixedSize(fromTwips(0, 0, 12000, 8280).size());

    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0, 128, 0));
    setPalette(background);
    setAutoFillBackground(true);

    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : this->devicePixelRatioF();
    m_shape1 = new Panel(this);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_shape1->setGeometry(fromTwips(120, 120, 11775, 8055));
    m_view = new SurfaceView(size(), ratio, this);
    m_view->setObjectName(QStringLiteral("Surface"));
    m_runner = new CommandRunner(m_view->surface(), this);
    m_runner->setObjectName(QStringLiteral("runner"));
    connect(m_runner, &CommandRunner::drawn, m_view, &SurfaceView::showChanges);
    connect(m_runner, &CommandRunner::failed, this, &Form1::fail);
    buildControls();
    buildMenu();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    for (const LabelLayout &layout : kLabels) {
        auto *label = new QLabel(QString::fromUtf8(layout.text), this);
        label->setObjectName(QString::fromLatin1(layout.name));
        label->setGeometry(layout.geometry);
        label->setFont(labelFont(layout.pixelSize));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, Qt::black);
        colours.setColor(QPalette::WindowText, QColor::fromRgb(layout.colour));
        label->setPalette(colours);
    }

    // Made in tab order, which is also their stacking order from the lowest
    // up, and where the keyboard focus starts.
    std::array<const Command *, kCommands.size()> inTabOrder;
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        inTabOrder[i] = &kCommands[i];
    std::ranges::sort(inTabOrder, {}, &Command::tabIndex);
    QPushButton *previous = nullptr;
    for (const Command *command : inTabOrder) {
        auto *button = new QPushButton(QString::fromUtf8(command->caption), this);
        button->setObjectName(QString::fromLatin1(command->objectName));
        button->setGeometry(fromTwips(command->left, 7440, 975, 375));
        button->setAutoDefault(false);
        button->setDefault(false);
        // The window's menu is for the picture, not for the buttons.
        button->setContextMenuPolicy(Qt::PreventContextMenu);
        const Button which = command->button;
        connect(button, &QPushButton::clicked, this, [this, which] { RunCommand(which); });
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }
}

void Form1::buildMenu()
{
    auto *speeds = new QActionGroup(this);
    for (const SpeedItem &item : kSpeedItems) {
        QAction *action = speeds->addAction(QString::fromUtf8(item.text));
        action->setCheckable(true);
        action->setShortcut(item.key);
        const Speed speed = item.speed;
        connect(action, &QAction::triggered, this, [this, speed] { setSpeed(speed); });
        m_speedActions[static_cast<std::size_t>(item.speed)] = action;
    }
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    auto *finish = new QAction(QStringLiteral("立即画完"), this);
    finish->setShortcut(Qt::Key_Escape);
    connect(finish, &QAction::triggered, m_runner, &CommandRunner::finishQueued);
    m_menuActions = speeds->actions() << separator << finish;
    // The shortcuts work with the menu closed too.
    addActions(m_menuActions);
    setSpeed(m_runner->speed());
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

void Form1::RunCommand(Button which)
{
    if (m_ending)
        return;
    if (!commandOf(which).action) {
        m_runner->stop();
        end(0);
        return;
    }
    m_runner->enqueue(which);
}

void Form1::fail(const QString &message)
{
    m_runner->stop();
    m_ending = true;
    qCritical().noquote() << "sweepdraw: run-time error:" << message;
    if (m_errorDialogs)
        QMessageBox::critical(this, windowTitle(), message);
    end(1);
}

void Form1::end(int status)
{
    m_ending = true;
    emit ended(status);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program, and with it whatever is drawing.
    m_runner->stop();
    m_ending = true;
    QWidget::closeEvent(event);
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addActions(m_menuActions);
    menu.exec(event->globalPos());
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Without a window manager nobody else gives the window the keyboard,
    // and the focus must start on the first button of the tab order.
    QTimer::singleShot(0, this, [this] { activateWindow(); });
}

} // namespace sweepdraw
