#include "charts/report_charts.h"

#include "charts/chart_2d_painter.h"
#include "charts/surface_look.h"
#include "editor/table_rules.h"

#include <QGuiApplication>
#include <QPainter>

namespace tunara::charts {

namespace {

// Draws in the application's font, which the chart's text is measured in.
template <typename Paint>
report::ChartPicture inApplicationFont(Paint paint)
{
    return [paint](QPainter &painter, const QRectF &target) {
        painter.save();
        painter.setFont(QGuiApplication::font());
        paint(painter, target);
        painter.restore();
    };
}

}  // namespace

report::ChartPicture chart2DPicture(const QString &templatePath, const Table2D &table)
{
    const TemplateResult loaded = loadChartTemplate(templatePath, ChartTemplate::Kind::Chart2D);
    const Chart2DScene scene = chart2DScene(loaded.chartTemplate.value_or(ChartTemplate{}), table);
    return inApplicationFont(
        [scene](QPainter &painter, const QRectF &target) { paintChart2D(painter, target, scene); });
}

report::ChartPicture chart3DPicture(const QString &templatePath, const Table3D &table, const ModuleParameters &params)
{
    const editor::AdvanceWindow window = editor::editWindow(editor::TableKind::Map3D, params.TrigTiming);
    const SurfaceScene scene =
        makeSurfaceScene(table, surfaceLook(templatePath, params.MAPSensor), window.low, window.high);
    return inApplicationFont(
        [scene](QPainter &painter, const QRectF &target) { paintSurface(painter, target, scene); });
}

}  // namespace tunara::charts
