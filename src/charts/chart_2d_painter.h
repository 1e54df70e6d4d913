#pragma once

#include "charts/chart_template.h"
#include "tables/timing_tables.h"

#include <QPointF>
#include <QRectF>

#include <vector>

class QFont;
class QPaintDevice;
class QPainter;

namespace tunara::charts {

// One picture of the 2D chart as the window's chart shows it: the advance
// curve with its points marked and the trigger-timing line, in a
// template's look. Points are (engine speed, advance).
struct Chart2DScene {
    ChartTemplate look;
    std::vector<QPointF> curve;
    std::vector<QPointF> trigger;
};

// The scene of a 2D table: column 1 the curve, column 2 the trigger line.
Chart2DScene chart2DScene(const ChartTemplate &look, const Table2D &table);

// An axis as drawn: the template's range, or without one the range of the
// values, as a chart without a set range fits itself to its series.
struct Chart2DAxis {
    double min = 0;
    double max = 1;
    int ticks = 2;
    double tickValue(int tick) const { return min + (max - min) * tick / (ticks - 1); }
};

// Where the parts of the picture go inside a rectangle. Text is measured
// with the base font on the device drawn on; margins, ticks and lines are
// in pixels of a 96 dpi screen scaled to the device, so the chart keeps on
// paper the proportions it has on screen.
struct Chart2DLayout {
    double pixel = 1;  // one screen pixel in device pixels
    QRectF background;
    QRectF title;      // empty without a title
    QRectF plot;       // empty when the rectangle is too small for one
    QRectF legend;     // empty when no series has a name
    Chart2DAxis x;     // engine speed
    Chart2DAxis y;     // advance
    // A value's position; outside the plot when it lies beyond the axes.
    QPointF position(const QPointF &value) const;
};
Chart2DLayout chart2DLayout(const QRectF &rect, const QFont &font, const QPaintDevice *device,
                            const Chart2DScene &scene);

// Draws the whole chart into any painter (an image, a printer, a PDF) with
// the painter's font as the base font: title, axes with their titles, grid
// and labels, the two series clipped to the plot, and the legend.
void paintChart2D(QPainter &painter, const QRectF &rect, const Chart2DScene &scene);

}  // namespace tunara::charts
