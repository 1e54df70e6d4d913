#pragma once

#include "app/chart_template.h"

#include <QChartView>

class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace tunara::ui {

// The 2D timing chart: series 1 the advance curve (21 points), series 2 the
// trigger-timing line. Its look comes from a template file; the value label
// marks the point being worked on. Editing by mouse is added by the table
// view on top of this.
class Chart2DView : public QChartView {
    Q_OBJECT
public:
    explicit Chart2DView(QWidget *parent = nullptr);

    // Loads a template by path; false when it is missing or unusable (the
    // reason is in lastTemplateResult()). The previous look stays on failure.
    bool loadTemplate(const QString &path);
    const TemplateResult &lastTemplateResult() const { return m_lastTemplate; }

    QLineSeries *curveSeries() const { return m_curve; }
    QLineSeries *triggerSeries() const { return m_trigger; }

    void showValueLabel(const QString &text, int point);
    void hideValueLabel();
    bool isValueLabelVisible() const;

private:
    void applyTemplate(const ChartTemplate &t);
    void placeValueLabel();

    QLineSeries *m_curve;
    QLineSeries *m_trigger;
    QValueAxis *m_axisX;
    QValueAxis *m_axisY;
    QGraphicsSimpleTextItem *m_valueLabel;
    int m_labelPoint = 0;
    TemplateResult m_lastTemplate;
};

}  // namespace tunara::ui
