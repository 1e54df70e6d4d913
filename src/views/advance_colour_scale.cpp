#include "views/advance_colour_scale.h"

#include "app/chart_template.h"

#include <algorithm>
#include <cmath>

namespace tunara::ui {

double AdvanceColourScale::level(double advance) const
{
    if (!(highAdvance > lowAdvance) || std::isnan(advance))
        return 0;
    return std::clamp((advance - lowAdvance) / (highAdvance - lowAdvance), 0.0, 1.0);
}

QColor AdvanceColourScale::colourAtLevel(double level) const
{
    const auto mix = [level](float lo, float hi) { return float(lo + (hi - lo) * level); };
    return QColor::fromRgbF(mix(lowColour.redF(), highColour.redF()), mix(lowColour.greenF(), highColour.greenF()),
                            mix(lowColour.blueF(), highColour.blueF()));
}

AdvanceColourScale advanceColourScale(const ChartTemplate &map3DTemplate)
{
    AdvanceColourScale scale;
    // Without a usable axis (no template loaded) the default range stands,
    // so the grids still tell low from high advance.
    if (map3DTemplate.zAxis.max > map3DTemplate.zAxis.min) {
        scale.lowAdvance = map3DTemplate.zAxis.min;
        scale.highAdvance = map3DTemplate.zAxis.max;
    }
    scale.lowColour = map3DTemplate.surfaceLow;
    scale.highColour = map3DTemplate.surfaceHigh;
    return scale;
}

QColor readableTextColour(const QColor &background)
{
    // Relative luminance with the usual weights; above the middle, dark text.
    const double luminance = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return luminance > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace tunara::ui
