#include "core/numbers.h"
#include "charts/surface_look.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tunara::charts {

namespace {

QString axisNumber(double v)
{
    return numbers::format(v, QStringLiteral("#0"));
}

// A line as thin as the device allows to be seen: one pixel on screen, a
// sixteenth of a text line on a printer, whose pixels are far smaller.
QPen thinPen(const QColor &colour, const QFontMetricsF &fm)
{
    return QPen(colour, std::max(1.0, fm.height() / 16));
}

class ScenePainter {
public:
    ScenePainter(QPainter &painter, const SurfaceScene &scene, const SurfaceProjection &proj)
        : p(painter), s(scene), pr(proj), fm(painter.font(), painter.device())
    {
    }

    void floorAndWalls();
    void surface();
    void wireframe();
    void axes();
    void valueLabel();
    const std::vector<QRectF> &labelRects() const { return m_taken; }

private:
    QPointF at(double sp, double pf, double adv) const { return pr.project(sp, pf, adv); }
    QPointF floorCentre() const { return at(0.5, 0.5, s.advanceLow); }
    // The screen direction away from the floor's centre through an edge's middle.
    QPointF outwardFrom(const QPointF &edgeMiddle) const
    {
        const QPointF d = edgeMiddle - floorCentre();
        const double len = std::hypot(d.x(), d.y());
        return len > 0 ? d / len : QPointF(0, 1);
    }
    // A label beside a point, `gap` beyond it in direction `dir`; skipped
    // when it would cover a label already drawn, unless it must show.
    void label(const QPointF &point, const QPointF &dir, double gap, const QString &text, bool mustShow = false);
    struct AxisLabel {
        QPointF point;
        QString text;
    };
    // The labels of one axis: its two ends always show, so the range it
    // spans can be read; an inner label that would cover one is dropped.
    void axisLabels(const std::vector<AxisLabel> &labels, const QPointF &dir, double gap);

