#include "Stage.h"

#include "ButtonTable.h"
#include "CommandButton.h"
#include "CoreInQt.h"
#include "Panel.h"
#include "SurfaceView.h"
#include "WindowColours.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cmath>

namespace sweepdraw {

namespace {

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
    {"Label1", "图形程序设计", fromTwips(1080, 5520, 3375, 495), 35, WindowColour::kTitle},
    {"Label2", "Merivane", fromTwips(1920, 6240, 1815, 375), 21, WindowColour::kName},
    {"Label3", "2006.11.", fromTwips(2040, 6720, 1455, 375), 21, WindowColour::kDate},
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

Stage::Stage(double devicePixelRatio, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Stage"));
    resize(toQSize(kDesignSize));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor::fromRgb(WindowColour::kBackground));
    setPalette(background);
    setAutoFillBackground(true);

    m_shape1 = new Panel(this);
    m_shape1->setObjectName(QStringLiteral("Shape1"));
    m_placed.push_back({m_shape1, fromTwips(120, 120, 11775, 8055), {}});
    m_view = new SurfaceView(devicePixelRatio > 0 ? devicePixelRatio : this->devicePixelRatioF(), this);
    m_view->setObjectName(QStringLiteral("Surface"));
    m_placed.push_back({m_view, QRect(QPoint(0, 0), toQSize(kDesignSize)), {}});
    buildControls();
    layOut(m_zoom);
}

Stage::~Stage() = default;

RasterSurface &Stage::picture()
{
    return m_view->surface();
}

void Stage::buildControls()
{
    for (const LabelLayout &layout : kLabels) {
        auto *label = new QLabel(QString::fromUtf8(layout.text), this);
        label->setObjectName(QString::fromLatin1(layout.name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, QColor::fromRgb(WindowColour::kPanel));
        colours.setColor(QPalette::WindowText, QColor::fromRgb(layout.colour));
        label->setPalette(colours);
        const int pixels = layout.pixelSize;
        m_placed.push_back(
            {label, layout.geometry, [label, pixels](double zoom) { label->setFont(labelFont(pixels, zoom)); }});
    }

    // Made in tab order, which is also their stacking order from the lowest
    // up, and where the keyboard focus starts.
    std::array<const ButtonLook *, kButtonLooks.size()> inTabOrder;
    for (std::size_t i = 0; i < kButtonLooks.size(); ++i)
        inTabOrder[i] = &kButtonLooks[i];
    std::ranges::sort(inTabOrder, {}, &ButtonLook::tabIndex);
    QPushButton *previous = nullptr;
    for (const ButtonLook *look : inTabOrder) {
        auto *button = new CommandButton(QString::fromUtf8(commandOf(look->button).caption), this);
        button->setObjectName(QString::fromLatin1(look->objectName));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setToolTip(toolTipOf(look->button));
        // The window's menu is for the picture, not for the buttons.
        button->setContextMenuPolicy(Qt::PreventContextMenu);
        const Button which = look->button;
        connect(button, &QPushButton::clicked, this, [this, which] { emit commandClicked(which); });
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
        m_placed.push_back(
            {button, fromTwips(look->left, 7440, 975, 375), [button](double zoom) { button->setZoom(zoom); }});
    }
}

void Stage::layOut(double zoom)
{
    const QRect whole = zoomed(QRect(QPoint(0, 0), toQSize(kDesignSize)), zoom, QPoint(0, 0));
    const QPoint origin((width() - whole.width()) / 2, (height() - whole.height()) / 2);
    for (const Placed &placed : m_placed) {
        placed.widget->setGeometry(zoomed(placed.designed, zoom, origin));
        if (placed.zoomTo)
            placed.zoomTo(zoom);
    }
    m_shape1->setBorder(std::max(1, static_cast<int>(std::lround(zoom))));
    m_zoom = zoom;
}

QImage Stage::render()
{
    // Drawn straight in the format returned: Qt splits a conversion of a
    // picture this size among threads, and waits for ever for one it cannot
    // make. Whatever the stage leaves unpainted shows black, as it would
    // converted from transparent.
    QImage image(toQSize(kDesignSize), QImage::Format_RGB32);
    if (image.isNull())
        return image; // out of memory, which the caller tells
    image.fill(Qt::black);
    QWidget::render(&image);
    return image;
}

} // namespace sweepdraw
