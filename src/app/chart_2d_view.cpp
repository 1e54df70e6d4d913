#include "app/chart_2d_view.h"

#include "tables/timing_tables.h"

#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>

namespace tunara::ui {

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
    c->legend()->setVisible(true);
    c->legend()->setAlignment(Qt::AlignBottom);
    for (int p = 1; p <= SpeedPoints; ++p) {
        m_curve->append((p - 1) * 500.0, 0.0);
        m_trigger->append((p - 1) * 500.0, 0.0);
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
    applyTemplate(ChartTemplate{});
}

bool Chart2DView::loadTemplate(const QString &path)
{
    m_lastTemplate = tunara::ui::loadChartTemplate(path, ChartTemplate::Kind::Chart2D);
    if (!m_lastTemplate.chartTemplate)
        return false;
    applyTemplate(*m_lastTemplate.chartTemplate);
    return true;
}

void Chart2DView::applyTemplate(const ChartTemplate &t)
{
    QChart *c = chart();
    c->setTitle(t.title);
    c->setBackgroundBrush(t.background);
    c->setPlotAreaBackgroundBrush(t.plotBackground);
    c->setPlotAreaBackgroundVisible(true);
    const auto setAxis = [&t](QValueAxis *axis, const ChartAxis &a) {
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

}  // namespace tunara::ui
