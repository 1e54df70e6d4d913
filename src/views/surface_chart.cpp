#include "views/surface_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tunara::views {

namespace {

// Degrees of turn per pixel of mouse travel.
constexpr double TurnPerPixel = 0.5;
// Zoom factor per wheel notch.
constexpr double ZoomPerNotch = 1.1;

QPoint pixelOf(const QPointF &pos)
{
    return {int(std::lround(pos.x())), int(std::lround(pos.y()))};
}

}  // namespace

SurfaceChart::SurfaceChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Chart3D1"));
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(false);
    rescale();
}

void SurfaceChart::setLook(const charts::SurfaceLook &look)
{
    const QStringList labels = m_scene.look.pressureLabels;
    m_scene.look = look;
    if (m_scene.look.pressureLabels.isEmpty())
        m_scene.look.pressureLabels = labels;
    m_scene.view = look.view.limited();
    rescale();
    update();
}

void SurfaceChart::setPressureLabels(const QStringList &labels)
{
    m_scene.look.pressureLabels = labels;
    update();
}

void SurfaceChart::setSurface(const Table3D &values)
{
    m_scene.values = values;
    rescale();
    update();
}

void SurfaceChart::setValue(int point, int pressureIndex, double v)
{
    if (!std::isfinite(v))
        return;
    m_scene.values(point, pressureIndex) = v;
    update();
}

void SurfaceChart::setEditWindow(double low, double high)
{
    m_windowLow = low;
    m_windowHigh = high;
    rescale();
    update();
}

void SurfaceChart::setWireframe(const std::optional<Table3D> &values)
{
    m_scene.wireframe = values;
    rescale();
    update();
}

void SurfaceChart::rescale()
{
    double low = m_windowLow;
    double high = m_windowHigh;
    if (m_scene.wireframe) {
        for (int pt = 1; pt <= SpeedPoints; ++pt)
            for (int m = 1; m <= PressureRows; ++m) {
                low = std::min(low, (*m_scene.wireframe)(pt, m));
                high = std::max(high, (*m_scene.wireframe)(pt, m));
            }
    }
    const charts::SurfaceScene fresh = charts::makeSurfaceScene(m_scene.values, m_scene.look, low, high);
    m_scene.advanceLow = fresh.advanceLow;
    m_scene.advanceHigh = fresh.advanceHigh;
    m_scene.advanceStep = fresh.advanceStep;
    m_scene.colourLow = m_windowLow;
    m_scene.colourHigh = m_windowHigh;
}

void SurfaceChart::showValueLabel(const QString &text, int point, int pressureIndex)
{
    if (point < 1 || point > SpeedPoints || pressureIndex < 1 || pressureIndex > PressureRows)
        return;
    m_scene.label = {true, text, point, pressureIndex};
    update();
}

void SurfaceChart::hideValueLabel()
{
    m_scene.label.visible = false;
    update();
}

void SurfaceChart::setViewAngles(const charts::SurfaceViewAngles &view)
{
    m_scene.view = view.limited();
    update();
}

void SurfaceChart::resetView()
{
    setViewAngles(m_scene.look.view);
}

charts::SurfaceProjection SurfaceChart::projection() const
{
    return charts::surfaceProjection(QRectF(rect()), QFontMetricsF(font(), this), m_scene);
}

charts::SurfaceHit SurfaceChart::hitTest(const QPoint &pixel) const
{
    return projection().hitTest(QPointF(pixel), m_scene.values);
}

std::optional<double> SurfaceChart::valueUnder(int point, int pressureIndex, const QPoint &pixel) const
{
    return projection().valueUnder(point, pressureIndex, QPointF(pixel));
}

void SurfaceChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    charts::paintSurface(painter, QRectF(rect()), m_scene);
}

void SurfaceChart::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = pixelOf(event->position());
    if (event->button() == Qt::RightButton) {
        m_turning = true;
        m_turnFrom = pos;
        m_turnStart = m_scene.view;
        emit viewGestureStarted();
    } else if (event->button() == Qt::MiddleButton) {
        resetView();
    }
    emit chartMouseDown(event->button(), event->modifiers(), pos);
}

void SurfaceChart::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = pixelOf(event->position());
    if (m_turning && (event->buttons() & Qt::RightButton)) {
        charts::SurfaceViewAngles v = m_turnStart;
        v.rotation += (pos.x() - m_turnFrom.x()) * TurnPerPixel;
        v.elevation += (pos.y() - m_turnFrom.y()) * TurnPerPixel;
        setViewAngles(v);
    }
    emit chartMouseMove(event->buttons(), event->modifiers(), pos);
}

void SurfaceChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        m_turning = false;
    emit chartMouseUp(event->button(), event->modifiers(), pixelOf(event->position()));
}

void SurfaceChart::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    charts::SurfaceViewAngles v = m_scene.view;
    v.zoom *= std::pow(ZoomPerNotch, notches);
    setViewAngles(v);
    event->accept();
}

void SurfaceChart::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home) {
        resetView();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tunara::views
