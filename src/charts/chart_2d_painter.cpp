#include "charts/chart_2d_painter.h"

#include "tables/table_axes.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tunara::charts {

namespace {

// The window's chart lays itself out in screen pixels; these are its
// distances in pixels of a 96 dpi screen.
constexpr double ScreenDpi = 96;
constexpr double OuterMargin = 9;        // around the panel
constexpr double PanelMargin = 20;       // inside the panel
constexpr double Corner = 5;             // of the panel
constexpr double TitleGap = 4;           // below the title
constexpr double TickLength = 4;         // outside the plot; the speed labels start there
constexpr double LabelGap = 1;           // between an advance label and its tick
constexpr double AdvanceTitleInset = 3;  // from the panel's inner edge to the advance title
constexpr double AdvanceTitleGap = 6;    // between the advance title and its labels
constexpr double SpeedTitleGap = 3;      // above the speed title
constexpr double SpeedTitleBelow = 6;    // below it
constexpr double LegendPadding = 13;     // above and below the legend's line
constexpr double MarkerSize = 7;         // legend square
constexpr double MarkerGap = 5;          // between a square and its name
constexpr double ItemGap = 10;           // between legend items
constexpr double CurveWidth = 2;
constexpr double PointDiameter = 6;

// Where the template says nothing: the colours of the window chart's theme.
const QColor textColour(0x40, 0x40, 0x44);
const QColor axisColour(0xd6, 0xd6, 0xd6);

Chart2DAxis fittedAxis(const ChartAxis &axis, const std::vector<double> &values)
{
    Chart2DAxis out;
    out.ticks = std::max(2, axis.ticks);
    if (axis.max > axis.min) {
        out.min = axis.min;
        out.max = axis.max;
        return out;
    }
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (double v : values)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (!(hi >= lo))
        return out;  // no value to fit: 0 .. 1
    if (hi == lo) {
        lo -= 1;
        hi += 1;
    }
    out.min = lo;
    out.max = hi;
    return out;
}

QString tickText(double v)
{
    return QString::number(v, 'f', 0);
}

QFont boldOf(const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

struct LegendItem {
    QColor colour;
    QString name;
};

std::vector<LegendItem> legendItems(const ChartTemplate &look)
{
    std::vector<LegendItem> items;
    if (!look.curveName.isEmpty())
        items.push_back({look.curveColor, look.curveName});
    if (!look.triggerName.isEmpty())
        items.push_back({look.triggerColor, look.triggerName});
    return items;
}

// A series as lines between its finite points, each run its own polyline.
std::vector<QPolygonF> polylines(const Chart2DLayout &layout, const std::vector<QPointF> &points)
{
    std::vector<QPolygonF> runs(1);
    for (const QPointF &p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            if (!runs.back().isEmpty())
                runs.emplace_back();
            continue;
        }
        runs.back() << layout.position(p);
    }
    return runs;
}

void paintAxes(QPainter &painter, const Chart2DLayout &l, const ChartTemplate &look, const QFont &base)
{
    const double px = l.pixel;
    const QRectF &plot = l.plot;
    const double tick = TickLength * px;
    painter.setPen(QPen(look.gridColor, px));
    for (int i = 0; i < l.x.ticks; ++i) {
        const double x = l.position({l.x.tickValue(i), l.y.min}).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (int i = 0; i < l.y.ticks; ++i) {
        const double y = l.position({l.x.min, l.y.tickValue(i)}).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    // The axis lines along the left and bottom edges, with their ticks outside.
    painter.setPen(QPen(axisColour, px));
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const QFontMetricsF fm(base, painter.device());
    const double line = fm.height();
    std::vector<std::pair<QRectF, QString>> labels;
    for (int i = 0; i < l.x.ticks; ++i) {
        const double x = l.position({l.x.tickValue(i), l.y.min}).x();
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        const QString text = tickText(l.x.tickValue(i));
        const double w = fm.horizontalAdvance(text);
        labels.push_back({QRectF(x - w / 2, plot.bottom() + tick, w, line), text});
    }
    for (int i = 0; i < l.y.ticks; ++i) {
        const double y = l.position({l.x.min, l.y.tickValue(i)}).y();
        painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        const QString text = tickText(l.y.tickValue(i));
        const double w = fm.horizontalAdvance(text);
        labels.push_back({QRectF(plot.left() - tick - LabelGap * px - w, y - line / 2, w, line), text});
    }
    painter.setPen(textColour);
    painter.setFont(base);
    for (const auto &[box, text] : labels)
        painter.drawText(box, Qt::AlignCenter, text);

    painter.setFont(boldOf(base));
    const QFontMetricsF bold(painter.font(), painter.device());
    if (!look.xAxis.title.isEmpty())
        painter.drawText(QRectF(plot.left(), plot.bottom() + tick + line + SpeedTitleGap * px, plot.width(),
                                bold.height()),
                         Qt::AlignHCenter | Qt::AlignTop, look.xAxis.title);
    if (!look.yAxis.title.isEmpty()) {
        // Read from below, along the left edge of the panel's inner area.
        painter.save();
        painter.translate(l.background.left() + (PanelMargin + AdvanceTitleInset) * px + bold.height() / 2,
                          plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-plot.height() / 2, -bold.height() / 2, plot.height(), bold.height()),
                         Qt::AlignCenter, look.yAxis.title);
        painter.restore();
    }
    painter.setFont(base);
}

void paintSeries(QPainter &painter, const Chart2DLayout &l, const Chart2DScene &scene)
{
    const double px = l.pixel;
    painter.save();
    painter.setClipRect(l.plot, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(scene.look.curveColor, CurveWidth * px));
    for (const QPolygonF &run : polylines(l, scene.curve))
        painter.drawPolyline(run);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scene.look.curveColor);
    const double r = PointDiameter * px / 2;
    for (const QPolygonF &run : polylines(l, scene.curve))
        for (const QPointF &p : run)
            painter.drawEllipse(p, r, r);
    QPen dashed(scene.look.triggerColor, px);
    dashed.setStyle(Qt::DashLine);
    painter.setPen(dashed);
    painter.setBrush(Qt::NoBrush);
    for (const QPolygonF &run : polylines(l, scene.trigger))
        painter.drawPolyline(run);
    painter.restore();
}

void paintLegend(QPainter &painter, const Chart2DLayout &l, const ChartTemplate &look, const QFont &base)
{
    const std::vector<LegendItem> items = legendItems(look);
    if (items.empty() || l.legend.isEmpty())
        return;
    const double px = l.pixel;
    const QFontMetricsF fm(base, painter.device());
    double total = ItemGap * px * double(items.size() - 1);
    for (const LegendItem &item : items)
        total += (MarkerSize + MarkerGap) * px + fm.horizontalAdvance(item.name);
    double x = l.legend.center().x() - total / 2;
    const double middle = l.legend.center().y();
    for (const LegendItem &item : items) {
        const double size = MarkerSize * px;
        painter.setPen(QPen(Qt::black, px));
        painter.setBrush(item.colour);
        painter.drawRect(QRectF(x, middle - size / 2, size, size));
        x += size + MarkerGap * px;
        const double w = fm.horizontalAdvance(item.name);
        painter.setPen(textColour);
        painter.drawText(QRectF(x, l.legend.top(), w, l.legend.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         item.name);
        x += w + ItemGap * px;
    }
}

}  // namespace

Chart2DScene chart2DScene(const ChartTemplate &look, const Table2D &table)
{
    Chart2DScene scene;
    scene.look = look;
    for (int p = 1; p <= SpeedPoints; ++p) {
        scene.curve.emplace_back(axes::rpmAtPoint(p), table(p, 1));
        scene.trigger.emplace_back(axes::rpmAtPoint(p), table(p, 2));
    }
    return scene;
}

QPointF Chart2DLayout::position(const QPointF &value) const
{
    return QPointF(plot.left() + (value.x() - x.min) / (x.max - x.min) * plot.width(),
                   plot.bottom() - (value.y() - y.min) / (y.max - y.min) * plot.height());
}

Chart2DLayout chart2DLayout(const QRectF &rect, const QFont &font, const QPaintDevice *device,
                            const Chart2DScene &scene)
{
    Chart2DLayout l;
    const ChartTemplate &look = scene.look;
    l.pixel = device ? device->logicalDpiY() / ScreenDpi : 1;
    const double px = l.pixel;
    std::vector<double> speeds;
    std::vector<double> advances;
    for (const auto *series : {&scene.curve, &scene.trigger})
        for (const QPointF &p : *series) {
            speeds.push_back(p.x());
            advances.push_back(p.y());
        }
    l.x = fittedAxis(look.xAxis, speeds);
    l.y = fittedAxis(look.yAxis, advances);

    const QFontMetricsF fm(font, device);
    const QFontMetricsF bold(boldOf(font), device);
    const double line = fm.height();
    l.background = rect.adjusted(OuterMargin * px, OuterMargin * px, -OuterMargin * px, -OuterMargin * px);
    QRectF inner = l.background.adjusted(PanelMargin * px, PanelMargin * px, -PanelMargin * px, -PanelMargin * px);
    if (!look.title.isEmpty()) {
        l.title = QRectF(inner.left(), inner.top(), inner.width(), line);
        inner.setTop(l.title.bottom() + TitleGap * px);
    }
    if (!legendItems(look).empty()) {
        const double height = line + 2 * LegendPadding * px;
        l.legend = QRectF(inner.left(), inner.bottom() - height, inner.width(), height);
        inner.setBottom(l.legend.top());
    }

    // Room for the axes: the labels of the top and right ends stick out of
    // the plot by half their size.
    double labelWidth = 0;
    for (int i = 0; i < l.y.ticks; ++i)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(tickText(l.y.tickValue(i))));
    double left = labelWidth + (LabelGap + TickLength) * px;
    if (!look.yAxis.title.isEmpty())
        left += (AdvanceTitleInset + AdvanceTitleGap) * px + bold.height();
    double below = TickLength * px + line;
    if (!look.xAxis.title.isEmpty())
        below += (SpeedTitleGap + SpeedTitleBelow) * px + bold.height();
    const double right = fm.horizontalAdvance(tickText(l.x.max)) / 2 + px;
    const QRectF plot = inner.adjusted(left, line / 2, -right, -below);
    if (plot.width() > 0 && plot.height() > 0 && !l.background.isEmpty())
        l.plot = plot;
    return l;
}

void paintChart2D(QPainter &painter, const QRectF &rect, const Chart2DScene &scene)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont base = painter.font();
    const Chart2DLayout l = chart2DLayout(rect, base, painter.device(), scene);
    const double px = l.pixel;
    const ChartTemplate &look = scene.look;
    if (!l.background.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.background);
        painter.drawRoundedRect(l.background, Corner * px, Corner * px);
    }
    if (!l.title.isEmpty()) {
        painter.setPen(textColour);
        painter.drawText(l.title, Qt::AlignCenter, look.title);
    }
    if (!l.plot.isEmpty()) {
        painter.fillRect(l.plot, look.plotBackground);
        paintAxes(painter, l, look, base);
        paintSeries(painter, l, scene);
        paintLegend(painter, l, look, base);
    }
    painter.restore();
}

}  // namespace tunara::charts
