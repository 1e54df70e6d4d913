#include "views/advance_colour_scale.h"

namespace tunara::views {

AdvanceColourScale advanceColourScale(const charts::SurfaceScene &scene)
{
    return {scene.look, scene.colourRangeLow(), scene.colourRangeHigh()};
}

AdvanceColourScale advanceColourScale(const charts::SurfaceLook &look, const editor::AdvanceWindow &window)
{
    if (!(window.high > window.low)) {
        const charts::AdvanceScale range = charts::advanceScale(look, window.low, window.high);
        return {look, range.low, range.high};
    }
    return {look, window.low, window.high};
}

QColor readableTextColour(const QColor &background)
{
    // Relative luminance with the usual weights; above the middle, dark text.
    const double luminance = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return luminance > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace tunara::views
