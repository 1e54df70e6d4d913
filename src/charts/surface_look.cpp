#include "charts/surface_look.h"

#include "tables/table_axes.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tunara::charts {

ChartTemplate builtInSurfaceTemplate()
{
    ChartTemplate t;
    t.kind = ChartTemplate::Kind::Chart3D;
    t.xAxis = {QString(), 0, 10000, 11};
    t.yAxis = {QString(), 0, 1, 2};
    t.zAxis = {QString(), 0, 45, 10};
    return t;
}

SurfaceLook surfaceLook(const ChartTemplate &t)
{
    SurfaceLook look;
    look.title = t.title;
    look.background = t.background;
    look.plotBackground = t.plotBackground;
    look.gridColor = t.gridColor;
    look.surfaceLow = t.surfaceLow;
    look.surfaceHigh = t.surfaceHigh;
    look.speedTitle = t.xAxis.title;
    look.pressureTitle = t.yAxis.title;
    look.advanceTitle = t.zAxis.title;
    look.speedTicks = t.xAxis.ticks;
    look.advanceMin = t.zAxis.min;
    look.advanceMax = t.zAxis.max;
    look.advanceTicks = t.zAxis.ticks;
    look.view.rotation = t.rotation;
    look.view.elevation = t.elevation;
    return look;
}

SurfaceLook surfaceLook(const QString &templatePath, std::uint8_t mapSensor)
{
    const TemplateResult loaded = loadChartTemplate(templatePath, ChartTemplate::Kind::Chart3D);
    SurfaceLook look = surfaceLook(loaded.chartTemplate ? *loaded.chartTemplate : builtInSurfaceTemplate());
    look.pressureLabels = pressureLabels(mapSensor);
    return look;
}

QStringList pressureLabels(std::uint8_t mapSensor)
{
    QStringList labels;
    for (int row = 1; row <= PressureRows; ++row)
        labels << axes::pressureHeading(mapSensor, row);
    return labels;
}

AdvanceScale advanceScale(const SurfaceLook &look, const Table3D &values, double extraLow, double extraHigh)
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    const auto hold = [&lo, &hi](double v) {
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    };
    hold(extraLow);
    hold(extraHigh);
    for (int m = 1; m <= PressureRows; ++m) {
        for (int p = 1; p <= SpeedPoints; ++p)
            hold(values(p, m));
    }
    return advanceScale(look, lo, hi);
}

AdvanceScale advanceScale(const SurfaceLook &look, double lo, double hi)
{
    AdvanceScale s;
    s.low = std::isfinite(look.advanceMin) ? look.advanceMin : 0;
    s.high = std::isfinite(look.advanceMax) && look.advanceMax > s.low ? look.advanceMax : s.low + 45;
    s.step = (s.high - s.low) / std::max(1, look.advanceTicks - 1);
    // Widen by whole steps so the tick labels stay round numbers.
    if (std::isfinite(lo) && lo < s.low)
        s.low -= std::ceil((s.low - lo) / s.step) * s.step;
    if (std::isfinite(hi) && hi > s.high)
        s.high += std::ceil((hi - s.high) / s.step) * s.step;
    return s;
}

SurfaceScene makeSurfaceScene(const Table3D &values, const SurfaceLook &look, double windowLow, double windowHigh)
{
    SurfaceScene scene;
    scene.values = values;
    scene.look = look;
    scene.view = look.view.limited();
    const AdvanceScale s = advanceScale(look, values, windowLow, windowHigh);
    scene.advanceLow = s.low;
    scene.advanceHigh = s.high;
    scene.advanceStep = s.step;
    scene.colourLow = windowLow;
    scene.colourHigh = windowHigh;
    return scene;
}

QColor surfaceColour(const SurfaceLook &look, double advance, double low, double high)
{
    const double t = high > low && std::isfinite(advance) ? std::clamp((advance - low) / (high - low), 0.0, 1.0) : 0;
    // Through the hues between the two ends (blue, cyan, green, yellow, red
    // for the shipped colours), as a heat scale reads.
    const QColor a = look.surfaceLow.toHsv();
    const QColor b = look.surfaceHigh.toHsv();
    const auto mix = [t](double x, double y) { return x + (y - x) * t; };
    const double hueA = std::max(0.0, double(a.hsvHueF()));
    const double hueB = std::max(0.0, double(b.hsvHueF()));
    return QColor::fromHsvF(float(mix(hueA, hueB)), float(mix(a.hsvSaturationF(), b.hsvSaturationF())),
                            float(mix(a.valueF(), b.valueF())));
}

QColor SurfaceScene::colour(double advance) const
{
    return surfaceColour(look, advance, colourRangeLow(), colourRangeHigh());
}

std::vector<double> SurfaceScene::advanceTicks() const
{
    std::vector<double> out;
    const double span = advanceHigh - advanceLow;
    if (!std::isfinite(span) || !(span > 0))
        return out;
    int steps = 1;
    if (std::isfinite(advanceStep) && advanceStep > 0)
        steps = std::clamp(int(std::lround(span / advanceStep)), 1, 100);
    for (int i = 0; i <= steps; ++i)
        out.push_back(advanceLow + span * i / steps);
    return out;
}

SurfaceLayout surfaceLayout(const QRectF &rect, const QFontMetricsF &fm, const SurfaceLook &look)
{
    const double line = fm.height();
    SurfaceLayout out;
    QRectF rest = rect.adjusted(line * 0.3, line * 0.3, -line * 0.3, -line * 0.3);
    if (!look.title.isEmpty()) {
        out.title = QRectF(rest.left(), rest.top(), rest.width(), line * 1.6);
        rest.setTop(out.title.bottom());
    }
    const double legendWidth = line + fm.horizontalAdvance(QStringLiteral("-000")) + line * 0.8;
    if (rest.width() > legendWidth * 4) {
        out.legend = QRectF(rest.right() - legendWidth, rest.top(), legendWidth, rest.height());
        rest.setRight(out.legend.left());
    }
    out.plot = rest.width() > 0 && rest.height() > 0 ? rest : QRectF();
    out.labelMargin = line * 3.2;
    return out;
}

SurfaceProjection surfaceProjection(const QRectF &rect, const QFontMetricsF &text, const SurfaceScene &scene)
{
    const SurfaceLayout layout = surfaceLayout(rect, text, scene.look);
    return SurfaceProjection(layout.plot, scene.view, scene.advanceLow, scene.advanceHigh, layout.labelMargin);
}

}  // namespace tunara::charts
