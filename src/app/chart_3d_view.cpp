#include "app/chart_3d_view.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tunara::ui {

Chart3DView::Chart3DView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Chart3D1"));
    setAutoFillBackground(false);
    m_template.kind = ChartTemplate::Kind::Chart3D;
    m_template.xAxis = {QString(), 0, 10000, 11};
    m_template.yAxis = {QString(), 0, 1, 2};
    m_template.zAxis = {QString(), 0, 45, 4};
}

bool Chart3DView::loadTemplate(const QString &path)
{
    m_lastTemplate = tunara::ui::loadChartTemplate(path, ChartTemplate::Kind::Chart3D);
    if (!m_lastTemplate.chartTemplate)
        return false;
    m_template = *m_lastTemplate.chartTemplate;
    update();
    return true;
}

void Chart3DView::setSurface(const Table3D &values)
{
    m_values = values;
    update();
}

void Chart3DView::showValueLabel(const QString &text, int point, int pressureIndex)
{
    m_labelText = text;
    m_labelPoint = std::clamp(point, 1, SpeedPoints);
    m_labelPressure = std::clamp(pressureIndex, 1, PressureRows);
    m_labelVisible = true;
    update();
}

void Chart3DView::hideValueLabel()
{
    m_labelVisible = false;
    update();
}

double Chart3DView::advance01(double value) const
{
    const ChartAxis &z = m_template.zAxis;
    if (!(z.max > z.min))
        return 0;
    return std::clamp((value - z.min) / (z.max - z.min), 0.0, 1.0);
}

// Unit cube (speed, pressure, advance) turned about the vertical axis, tilted
// by the elevation, then fitted into the drawing area.
QPointF Chart3DView::project(double s, double p, double a, const QRectF &area) const
{
    const double rot = m_template.rotation * std::numbers::pi / 180.0;
    const double elev = m_template.elevation * std::numbers::pi / 180.0;
    const double x = s - 0.5;
    const double y = p - 0.5;
    const double z = a * 0.8;
    const double xr = x * std::cos(rot) - y * std::sin(rot);
    const double yr = x * std::sin(rot) + y * std::cos(rot);
    const double screenX = xr;
    const double screenY = -(z * std::cos(elev)) + yr * std::sin(elev);
    const double scale = std::min(area.width(), area.height() * 1.4) * 0.62;
    return {area.center().x() + screenX * scale, area.center().y() + 0.25 * area.height() + screenY * scale};
}

void Chart3DView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_template.background);

    QRectF area = QRectF(rect()).adjusted(10, 10, -10, -10);
    if (!m_template.title.isEmpty()) {
        QFont f = font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.2);
        painter.setFont(f);
        const QRectF titleRect(area.left(), area.top(), area.width(), painter.fontMetrics().height() + 4);
        painter.setPen(Qt::black);
        painter.drawText(titleRect, Qt::AlignCenter, m_template.title);
        area.setTop(titleRect.bottom() + 4);
        painter.setFont(font());
    }
    if (area.width() < 20 || area.height() < 20)
        return;

    const auto s01 = [](int point) { return (point - 1) / double(SpeedPoints - 1); };
    // Pressure index 1 is the highest pressure: it goes to the far side.
    const auto p01 = [](int m) { return (PressureRows - m) / double(PressureRows - 1); };

    // Floor grid.
    painter.setPen(QPen(m_template.gridColor, 1));
    for (int point = 1; point <= SpeedPoints; point += 4)
        painter.drawLine(project(s01(point), 0, 0, area), project(s01(point), 1, 0, area));
    for (int m = 1; m <= PressureRows; ++m)
        painter.drawLine(project(0, p01(m), 0, area), project(1, p01(m), 0, area));

    // Surface, far quads first so near ones cover them.
    for (int m = 1; m < PressureRows; ++m) {
        for (int point = 1; point < SpeedPoints; ++point) {
            const double a00 = advance01(m_values(point, m));
            const double a10 = advance01(m_values(point + 1, m));
            const double a11 = advance01(m_values(point + 1, m + 1));
            const double a01 = advance01(m_values(point, m + 1));
            QPainterPath quad;
            quad.moveTo(project(s01(point), p01(m), a00, area));
            quad.lineTo(project(s01(point + 1), p01(m), a10, area));
            quad.lineTo(project(s01(point + 1), p01(m + 1), a11, area));
            quad.lineTo(project(s01(point), p01(m + 1), a01, area));
            quad.closeSubpath();
            const double level = (a00 + a10 + a11 + a01) / 4;
            const QColor &lo = m_template.surfaceLow;
            const QColor &hi = m_template.surfaceHigh;
            const QColor fill = QColor::fromRgbF(float(lo.redF() + (hi.redF() - lo.redF()) * level),
                                                 float(lo.greenF() + (hi.greenF() - lo.greenF()) * level),
                                                 float(lo.blueF() + (hi.blueF() - lo.blueF()) * level));
            painter.setBrush(fill);
            painter.setPen(QPen(fill.darker(140), 0.8));
            painter.drawPath(quad);
        }
    }

    // Axis titles beside the middle of their floor edges, pushed outward
    // from the floor's centre; the advance axis stands at the far corner.
    painter.setPen(Qt::black);
    const QPointF centre = project(0.5, 0.5, 0, area);
    const auto besideEdge = [&](const QPointF &mid, const QString &text) {
        const QPointF at = mid + (mid - centre) * 0.35;
        QRectF box = painter.fontMetrics().boundingRect(text);
        box.moveCenter(at);
        painter.drawText(box, Qt::AlignCenter, text);
    };
    besideEdge(project(0.5, 0, 0, area), m_template.xAxis.title);
    besideEdge(project(1, 0.5, 0, area), m_template.yAxis.title);
    const QPointF axisFoot = project(0, 1, 0, area);
    const QPointF axisTop = project(0, 1, 1, area);
    painter.drawLine(axisFoot, axisTop);
    const ChartAxis &z = m_template.zAxis;
    const int ticks = std::max(2, z.ticks);
    for (int i = 0; i < ticks; ++i) {
        const double f = i / double(ticks - 1);
        const QPointF at = project(0, 1, f, area);
        painter.drawLine(at, at - QPointF(4, 0));
        const QString label = QString::number(z.min + (z.max - z.min) * f, 'f', 0);
        QRectF box = painter.fontMetrics().boundingRect(label);
        box.moveCenter(at - QPointF(8 + box.width() / 2, 0));
        painter.drawText(box, Qt::AlignCenter, label);
    }
    QRectF zTitle = painter.fontMetrics().boundingRect(z.title);
    zTitle.moveCenter(axisTop - QPointF(0, zTitle.height()));
    painter.drawText(zTitle, Qt::AlignCenter, z.title);

    if (m_labelVisible) {
        const QPointF at = project(s01(m_labelPoint), p01(m_labelPressure),
                                   advance01(m_values(m_labelPoint, m_labelPressure)), area);
        const QRectF box = painter.fontMetrics().boundingRect(m_labelText).adjusted(-3, -2, 3, 2);
        const QRectF placed = box.translated(at + QPointF(6, -6 - box.height()) - box.topLeft());
        painter.setBrush(QColor(255, 255, 225));
        painter.setPen(Qt::black);
        painter.drawRect(placed);
        painter.drawText(placed, Qt::AlignCenter, m_labelText);
    }
}

}  // namespace tunara::ui
