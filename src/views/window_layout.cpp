#include "views/window_layout.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace tunara::views {

TableViewsLayout layoutTableViews(double w, double h)
{
    TableViewsLayout l;
    l.chart = {0, 0, w, 0.7 * h};
    const double gridWidth = std::max(0.0, numbers::roundHalfEven(w - 150));
    const double gridHeight = std::max(0.0, numbers::roundHalfEven(0.3 * h - 725));
    l.grid = {0, 0.7 * h, gridWidth, gridHeight};
    return l;
}

TableViewsLayout keepGridsInReach(TableViewsLayout layout, double clientWidth, double clientHeight,
                                  double minGridHeight)
{
    TwipsRect &grid = layout.grid;
    grid.width = std::min(grid.width, std::max(0.0, clientWidth));
    const double below = std::max(0.0, clientHeight - grid.top);
    // Shortened to what the client area holds, or grown into room it has.
    grid.height = std::min(below, std::max(grid.height, minGridHeight));
    if (grid.height < minGridHeight) {
        const double top = std::max(clientHeight / 2, clientHeight - minGridHeight);
        if (top < grid.top) {
            grid.top = top;
            grid.height = clientHeight - top;
        }
    }
    layout.chart.height = std::min(layout.chart.height, grid.top);
    return layout;
}

int gridColumnWidth(double clientWidthTwips)
{
    return static_cast<int>(numbers::intFloor(clientWidthTwips / 22)) - 1;
}

int Grid2DRowHeight(double clientHeightTwips)
{
    return static_cast<int>(numbers::intFloor(clientHeightTwips / 3)) - 10;
}

int Grid3DRowHeight(double clientHeightTwips)
{
    return static_cast<int>(numbers::intFloor(clientHeightTwips / 9)) - 1;
}

double twipsPerPixelAt(double logicalDpi)
{
    return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0;
}

int twipsToPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

int twipsToCellPixels(double twips, double twipsPerPixel)
{
    return std::max(0, static_cast<int>(std::floor(twips / twipsPerPixel)));
}

double pixelsToTwips(int pixels, double twipsPerPixel)
{
    return pixels * twipsPerPixel;
}

}  // namespace tunara::views
