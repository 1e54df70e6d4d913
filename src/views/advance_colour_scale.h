#pragma once

#include "editor/table_rules.h"
#include "charts/surface_look.h"

#include <QColor>

namespace tunara::views {

// The heat map's colours of advance: the 3D surface's own scale
// (charts::surfaceColour over the range its legend shows), so a colour means
// the same degrees in the grids and on the surface. Values beyond the range
// take the end colours.
struct AdvanceColourScale {
    charts::SurfaceLook look;  // gives the end colours
    double lowAdvance = 0;
    double highAdvance = 45;

    QColor colour(double advance) const { return charts::surfaceColour(look, advance, lowAdvance, highAdvance); }
};

// The scale of a surface picture: its look and the advance range its
// colours span (the advance window of the trigger timing in force).
AdvanceColourScale advanceColourScale(const charts::SurfaceScene &scene);
// The scale for a table the surface does not show (the 2D curve): its
// advance window (the look's range widened to hold it when it is empty).
AdvanceColourScale advanceColourScale(const charts::SurfaceLook &look, const editor::AdvanceWindow &window);

// Black or white, whichever reads better on the background.
QColor readableTextColour(const QColor &background);

}  // namespace tunara::views
