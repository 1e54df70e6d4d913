#include "views/chart_2d_view.h"

#include "tables/table_axes.h"
#include "tables/timing_tables.h"

#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

#include <cmath>

namespace tunara::views {

Chart2DView::Chart2DView(QWidget *parent)
    : QChartView(new QChart(), parent),
      m_curve(new QLineSeries()),
      m_trigger(new QLineSeries()),
      m_axisX(new QValueAxis()),
      m_axisY(new QValueAxis())
{
    setObjectName(QStringLiteral("Chart2D1"));
    setRenderHint(QPainter::Antialiasing);
    QChart *c = chart();
    c->setAnimationOptions(QChart::NoAnimation);  // a drag must not lag behind the mouse
    c->legend()->setVisible(true);
    c->legend()->setAlignment(Qt::AlignBottom);
    for (int p = 1; p <= SpeedPoints; ++p) {
        m_curve->append(axes::rpmAtPoint(p), 0.0);
        m_trigger->append(axes::rpmAtPoint(p), 0.0);
    }
    m_curve->setPointsVisible(true);
    c->addSeries(m_curve);
    c->addSeries(m_trigger);
    c->addAxis(m_axisX, Qt::AlignBottom);
    c->addAxis(m_axisY, Qt::AlignLeft);
    for (QLineSeries *s : {m_curve, m_trigger}) {
        s->attachAxis(m_axisX);
        s->attachAxis(m_axisY);
    }
    m_axisX->setLabelFormat(QStringLiteral("%.0f"));
    m_axisY->setLabelFormat(QStringLiteral("%.0f"));
    m_valueLabel = new QGraphicsSimpleTextItem(c);
    m_valueLabel->setZValue(10);
    m_valueLabel->hide();
    // The label stays beside its point when the plot area moves or the
    // point's value changes.
    connect(c, &QChart::plotAreaChanged, this, [this] { placeValueLabel(); });
    connect(m_curve, &QLineSeries::pointReplaced, this, [this] { placeValueLabel(); });
    applyTemplate(charts::ChartTemplate{});
}

bool Chart2DView::loadTemplate(const QString &path)
{
    m_lastTemplate = charts::loadChartTemplate(path, charts::ChartTemplate::Kind::Chart2D);
    if (!m_lastTemplate.chartTemplate)
        return false;
    applyTemplate(*m_lastTemplate.chartTemplate);
    return true;
}

void Chart2DView::applyTemplate(const charts::ChartTemplate &t)
{
    QChart *c = chart();
    c->setTitle(t.title);
    c->setBackgroundBrush(t.background);
    c->setPlotAreaBackgroundBrush(t.plotBackground);
    c->setPlotAreaBackgroundVisible(true);
    const auto setAxis = [&t](QValueAxis *axis, const charts::ChartAxis &a) {
        axis->setTitleText(a.title);
        if (a.max > a.min)
            axis->setRange(a.min, a.max);
        axis->setTickCount(std::max(2, a.ticks));
        axis->setGridLineColor(t.gridColor);
    };
    setAxis(m_axisX, t.xAxis);
    setAxis(m_axisY, t.yAxis);
    QPen curvePen(t.curveColor);
    curvePen.setWidth(2);
    m_curve->setPen(curvePen);
    m_curve->setName(t.curveName);
    QPen triggerPen(t.triggerColor);
    triggerPen.setStyle(Qt::DashLine);
    m_trigger->setPen(triggerPen);
    m_trigger->setName(t.triggerName);
}

void Chart2DView::showValueLabel(const QString &text, int point)
{
    if (point < 1 || point > m_curve->count())
        return;
    m_labelPoint = point;
    m_valueLabel->setText(text);
    placeValueLabel();
    m_valueLabel->show();
}

void Chart2DView::placeValueLabel()
{
    if (m_labelPoint < 1 || m_labelPoint > m_curve->count())
        return;
    const QPointF at = chart()->mapToPosition(m_curve->at(m_labelPoint - 1), m_curve);
    m_valueLabel->setPos(at + QPointF(6, -22));
}

void Chart2DView::hideValueLabel()
{
    m_valueLabel->hide();
}

bool Chart2DView::isValueLabelVisible() const
{
    return m_valueLabel->isVisible();
}

QString Chart2DView::valueLabelText() const
{
    return m_valueLabel->text();
}

Chart2DView::Hit Chart2DView::hitTest(const QPoint &pixel) const
{
    const QPointF at = chart()->mapFromScene(mapToScene(pixel));
    Hit hit;
    hit.insidePlot = chart()->plotArea().contains(at);
    const QLineSeries *series[] = {m_curve, m_trigger};
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < series[s]->count(); ++p) {
            const QPointF pos = chart()->mapToPosition(series[s]->at(p), const_cast<QLineSeries *>(series[s]));
            const double d = std::hypot(pos.x() - at.x(), pos.y() - at.y());
            if (d < hit.distance) {
                hit.series = s + 1;
                hit.point = p + 1;
                hit.distance = d;
            }
        }
    }
    return hit;
}

void Chart2DView::setCurve(const std::vector<double> &advances)
{
    QList<QPointF> points;
    points.reserve(qsizetype(advances.size()));
    for (std::size_t i = 0; i < advances.size(); ++i)
        points.append(QPointF(double(i) * 500.0, advances[i]));
    m_curve->replace(points);
    placeValueLabel();
}

void Chart2DView::setCurveValue(int point, double advance)
{
    if (point < 1 || point > m_curve->count())
        return;
    const QPointF old = m_curve->at(point - 1);
    if (old.y() != advance)
        m_curve->replace(point - 1, QPointF(old.x(), advance));
}

double Chart2DView::curveValue(int point) const
{
    return m_curve->at(point - 1).y();
}

void Chart2DView::setTriggerLine(double trigTiming)
{
    QList<QPointF> points;
    for (int p = 1; p <= SpeedPoints; ++p)
        points.append(QPointF(axes::rpmAtPoint(p), trigTiming));
    m_trigger->replace(points);
}

void Chart2DView::mousePressEvent(QMouseEvent *event)
{
    // Ctrl with the left button zooms into a rectangle, Ctrl with the right
    // button shows the whole chart again: the chart's own gesture.
    if (event->modifiers() == Qt::ControlModifier &&
        (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        m_zooming = true;
        emit gestureStarted();
        if (event->button() == Qt::LeftButton) {
            setRubberBand(QChartView::RectangleRubberBand);
            QChartView::mousePressEvent(event);
        } else {
            chart()->zoomReset();
        }
    }
    emit mousePressed(event->button(), event->modifiers(), event->position());
    event->accept();
}

void Chart2DView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_zooming)
        QChartView::mouseMoveEvent(event);
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
    event->accept();
}

void Chart2DView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_zooming && rubberBand() != QChartView::NoRubberBand && event->button() == Qt::LeftButton) {
        QChartView::mouseReleaseEvent(event);
        setRubberBand(QChartView::NoRubberBand);
    }
    if (event->buttons() == Qt::NoButton)
        m_zooming = false;
    emit mouseReleased(event->button(), event->modifiers(), event->position());
    event->accept();
}

}  // namespace tunara::views
