// The printed 2D chart, drawn with QPainter alone: the curve lies where the
// table's values map on the template's axes, stops at the plot's edges, and
// the chart keeps its proportions on a printer's finer pixels.
#include "charts/chart_2d_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace tunara;
using namespace tunara::charts;

namespace {

const QColor Curve(0x00, 0xa0, 0x00);
const QColor Panel(0xf0, 0xf0, 0xf0);

ChartTemplate look(const QString &title)
{
    ChartTemplate t;
    t.title = title;
    t.background = Panel;
    t.plotBackground = Qt::white;
    t.xAxis = {QStringLiteral("Engine Speed (RPM)"), 0, 10000, 11};
    t.yAxis = {QStringLiteral("Advance (degrees)"), 0, 40, 5};
    t.curveColor = Curve;
    t.triggerColor = QColor(0x00, 0x00, 0xff);
    t.curveName = QStringLiteral("Advance");
    t.triggerName = QStringLiteral("Trigger Timing");
    return t;
}

// 6 .. 26 degrees, but 60 at 5000 RPM (above the axis) and -10 at 7000 (below).
Table2D table()
{
    Table2D t;
    for (int p = 1; p <= SpeedPoints; ++p) {
        t(p, 1) = 5 + p;
        t(p, 2) = 30;
    }
    t(11, 1) = 60;
    t(15, 1) = -10;
    return t;
}

bool near(QRgb pixel, const QColor &colour, int tolerance = 60)
{
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <=
           tolerance;
}

// Of the curve's green or the trigger line's blue, also where a thin line
// is blended into its neighbours: no grey, text or panel pixel is.
bool greenish(QRgb pixel)
{
    return qGreen(pixel) - std::max(qRed(pixel), qBlue(pixel)) > 50;
}
bool bluish(QRgb pixel)
{
    return qBlue(pixel) - std::max(qRed(pixel), qGreen(pixel)) > 50;
}

struct Picture {
    QImage image;
    Chart2DLayout layout;
};

Picture paint(const ChartTemplate &t, QSize size, double dpi = 96)
{
    Picture p{QImage(size, QImage::Format_RGB32), {}};
    p.image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    p.image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    p.image.fill(Qt::white);
    const Chart2DScene scene = chart2DScene(t, table());
    p.layout = chart2DLayout(QRectF(p.image.rect()), QGuiApplication::font(), &p.image, scene);
    QPainter painter(&p.image);
    painter.setFont(QGuiApplication::font());
    paintChart2D(painter, QRectF(p.image.rect()), scene);
    return p;
}

}  // namespace

TEST(Chart2DPicture, TheCurveLiesWhereTheTableMapsAndStopsAtTheAxes)
{
    const Picture p = paint(look(QStringLiteral("Ignition Advance")), QSize(900, 560));
    const QRectF plot = p.layout.plot;
    const QImage &img = p.image;
    ASSERT_FALSE(plot.isEmpty());
    ASSERT_TRUE(QRectF(img.rect()).contains(plot));
    // The plot is drawn where the layout says: white inside, the panel outside.
    const double y35 = plot.bottom() - plot.height() * 35 / 40;
    EXPECT_TRUE(near(img.pixel(int(plot.right()) - 3, int(y35)), Qt::white));
    EXPECT_TRUE(near(img.pixel(int(plot.right()) + 4, int(y35)), Panel, 10));

    // The curve's points, away from the two that leave the plot, on the
    // template's axes: 0 .. 10000 RPM across, 0 .. 40 degrees upward.
    const auto at = [&plot](double rpm, double advance) {
        return QPoint(int(std::lround(plot.left() + plot.width() * rpm / 10000)),
                      int(std::lround(plot.bottom() - plot.height() * advance / 40)));
    };
    for (int point : {2, 5, 8, 17, 20})
        EXPECT_TRUE(near(img.pixel(at((point - 1) * 500, 5 + point)), Curve)) << point;
    // The trigger line, dashed, at 30 degrees and nowhere else.
    const auto count = [&img](auto test, QPoint from, QPoint to) {
        int n = 0;
        for (int y = from.y(); y <= to.y(); ++y)
            for (int x = from.x(); x <= to.x(); ++x)
                n += test(img.pixel(x, y));
        return n;
    };
    EXPECT_GT(count(bluish, at(2000, 30) - QPoint(0, 1), at(3000, 30) + QPoint(0, 1)), 20);
    EXPECT_EQ(count(bluish, at(2000, 29), at(3000, 25)), 0);

    // 60 and -10 degrees run into the top and bottom edges and no further.
    EXPECT_GT(count(greenish, at(4500, 40) + QPoint(0, 2), at(5500, 40) + QPoint(0, 2)), 1);
    EXPECT_GT(count(greenish, at(6500, 0) - QPoint(0, 2), at(7500, 0) - QPoint(0, 2)), 1);
    int outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!plot.adjusted(-1, -1, 1, 1).contains(QPointF(x, y)) && !p.layout.legend.contains(QPointF(x, y)))
                outside += greenish(img.pixel(x, y));
    EXPECT_EQ(outside, 0);

    // The title is written, centred over the chart; without one the plot
    // takes its room.
    int left = img.width(), right = -1;
    for (int y = int(p.layout.title.top()); y < int(p.layout.title.bottom()); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GT(right, left);
    EXPECT_NEAR((left + right) / 2.0, img.width() / 2.0, 3);
    EXPECT_LT(paint(look(QString()), QSize(900, 560)).layout.plot.top(), plot.top() - 10);
}

TEST(Chart2DPicture, APrinterGetsTheScreensProportions)
{
    // The same picture at three times the resolution, as on a printer: the
    // text is measured on the device drawn on, so nothing shrinks.
    const Chart2DLayout screen = paint(look(QStringLiteral("Ignition Advance")), QSize(900, 560)).layout;
    const Chart2DLayout printer = paint(look(QStringLiteral("Ignition Advance")), QSize(2700, 1680), 288).layout;
    EXPECT_NEAR(printer.pixel, 3, 1e-3);
    for (auto edge : {&QRectF::left, &QRectF::top, &QRectF::right, &QRectF::bottom})
        EXPECT_NEAR((printer.plot.*edge)() / 3, (screen.plot.*edge)(), 2);
    EXPECT_NEAR(printer.legend.height() / 3, screen.legend.height(), 1);
}