    QPainter &p;
    const SurfaceScene &s;
    const SurfaceProjection &pr;
    QFontMetricsF fm;
    std::vector<QRectF> m_taken;
};

void ScenePainter::label(const QPointF &point, const QPointF &dir, double gap, const QString &text, bool mustShow)
{
    QRectF box = fm.boundingRect(text);
    const double reach = gap + std::abs(dir.x()) * box.width() / 2 + std::abs(dir.y()) * box.height() / 2;
    // Kept inside the plot, where the clip would cut it.
    const QRectF area = pr.plotArea();
    const auto place = [&box, &area](const QPointF &centre) {
        box.moveCenter(centre);
        box.moveLeft(std::clamp(box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
        box.moveTop(std::clamp(box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
    };
    place(point + dir * reach);
    const auto covers = [this](const QRectF &b) {
        return std::any_of(m_taken.begin(), m_taken.end(), [&b](const QRectF &t) { return t.intersects(b); });
    };
    if (covers(box) && !mustShow)
        return;
    // A label that must show moves, half a line at a time, out and to
    // either side until it covers no other.
    const QPointF across(-dir.y(), dir.x());
    const double step = fm.height() * 0.5;
    for (int out = 0; out <= 8 && covers(box); ++out)
        for (int side = 0; side <= 24; ++side) {
            const int signedSide = side % 2 ? (side + 1) / 2 : -side / 2;  // 0, 1, -1, 2, -2, ...
            place(point + dir * (reach + step * out) + across * (step * signedSide));
            if (!covers(box))
                break;
        }
    m_taken.push_back(box);
    p.drawText(box, Qt::AlignCenter, text);
}

void ScenePainter::axisLabels(const std::vector<AxisLabel> &labels, const QPointF &dir, double gap)
{
    if (labels.empty())
        return;
    label(labels.front().point, dir, gap, labels.front().text, true);
    if (labels.size() > 1)
        label(labels.back().point, dir, gap, labels.back().text, true);
    for (std::size_t i = 1; i + 1 < labels.size(); ++i)
        label(labels[i].point, dir, gap, labels[i].text);
}

void ScenePainter::floorAndWalls()
{
    const double lo = s.advanceLow;
    const double hi = s.advanceHigh;
    p.setPen(thinPen(s.look.gridColor, fm));
    p.setBrush(Qt::NoBrush);
    const int speedTicks = std::max(2, s.look.speedTicks);
    for (int i = 0; i < speedTicks; ++i) {
        const double f = i / double(speedTicks - 1);
        p.drawLine(at(f, 0, lo), at(f, 1, lo));
    }
    for (int m = 1; m <= PressureRows; ++m) {
        const double f = SurfaceProjection::pressureFraction(m);
        p.drawLine(at(0, f, lo), at(1, f, lo));
    }
    // The two walls behind the surface carry the advance levels.
    const double backSpeed = pr.depth(0, 0.5, lo) > pr.depth(1, 0.5, lo) ? 0 : 1;
    const double backPressure = pr.depth(0.5, 0, lo) > pr.depth(0.5, 1, lo) ? 0 : 1;
    for (double v : s.advanceTicks()) {
        p.drawLine(at(backSpeed, 0, v), at(backSpeed, 1, v));
        p.drawLine(at(0, backPressure, v), at(1, backPressure, v));
    }
    for (double sp : {0.0, 1.0})
        for (double pf : {0.0, 1.0})
            if (sp == backSpeed || pf == backPressure)
                p.drawLine(at(sp, pf, lo), at(sp, pf, hi));
}

void ScenePainter::surface()
{
    struct Quad {
        double depth;
        int point;
        int pressure;
    };
    std::vector<Quad> quads;
    quads.reserve((SpeedPoints - 1) * (PressureRows - 1));
    for (int m = 1; m < PressureRows; ++m)
        for (int pt = 1; pt < SpeedPoints; ++pt) {
            double sum = 0;
            for (auto [dp, dm] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                sum += pr.gridDepth(pt + dp, m + dm, s.values(pt + dp, m + dm));
            quads.push_back({sum / 4, pt, m});
        }
    // Far quads first, so the near ones cover them.
    std::sort(quads.begin(), quads.end(), [](const Quad &a, const Quad &b) { return a.depth > b.depth; });
    for (const Quad &q : quads) {
        QPolygonF poly;
        double sum = 0;
        for (auto [dp, dm] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
            const double v = s.values(q.point + dp, q.pressure + dm);
            poly << pr.gridPoint(q.point + dp, q.pressure + dm, v);
            sum += v;
        }
        const QColor fill = s.colour(sum / 4);
        p.setBrush(fill);
        p.setPen(thinPen(fill.darker(170), fm));
        p.drawPolygon(poly);
    }
}

// The compared table over the surface: its grid lines, drawn last so the
// surface never hides them.
void ScenePainter::wireframe()
{
    if (!s.wireframe)
        return;
    const Table3D &w = *s.wireframe;
    // A colour off the advance scale, wider than the surface's own
    // edges, so the two tables are told apart where they cross.
    QPen pen = thinPen(QColor(0xd0, 0x00, 0xd0), fm);
    pen.setWidthF(pen.widthF() * 1.5);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int m = 1; m <= PressureRows; ++m)
        for (int pt = 1; pt <= SpeedPoints; ++pt) {
            const QPointF here = pr.gridPoint(pt, m, w(pt, m));
            if (pt < SpeedPoints)
                p.drawLine(here, pr.gridPoint(pt + 1, m, w(pt + 1, m)));
            if (m < PressureRows)
                p.drawLine(here, pr.gridPoint(pt, m + 1, w(pt, m + 1)));
        }
}

void ScenePainter::axes()
{
    const double lo = s.advanceLow;
    const double gap = fm.height() * 0.5;
    p.setPen(thinPen(Qt::black, fm));
    // The advance on the upright edge furthest to the left on screen.
    double footSpeed = 0, footPressure = 0;
    for (double sp : {0.0, 1.0})
        for (double pf : {0.0, 1.0})
            if (at(sp, pf, lo).x() < at(footSpeed, footPressure, lo).x()) {
                footSpeed = sp;
                footPressure = pf;
            }
    const QPointF top = at(footSpeed, footPressure, s.advanceHigh);
    p.drawLine(at(footSpeed, footPressure, lo), top);
    std::vector<AxisLabel> advance;
    for (double v : s.advanceTicks()) {
        const QPointF tick = at(footSpeed, footPressure, v);
        p.drawLine(tick, tick - QPointF(gap * 0.6, 0));
        advance.push_back({tick, axisNumber(v)});
    }
    axisLabels(advance, QPointF(-1, 0), gap);
    label(top, QPointF(0, -1), gap * 2, s.look.advanceTitle, true);
    // Speed along the floor edge nearer the viewer.
    const double nearPressure = pr.depth(0.5, 0, lo) < pr.depth(0.5, 1, lo) ? 0 : 1;
    const QPointF speedOut = outwardFrom(at(0.5, nearPressure, lo));
    const int speedTicks = std::max(2, s.look.speedTicks);
    std::vector<AxisLabel> speeds;
    for (int i = 0; i < speedTicks; ++i) {
        const double f = i / double(speedTicks - 1);
        speeds.push_back({at(f, nearPressure, lo), axisNumber(f * (SpeedPoints - 1) * 500)});
    }
    axisLabels(speeds, speedOut, gap);
    label(at(0.5, nearPressure, lo), speedOut, gap + fm.height() * 1.6, s.look.speedTitle, true);
    // Pressure labels along the nearer edge across the speeds.
    const double nearSpeed = pr.depth(0, 0.5, lo) < pr.depth(1, 0.5, lo) ? 0 : 1;
    const QPointF pressureOut = outwardFrom(at(nearSpeed, 0.5, lo));
    std::vector<AxisLabel> pressures;
    for (int m = 1; m <= PressureRows; ++m) {
        const int row = PressureRows + 1 - m;  // grid row 1 is pressure index 8
        if (row - 1 < s.look.pressureLabels.size())
            pressures.push_back({at(nearSpeed, SurfaceProjection::pressureFraction(m), lo),
                                 s.look.pressureLabels[row - 1]});
    }
    axisLabels(pressures, pressureOut, gap);
    label(at(nearSpeed, 0.5, lo), pressureOut, gap + fm.height() * 1.6, s.look.pressureTitle, true);
}

void ScenePainter::valueLabel()
{
    const SurfaceLabel &l = s.label;
    if (!l.visible || l.point < 1 || l.point > SpeedPoints || l.pressureIndex < 1 || l.pressureIndex > PressureRows)
        return;
    const QPointF anchor = pr.gridPoint(l.point, l.pressureIndex, s.values(l.point, l.pressureIndex));
    const double pad = fm.height() * 0.2;
    QRectF box = fm.boundingRect(l.text).adjusted(-pad * 2, -pad, pad * 2, pad);
    box.moveBottomLeft(anchor + QPointF(pad * 3, -pad * 3));
    p.setPen(thinPen(Qt::black, fm));
    p.drawLine(anchor, box.bottomLeft());
    p.setBrush(QColor(255, 255, 225));
    p.drawRect(box);
    p.drawText(box, Qt::AlignCenter, l.text);
}

void paintLegend(QPainter &p, const QRectF &area, const SurfaceScene &s)
{
    if (area.isEmpty())
        return;
    const QFontMetricsF fm(p.font(), p.device());
    const QRectF bar(area.left() + fm.height() * 0.4, area.top() + area.height() * 0.2, fm.height() * 0.8,
                     area.height() * 0.6);
    QLinearGradient g(bar.bottomLeft(), bar.topLeft());
    for (int i = 0; i <= 8; ++i)
        g.setColorAt(i / 8.0, s.colour(s.advanceLow + (s.advanceHigh - s.advanceLow) * i / 8.0));
    p.setPen(thinPen(Qt::black, fm));
    p.setBrush(g);
    p.drawRect(bar);
    for (double v : s.advanceTicks()) {
        const double y = bar.bottom() - bar.height() * (v - s.advanceLow) / (s.advanceHigh - s.advanceLow);
        const QString text = axisNumber(v);
        p.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + fm.height() * 0.2, y));
        p.drawText(QPointF(bar.right() + fm.height() * 0.3, y + fm.ascent() / 2 - fm.descent() / 2), text);
    }
}

}  // namespace

std::vector<QRectF> paintSurface(QPainter &painter, const QRectF &rect, const SurfaceScene &scene)
{
    std::vector<QRectF> labels;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, scene.look.background);
    const QFontMetricsF text(painter.font(), painter.device());
    const SurfaceLayout layout = surfaceLayout(rect, text, scene.look);
    const SurfaceProjection proj = surfaceProjection(rect, text, scene);
    if (!layout.title.isEmpty()) {
        QFont bold = painter.font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
        painter.save();
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.drawText(layout.title, Qt::AlignCenter, scene.look.title);
        painter.restore();
    }
    if (proj.isUsable() && scene.advanceHigh > scene.advanceLow) {
        painter.fillRect(layout.plot, scene.look.plotBackground);
        painter.setClipRect(layout.plot);
        ScenePainter sp(painter, scene, proj);
        sp.floorAndWalls();
        sp.surface();
        sp.wireframe();
        sp.axes();
        sp.valueLabel();
        labels = sp.labelRects();
        painter.setClipping(false);
        paintLegend(painter, layout.legend, scene);
    }
    painter.restore();
    return labels;
}

}  // namespace tunara::charts
