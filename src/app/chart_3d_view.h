#pragma once

#include "app/chart_template.h"
#include "tables/timing_tables.h"

#include <QWidget>

namespace tunara::ui {

// The 3D timing chart: a surface of 21 speed points by 8 pressure indices
// drawn with QPainter as projected quads, its look from a template file.
// Editing gestures are added by the table view on top of this.
class Chart3DView : public QWidget {
    Q_OBJECT
public:
    explicit Chart3DView(QWidget *parent = nullptr);

    bool loadTemplate(const QString &path);
    const TemplateResult &lastTemplateResult() const { return m_lastTemplate; }
    const ChartTemplate &currentTemplate() const { return m_template; }

    // The surface: value at (speed point 1..21, pressure index 1..8).
    void setSurface(const Table3D &values);
    const Table3D &surface() const { return m_values; }

    void showValueLabel(const QString &text, int point, int pressureIndex);
    void hideValueLabel();
    bool isValueLabelVisible() const { return m_labelVisible; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointF project(double speed01, double pressure01, double advance01, const QRectF &area) const;
    double advance01(double value) const;

    ChartTemplate m_template;
    TemplateResult m_lastTemplate;
    Table3D m_values;
    bool m_labelVisible = false;
    QString m_labelText;
    int m_labelPoint = 1;
    int m_labelPressure = 1;
};

}  // namespace tunara::ui
