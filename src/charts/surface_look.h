#pragma once

#include "charts/chart_template.h"
#include "charts/surface_projection.h"
#include "tables/timing_tables.h"

#include <QColor>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace tunara::charts {

// The pressure labels of a MAP sensor byte, grid row 1 (lowest) first.
QStringList pressureLabels(std::uint8_t mapSensor);

// Everything the surface's picture depends on besides the values.
struct SurfaceLook {
    QString title;
    QColor background = QColor(0xf4, 0xf4, 0xf4);
    QColor plotBackground = Qt::white;
    QColor gridColor = QColor(0xb0, 0xb0, 0xb0);
    QColor surfaceLow = QColor(0x20, 0x60, 0xc0);   // colour of the lowest advance
    QColor surfaceHigh = QColor(0xe0, 0x30, 0x20);  // and of the highest
    QString speedTitle = QStringLiteral("Engine Speed (RPM)");
    QString pressureTitle = QStringLiteral("Manifold Pressure");
    QString advanceTitle = QStringLiteral("Advance (degrees)");
    int speedTicks = 11;       // labelled speeds, 0 and 10000 included
    double advanceMin = 0;     // the advance scale the values are shown on;
    double advanceMax = 45;    // values beyond it widen it by whole steps
    int advanceTicks = 10;
    // Labels of the pressure rows, lowest pressure (grid row 1) first; the
    // 1 bar sensor's until told otherwise.
    QStringList pressureLabels = charts::pressureLabels(0);
    SurfaceViewAngles view;    // the view the chart starts from
};

// The built-in look of the 3D chart, for when its template file is missing
// or unusable.
ChartTemplate builtInSurfaceTemplate();
// The look a template gives the surface.
SurfaceLook surfaceLook(const ChartTemplate &chartTemplate);
// The look of a template file with the pressure labels of a MAP sensor
// byte: the built-in look when the file is missing or unusable.
SurfaceLook surfaceLook(const QString &templatePath, std::uint8_t mapSensor);

// The value label: attached to one grid point, with a text.
struct SurfaceLabel {
    bool visible = false;
    QString text;
    int point = 1;
    int pressureIndex = 1;
};

// One picture of the surface: what paintSurface() draws and what the
// projection for hit tests is built from.
struct SurfaceScene {
    Table3D values;
    SurfaceLook look;
    SurfaceViewAngles view;
    SurfaceLabel label;
    // Another table drawn as a wireframe over the surface (a compare).
    std::optional<Table3D> wireframe;
    double advanceLow = 0;   // the advance scale in force (see advanceScale)
    double advanceHigh = 45;
    double advanceStep = 5;  // between labelled advances
    // The advances the colours span: the advance window of the trigger
    // timing in force, so the whole usable range runs through every colour;
    // the advance scale when no window is given (colourHigh <= colourLow).
    double colourLow = 0;
    double colourHigh = 0;

    // An advance's colour on the scene's colour range.
    QColor colour(double advance) const;
    double colourRangeLow() const { return colourHigh > colourLow ? colourLow : advanceLow; }
    double colourRangeHigh() const { return colourHigh > colourLow ? colourHigh : advanceHigh; }

    // The labelled advances from advanceLow to advanceHigh.
    std::vector<double> advanceTicks() const;
};

// The advance scale for a look and values: the look's range widened by
// whole tick steps until it holds every value and the extra range given.
struct AdvanceScale {
    double low = 0;
    double high = 45;
    double step = 5;
};
AdvanceScale advanceScale(const SurfaceLook &look, const Table3D &values, double extraLow, double extraHigh);
// The same without values: the look's range widened to hold low .. high.
AdvanceScale advanceScale(const SurfaceLook &look, double low, double high);

// A scene for printing or any other picture made without the widget: the
// values on the look's scale widened to hold them and the window given,
// coloured over the window, in the look's own view, with no value label.
SurfaceScene makeSurfaceScene(const Table3D &values, const SurfaceLook &look, double windowLow, double windowHigh);

// The colour of an advance on a scale (the legend's colours). The one
// colour scale of advance: the grids' heat map colours with it too.
QColor surfaceColour(const SurfaceLook &look, double advance, double low, double high);

// Where the parts of the picture go inside a rectangle, for text measured
// on the device drawn on (QFontMetricsF(font, device)): a printer's pixels
// are far smaller than the screen's.
struct SurfaceLayout {
    QRectF title;
    QRectF legend;
    QRectF plot;
    double labelMargin = 0;
};
SurfaceLayout surfaceLayout(const QRectF &rect, const QFontMetricsF &text, const SurfaceLook &look);

// The projection the picture in `rect` is drawn with.
SurfaceProjection surfaceProjection(const QRectF &rect, const QFontMetricsF &text, const SurfaceScene &scene);

// Draws the whole chart into any painter (a widget, an image, a printer),
// with the painter's font as the base font. Nothing but the background is
// drawn when the rectangle is too small to hold a surface. Returns the
// rectangles of the axis labels and titles drawn, none covering another.
std::vector<QRectF> paintSurface(QPainter &painter, const QRectF &rect, const SurfaceScene &scene);

}  // namespace tunara::charts
