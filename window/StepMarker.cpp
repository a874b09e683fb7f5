#include "StepMarker.h"

#include "RunnerDriver.h"
#include "Design.h"
#include "SurfaceView.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace sweepdraw {

namespace {

// Across, in pixels: with room inside for a dot of the widest pen the
// scenes plot points with, 3 pixels.
constexpr int kDiameter = 13;
constexpr int kRingWidth = 2;

} // namespace

StepMarker::StepMarker(const RunnerDriver &runner, SurfaceView &view, QWidget *parent)
    : QWidget(parent)
    , m_runner(runner)
    , m_view(view)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(kDiameter, kDiameter);
    hide();
    m_view.installEventFilter(this);
    connect(&runner, &RunnerDriver::drawn, this, &StepMarker::refresh);
    connect(&runner, &RunnerDriver::idle, this, &StepMarker::refresh);
}

void StepMarker::refresh()
{
    const LoopState &at = m_runner.loops();
    if (!m_runner.isPaused() || !m_runner.progress().current || !at.hasPoint()) {
        hide();
        return;
    }
    const LoopState::Point point = at.lastPoint();
    const double zoom = static_cast<double>(m_view.width()) / kDesignSize.width;
    const QPoint centre = m_view.mapTo(parentWidget(), QPoint(0, 0))
                          + QPoint(static_cast<int>(std::lround(point.x / kTwipsPerPixel * zoom)),
                                   static_cast<int>(std::lround(point.y / kTwipsPerPixel * zoom)));
    move(centre - QPoint(kDiameter / 2, kDiameter / 2));
    setToolTip(tr("Last point: (%1, %2) twips, pixel (%3, %4)")
                   .arg(point.x, 0, 'f', 0)
                   .arg(point.y, 0, 'f', 0)
                   .arg(std::floor(point.x / kTwipsPerPixel + 0.5), 0, 'f', 0)
                   .arg(std::floor(point.y / kTwipsPerPixel + 0.5), 0, 'f', 0));
    // No picture reaches a label or a button, so the ring over the stage
    // never covers one.
    show();
}

bool StepMarker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_view && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        refresh();
    return QWidget::eventFilter(watched, event);
}

void StepMarker::paintEvent(QPaintEvent *)
{
    // Dark round light, so that it shows on any colour of the picture.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = QRectF(rect()).adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth);
    painter.setPen(QPen(Qt::black, kRingWidth + 2));
    painter.drawEllipse(ring);
    painter.setPen(QPen(Qt::white, kRingWidth));
    painter.drawEllipse(ring);
}

} // namespace sweepdraw
