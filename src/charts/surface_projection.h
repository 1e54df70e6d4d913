#pragma once

#include "tables/timing_tables.h"

#include <QPointF>
#include <QRectF>

#include <optional>

namespace tunara::charts {

// How the user looks at the surface: turned about the vertical (advance)
// axis, tilted down from the horizon, and enlarged.
struct SurfaceViewAngles {
    double rotation = 35;   // degrees, any value (taken modulo 360)
    double elevation = 25;  // degrees, MinElevation .. MaxElevation
    double zoom = 1;        // MinZoom .. MaxZoom

    static constexpr double MinElevation = 0;
    static constexpr double MaxElevation = 85;
    static constexpr double MinZoom = 0.5;
    static constexpr double MaxZoom = 3;

    // The same view with every value brought into its range.
    SurfaceViewAngles limited() const;
    bool operator==(const SurfaceViewAngles &) const = default;
};

// The nearest projected grid point to a pixel.
struct SurfaceHit {
    int point = 0;          // speed point 1..21 (the chart row)
    int pressureIndex = 0;  // 1..8 (the chart column); 0 and 0 when none
    double distance = 0;    // pixels
    bool insidePlot = false;
};

// The orthographic projection of the map's box into a plotting area.
//
// The box spans speed (0 .. 10000 RPM) across, pressure (lowest .. highest)
// in depth and advance (advanceLow .. advanceHigh) upward. At zoom 1 its
// outline in the current view is the largest that fits the area (less the
// margin), centred: across and upright have each their own pixels per unit,
// so the surface fills a wide chart as well as a tall one. The advance axis
// always stands upright on screen, and a value moves its grid point along a
// straight line: that is what makes valueUnder() exact for every view.
class SurfaceProjection {
public:
    // margin: pixels kept free inside the area around the box (for labels).
    SurfaceProjection(const QRectF &plotArea, const SurfaceViewAngles &view, double advanceLow,
                      double advanceHigh, double margin = 0);

    const QRectF &plotArea() const { return m_area; }
    double advanceLow() const { return m_low; }
    double advanceHigh() const { return m_high; }
    // False when the area is too small to draw a surface in.
    bool isUsable() const { return m_scale > 0; }

    // Any position in the box: speed and pressure as fractions 0..1 (0 the
    // lowest speed, the lowest pressure), advance in degrees.
    QPointF project(double speed01, double pressure01, double advance) const;
    // How far from the viewer that position lies (larger is farther).
    double depth(double speed01, double pressure01, double advance) const;

    // A grid point of the map with its value.
    QPointF gridPoint(int point, int pressureIndex, double value) const;
    double gridDepth(int point, int pressureIndex, double value) const;

    // The value grid point (point, pressureIndex) would need to lie under
    // the pixel: the position on its upright line nearest to the pixel.
    // Nothing when the view leaves the line no length on screen.
    std::optional<double> valueUnder(int point, int pressureIndex, const QPointF &pixel) const;

    // The grid point nearest to the pixel over the values shown; among
    // points at the same distance the one nearer the viewer.
    SurfaceHit hitTest(const QPointF &pixel, const Table3D &values) const;

    static double speedFraction(int point) { return (point - 1) / double(SpeedPoints - 1); }
    // Pressure index 1 is the highest pressure.
    static double pressureFraction(int pressureIndex) { return (PressureRows - pressureIndex) / double(PressureRows - 1); }

private:
    // Box coordinates, centred on the box's middle.
    struct BoxPoint {
        double x, y, z;
    };
    BoxPoint box(double speed01, double pressure01, double advance) const;
    // Screen pixels per degree of advance (the upright line's direction).
    QPointF advanceStep() const;

    QRectF m_area;
    double m_low;
    double m_high;
    double m_cosRot, m_sinRot, m_cosElev, m_sinElev;
    double m_scale = 0;  // the smaller of the two; 0 when unusable
    double m_scaleX = 0;
    double m_scaleY = 0;
    QPointF m_centre;
};

}  // namespace tunara::charts
