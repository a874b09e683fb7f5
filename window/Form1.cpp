#include "Form1.h"

#include "Panel.h"
#include "RuntimeError.h"
#include "Scenes.h"
#include "SurfaceView.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace sweepdraw {

namespace {

// Positions are kept in twips, as the layout was designed; 15 make a pixel.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

struct ButtonLayout
{
    Button button;
    const char *name;
    const char *caption;
    int left;
};

// In stacking order from the lowest up; all share a top, width and height.
constexpr std::array<ButtonLayout, 6> kButtons = {{
    {Button::CmdDq, "CmdDq", "大桥", 8160},
    {Button::Cmdyg, "Cmdyg", "阳光", 6960},
    {Button::Cmdls, "Cmdls", "流水", 5760},
    {Button::CmdCls, "CmdCls", "清除", 9360},
    {Button::CmdExit, "CmdExit", "退出", 10560},
    {Button::CmdGs, "CmdGs", "高山", 4560},
}};

// Tab order, which starts where the keyboard focus starts.
constexpr std::array<Button, 6> kTabOrder = {Button::CmdDq, Button::Cmdyg, Button::Cmdls,
                                             Button::CmdCls, Button::CmdExit, Button::CmdGs};

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
    buildControls();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const LabelLayout &layout = kLabels[i];
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
        m_labels[i] = label;
    }

    for (const ButtonLayout &layout : kButtons) {
        auto *button = new QPushButton(QString::fromUtf8(layout.caption), this);
        button->setObjectName(QString::fromLatin1(layout.name));
        button->setGeometry(fromTwips(layout.left, 7440, 975, 375));
        button->setAutoDefault(false);
        button->setDefault(false);
        const Button which = layout.button;
        connect(button, &QPushButton::clicked, this, [this, which] { click(which); });
        m_buttons[static_cast<std::size_t>(which)] = button;
    }

    for (std::size_t i = 1; i < kTabOrder.size(); ++i)
        setTabOrder(button(kTabOrder[i - 1]), button(kTabOrder[i]));
    button(kTabOrder.front())->setFocus();
}

QPushButton *Form1::button(Button which) const
{
    return m_buttons[static_cast<std::size_t>(which)];
}

RasterSurface &Form1::picture()
{
    return m_view->surface();
}

void Form1::setDrawingSurface(DrawingSurface *surface)
{
    m_override = surface;
}

void Form1::setErrorDialogs(bool enabled)
{
    m_errorDialogs = enabled;
}

void Form1::RunCommand(Button which)
{
    switch (which) {
    case Button::CmdGs:
        runScene(DrawMountains);
        break;
    case Button::Cmdls:
        runScene(DrawWater);
        break;
    case Button::Cmdyg:
        runScene(DrawSunshine);
        break;
    case Button::CmdDq:
        runScene(DrawBridge);
        break;
    case Button::CmdCls:
        runScene([](DrawingSurface &surface) { check(surface.ClearSurface()); });
        break;
    case Button::CmdExit:
        end(0);
        break;
    }
}

void Form1::runScene(void (*scene)(DrawingSurface &))
{
    m_view->beginCommand();
    const auto showTheRest = qScopeGuard([this] { m_view->endCommand(); });
    scene(m_override ? *m_override : m_view->surface());
}

void Form1::click(Button which)
{
    if (m_ending)
        return;
    // Commands are dispatched here and nowhere else, so this is the one place
    // where an error from a command is caught: it must not unwind through
    // Qt's event handling.
    try {
        RunCommand(which);
    } catch (const RuntimeError &error) {
        const QString message = QString::fromUtf8(error.what());
        m_ending = true;
        qCritical().noquote() << "sweepdraw: run-time error:" << message;
        if (m_errorDialogs)
            QMessageBox::critical(this, windowTitle(), message);
        end(1);
    }
}

void Form1::end(int status)
{
    m_ending = true;
    emit ended(status);
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Without a window manager nobody else gives the window the keyboard,
    // and the focus must start on the first button of the tab order.
    QTimer::singleShot(0, this, [this] { activateWindow(); });
}

} // namespace sweepdraw
