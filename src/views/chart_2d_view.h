#pragma once

#include "charts/chart_template.h"

#include <QChartView>

#include <limits>
#include <vector>

class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace tunara::views {

// The 2D timing chart: series 1 the advance curve (21 points), series 2 the
// trigger-timing line. Its look comes from a template file; the value label
// marks the point being worked on. Editing by mouse is added by the table
// view on top of this: the chart reports its mouse events and answers hit
// tests. Its own gesture is a zoom: Ctrl with the left button drags a
// rectangle to zoom into, Ctrl with the right button goes back to the full
// chart; it is announced by gestureStarted().
class Chart2DView : public QChartView {
    Q_OBJECT
public:
    explicit Chart2DView(QWidget *parent = nullptr);

    // Loads a template by path; false when it is missing or unusable (the
    // reason is in lastTemplateResult()). The previous look stays on failure.
    bool loadTemplate(const QString &path);
    const charts::TemplateResult &lastTemplateResult() const { return m_lastTemplate; }

    QLineSeries *curveSeries() const { return m_curve; }
    QLineSeries *triggerSeries() const { return m_trigger; }

    // The nearest point of either series to a pixel of the view, its
    // distance in pixels and whether the pixel lies inside the plot area.
    // Series are numbered 1 (curve) and 2 (trigger line), points 1..21; on
    // equal distance the curve wins, so a point lying on the trigger line
    // can still be caught.
    struct Hit {
        int series = 0;
        int point = 0;
        double distance = std::numeric_limits<double>::infinity();
        bool insidePlot = false;
    };
    Hit hitTest(const QPoint &pixel) const;

    // The whole curve in one repaint, one point of it, and the flat line.
    void setCurve(const std::vector<double> &advances);
    void setCurveValue(int point, double advance);
    double curveValue(int point) const;
    void setTriggerLine(double trigTiming);

    void showValueLabel(const QString &text, int point);
    void hideValueLabel();
    bool isValueLabelVisible() const;
    int valueLabelPoint() const { return m_labelPoint; }
    QString valueLabelText() const;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &position);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPointF &position);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPointF &position);
    void gestureStarted();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyTemplate(const charts::ChartTemplate &t);
    void placeValueLabel();

    QLineSeries *m_curve;
    QLineSeries *m_trigger;
    QValueAxis *m_axisX;
    QValueAxis *m_axisY;
    QGraphicsSimpleTextItem *m_valueLabel;
    int m_labelPoint = 0;
    bool m_zooming = false;
    charts::TemplateResult m_lastTemplate;
};

}  // namespace tunara::views
