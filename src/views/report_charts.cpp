#include "views/report_charts.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "editor/table_rules.h"
#include "tables/table_axes.h"
#include "views/surface_look.h"

#include <QApplication>
#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QPaintDevice>

namespace tunara::views {

namespace {

// Charts are laid out as on a screen of this resolution and then scaled to
// the printer, so their fonts and lines keep the proportions of the screen.
constexpr double ScreenDpi = 96;

QSizeF screenSize(const QPainter &painter, const QRectF &target)
{
    const QPaintDevice *device = painter.device();
    return QSizeF(target.width() * ScreenDpi / device->logicalDpiX(), target.height() * ScreenDpi / device->logicalDpiY());
}

}  // namespace

report::ChartPicture chart2DPicture(const QString &templatePath, const Table2D &table)
{
    return [templatePath, table](QPainter &painter, const QRectF &target) {
        Chart2DView view;
        view.loadTemplate(templatePath);
        view.hideValueLabel();
        QList<QPointF> curve;
        QList<QPointF> trigger;
        for (int p = 1; p <= SpeedPoints; ++p) {
            curve << QPointF(axes::rpmAtPoint(p), table(p, 1));
            trigger << QPointF(axes::rpmAtPoint(p), table(p, 2));
        }
        view.curveSeries()->replace(curve);
        view.triggerSeries()->replace(trigger);
        QChart *chart = view.chart();
        chart->setAnimationOptions(QChart::NoAnimation);
        const QSizeF size = screenSize(painter, target);
        chart->setGeometry(QRectF(QPointF(0, 0), size));
        view.scene()->setSceneRect(chart->geometry());
        view.scene()->render(&painter, target, chart->geometry(), Qt::KeepAspectRatio);
    };
}

report::ChartPicture chart3DPicture(const QString &templatePath, const Table3D &table, const ModuleParameters &params)
{
    const editor::AdvanceWindow window = editor::editWindow(editor::TableKind::Map3D, params.TrigTiming);
    const views::SurfaceScene scene =
        views::makeSurfaceScene(table, Chart3DView::lookOf(templatePath, params.MAPSensor), window.low, window.high);
    return [scene](QPainter &painter, const QRectF &target) {
        // The screen's font, not the report's fixed-width one: the chart
        // reads as it does in the window.
        painter.save();
        painter.setFont(QApplication::font());
        views::paintSurface(painter, target, scene);
        painter.restore();
    };
}

}  // namespace tunara::views
