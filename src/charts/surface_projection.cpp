#include "charts/surface_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tunara::charts {

namespace {

// The box is one unit wide and deep; its height, as a share of that.
constexpr double BoxHeight = 0.7;
// Below this size (pixels) the area holds no readable surface.
constexpr double SmallestArea = 24;

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double finiteOr(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}

}  // namespace

SurfaceViewAngles SurfaceViewAngles::limited() const
{
    SurfaceViewAngles out;
    out.rotation = std::fmod(finiteOr(rotation, 35), 360.0);
    if (out.rotation < 0)
        out.rotation += 360.0;
    out.elevation = std::clamp(finiteOr(elevation, 25), MinElevation, MaxElevation);
    out.zoom = std::clamp(finiteOr(zoom, 1), MinZoom, MaxZoom);
    return out;
}

SurfaceProjection::SurfaceProjection(const QRectF &plotArea, const SurfaceViewAngles &view, double advanceLow,
                                     double advanceHigh, double margin)
    : m_area(plotArea), m_low(finiteOr(advanceLow, 0)), m_high(finiteOr(advanceHigh, 1))
{
    if (!(m_high > m_low))
        m_high = m_low + 1;
    const SurfaceViewAngles v = view.limited();
    m_cosRot = std::cos(radians(v.rotation));
    m_sinRot = std::sin(radians(v.rotation));
    m_cosElev = std::cos(radians(v.elevation));
    m_sinElev = std::sin(radians(v.elevation));
    const double width = m_area.width() - 2 * std::max(0.0, margin);
    const double height = m_area.height() - 2 * std::max(0.0, margin);
    if (std::min(width, height) < SmallestArea)
        return;
    // The box's outline in this view, at one unit per pixel and centred on
    // the origin: the largest that fits the area, across and upright each
    // on its own scale, centred in it.
    m_scaleX = m_scaleY = 1;
    m_centre = QPointF(0, 0);
    double left = 0, right = 0, top = 0, bottom = 0;
    bool first = true;
    for (double sp : {0.0, 1.0})
        for (double pf : {0.0, 1.0})
            for (double adv : {m_low, m_high}) {
                const QPointF at = project(sp, pf, adv);
                left = first ? at.x() : std::min(left, at.x());
                right = first ? at.x() : std::max(right, at.x());
                top = first ? at.y() : std::min(top, at.y());
                bottom = first ? at.y() : std::max(bottom, at.y());
                first = false;
            }
    m_scaleX = v.zoom * width / std::max(right - left, 1e-6);
    m_scaleY = v.zoom * height / std::max(bottom - top, 1e-6);
    m_centre = m_area.center() - QPointF((left + right) / 2 * m_scaleX, (top + bottom) / 2 * m_scaleY);
    m_scale = std::min(m_scaleX, m_scaleY);
}

SurfaceProjection::BoxPoint SurfaceProjection::box(double speed01, double pressure01, double advance) const
{
    const double z = ((advance - m_low) / (m_high - m_low) - 0.5) * BoxHeight;
    return {speed01 - 0.5, pressure01 - 0.5, z};
}

QPointF SurfaceProjection::project(double speed01, double pressure01, double advance) const
{
    const BoxPoint b = box(speed01, pressure01, advance);
    const double across = b.x * m_cosRot - b.y * m_sinRot;
    const double away = b.x * m_sinRot + b.y * m_cosRot;
    const double up = b.z * m_cosElev + away * m_sinElev;
    return {m_centre.x() + m_scaleX * across, m_centre.y() - m_scaleY * up};
}

double SurfaceProjection::depth(double speed01, double pressure01, double advance) const
{
    const BoxPoint b = box(speed01, pressure01, advance);
    const double away = b.x * m_sinRot + b.y * m_cosRot;
    return away * m_cosElev - b.z * m_sinElev;
}

QPointF SurfaceProjection::gridPoint(int point, int pressureIndex, double value) const
{
    return project(speedFraction(point), pressureFraction(pressureIndex), value);
}

double SurfaceProjection::gridDepth(int point, int pressureIndex, double value) const
{
    return depth(speedFraction(point), pressureFraction(pressureIndex), value);
}

QPointF SurfaceProjection::advanceStep() const
{
    // One degree more moves every point by the same screen step.
    const double perDegree = BoxHeight / (m_high - m_low);
    return {0.0, -m_scaleY * perDegree * m_cosElev};
}

std::optional<double> SurfaceProjection::valueUnder(int point, int pressureIndex, const QPointF &pixel) const
{
    if (!std::isfinite(pixel.x()) || !std::isfinite(pixel.y()))
        return std::nullopt;
    const QPointF step = advanceStep();
    const double stepLength2 = QPointF::dotProduct(step, step);
    // A line shorter than a hundredth of a pixel per degree carries no
    // usable position; the elevation limit keeps real views far above it.
    if (!(stepLength2 > 1e-4))
        return std::nullopt;
    const QPointF base = gridPoint(point, pressureIndex, m_low);
    const double v = m_low + QPointF::dotProduct(pixel - base, step) / stepLength2;
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

SurfaceHit SurfaceProjection::hitTest(const QPointF &pixel, const Table3D &values) const
{
    SurfaceHit best;
    best.insidePlot = isUsable() && m_area.contains(pixel);
    if (!isUsable())
        return best;
    double bestDepth = 0;
    for (int m = 1; m <= PressureRows; ++m) {
        for (int p = 1; p <= SpeedPoints; ++p) {
            const double v = values(p, m);
            if (!std::isfinite(v))
                continue;
            const QPointF at = gridPoint(p, m, v);
            const double d = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            const double dep = gridDepth(p, m, v);
            const bool nearer = best.point == 0 || d < best.distance - 1e-9
                                || (std::abs(d - best.distance) <= 1e-9 && dep < bestDepth);
            if (nearer) {
                best.point = p;
                best.pressureIndex = m;
                best.distance = d;
                bestDepth = dep;
            }
        }
    }
    return best;
}

}  // namespace tunara::charts
