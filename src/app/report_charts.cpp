#include "app/report_charts.h"

#include "app/chart_2d_view.h"
#include "app/chart_3d_view.h"
#include "tables/table_axes.h"

#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QImage>
#include <QPaintDevice>

namespace tunara::ui {

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

report::ChartPicture chart3DPicture(const QString &templatePath, const Table3D &table, std::uint8_t mapSensor)
{
    return [templatePath, table, mapSensor](QPainter &painter, const QRectF &target) {
        Chart3DView view;
        view.loadTemplate(templatePath);
        view.setMapSensor(mapSensor);
        view.setSurface(table);
        view.hideValueLabel();
        const QSizeF size = screenSize(painter, target);
        view.resize(size.toSize());
        // Drawn as a picture at three times screen resolution: the
        // widget lays its text out for a screen, not for a printer's
        // resolution.
        constexpr int Sharpness = 3;
        QImage image(view.size() * Sharpness, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(Sharpness);
        image.fill(Qt::white);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.drawImage(target, image);
    };
}

}  // namespace tunara::ui
