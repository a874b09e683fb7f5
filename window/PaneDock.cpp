#include "PaneDock.h"

#include "WindowColours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace sweepdraw {

namespace {

constexpr int kDividerWidth = 6;

// How long a window manager may take to resize the window before the
// window is laid out as it is.
constexpr int kResizeWaitMs = 250;

} // namespace

// The bar between the rest and the pane, dragged with the mouse.
class PaneDock::Divider final : public QWidget
{
public:
    Divider(PaneDock &dock, QWidget *parent)
        : QWidget(parent)
        , m_dock(dock)
    {
        setCursor(Qt::SplitHCursor);
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(PaneDock::tr("Divider"));
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(WindowColour::kDivider));
        painter.fillRect(QRect(width() / 2, 0, 1, height()), QColor::fromRgb(WindowColour::kDividerLine));
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_dock.dragTo(parentWidget()->mapFromGlobal(event->globalPosition().toPoint()).x());
    }

private:
    PaneDock &m_dock;
};

PaneDock::PaneDock(QWidget &window, QWidget &pane, std::function<void()> layOut)
    : QObject(&window)
    , m_window(window)
    , m_pane(pane)
    , m_divider(new Divider(*this, &window))
    , m_layOut(std::move(layOut))
{
    m_divider->setObjectName(QStringLiteral("divider"));
    m_pane.hide();
}

void PaneDock::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    const bool keepsSize = m_window.isMaximized() || m_window.isFullScreen();
    if (shown) {
        m_mainMinimumWidth = m_window.minimumWidth();
        m_window.setMinimumWidth(m_mainMinimumWidth + kDividerWidth + kNarrowestPane);
        int width = m_window.width() + kDividerWidth + m_width;
        if (const QScreen *screen = m_window.screen()) {
            // As far as the screen has room to the window's right, so that
            // its left edge stays where it is, unless even its smallest
            // width does not fit there.
            const QRect frame = m_window.frameGeometry();
            const int room = screen->availableGeometry().right() + 1 - frame.left() - (frame.width() - m_window.width());
            width = std::min(width, std::max(room, m_window.minimumWidth()));
        }
        m_grown = keepsSize ? 0 : std::max(0, width - m_window.width());
        resizeWindow(m_window.width() + m_grown);
    } else {
        m_window.setMinimumWidth(m_mainMinimumWidth);
        const int grown = keepsSize ? 0 : m_grown;
        m_grown = 0;
        resizeWindow(m_window.width() - grown);
    }
}

// Resizes the window to `width`, moved left as far as it has to be to stay
// on the screen, or back where it was when it shrinks, and lays it out: once it has its new size, or at once if
// it keeps the one it has.
void PaneDock::resizeWindow(int width)
{
    if (width == m_window.width()) {
        m_layOut();
        return;
    }
    if (const QScreen *screen = m_window.screen()) {
        const QRect room = screen->availableGeometry();
        const QRect frame = m_window.frameGeometry();
        const int overhang = frame.left() + frame.width() + (width - m_window.width()) - (room.right() + 1);
        if (overhang > 0) {
            m_movedFrom = frame.topLeft();
            m_window.move(std::max(room.left(), frame.left() - overhang), frame.top());
        } else if (m_movedFrom && width < m_window.width()) {
            m_window.move(*std::exchange(m_movedFrom, std::nullopt));
        }
    }
    m_window.resize(width, m_window.height());
    // The window is laid out when it is resized; a window manager may refuse.
    QTimer::singleShot(kResizeWaitMs, this, [this] { m_layOut(); });
}

int PaneDock::paneWidth() const
{
    const int room = m_window.width() - kDividerWidth - m_mainMinimumWidth;
    return std::max(kNarrowestPane, std::min(m_width, room));
}

QRect PaneDock::mainArea() const
{
    const QRect whole = m_window.rect();
    if (!m_shown)
        return whole;
    return whole.adjusted(0, 0, -(kDividerWidth + paneWidth()), 0);
}

void PaneDock::place()
{
    const QRect main = mainArea();
    m_divider->setGeometry(main.right() + 1, 0, kDividerWidth, m_window.height());
    m_pane.setGeometry(main.right() + 1 + kDividerWidth, 0, m_window.width() - main.width() - kDividerWidth,
                       m_window.height());
    m_divider->setVisible(m_shown);
    m_pane.setVisible(m_shown);
}

void PaneDock::dragTo(int x)
{
    const int room = m_window.width() - kDividerWidth - m_mainMinimumWidth;
    m_width = std::clamp(m_window.width() - x - kDividerWidth / 2, kNarrowestPane, std::max(kNarrowestPane, room));
    m_layOut();
}

} // namespace sweepdraw
