#pragma once

#include <QColor>

namespace tunara::ui {

struct ChartTemplate;

// The one colour scale of advance: the 3D surface and the heat map of both
// grids colour an advance with it, so a colour means the same degrees in
// every view. Straight between two colours over the advance axis of the 3D
// chart's template; values beyond the axis take the end colours.
struct AdvanceColourScale {
    double lowAdvance = 0;
    double highAdvance = 45;
    QColor lowColour = QColor(0x20, 0x60, 0xc0);
    QColor highColour = QColor(0xe0, 0x30, 0x20);

    // 0 at the low end of the axis, 1 at the top.
    double level(double advance) const;
    QColor colourAtLevel(double level) const;
    QColor colour(double advance) const { return colourAtLevel(level(advance)); }
};

// The scale of a 3D template: its advance axis (0 .. 45 when it has none)
// and its surface colours.
AdvanceColourScale advanceColourScale(const ChartTemplate &map3DTemplate);

// Black or white, whichever reads better on the background.
QColor readableTextColour(const QColor &background);

}  // namespace tunara::ui
