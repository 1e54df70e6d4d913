#pragma once

namespace tunara::views {

// Lengths in twips (1/1440 inch): the window's layout rule is stated in them,
// and converted to pixels only where widgets are moved.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const TwipsRect &) const = default;
};

struct TableViewsLayout {
    TwipsRect chart;  // Chart2D1 and Chart3D1
    TwipsRect grid;   // VSFlexGrid1 and VSFlexGrid2
};

// The charts take the top 70 % of the window's outer size as they are; the
// grids take the rest less the window's frame and menu allowance, in whole
// twips (halves to the even neighbour), never negative.
TableViewsLayout layoutTableViews(double outerWidthTwips, double outerHeightTwips);

// The rule's layout kept usable in the client area the views really have
// (all in twips): the grids end inside it, so a window frame and menu bar
// taller than the rule allows for cannot hide their bottom rows and scroll
// bar, and they are never shorter than minGridHeight (room to reach every
// row by scrolling) while the charts keep at least half of the height; the
// charts end where the grids begin.
TableViewsLayout keepGridsInReach(TableViewsLayout layout, double clientWidth, double clientHeight,
                                  double minGridHeight);

// Cell sizes fitted to a grid's inner area, in twips.
int gridColumnWidth(double clientWidthTwips);    // Int(width / 22) - 1, both grids
int Grid2DRowHeight(double clientHeightTwips);   // Int(height / 3) - 10
int Grid3DRowHeight(double clientHeightTwips);   // Int(height / 9) - 1

// Twips per pixel for a logical resolution (15 at 96 dpi).
double twipsPerPixelAt(double logicalDpi);
int twipsToPixels(double twips, double twipsPerPixel);
// Whole pixels rounded down, for cell sizes: 22 columns rounded up each
// would overrun the grid they were fitted to.
int twipsToCellPixels(double twips, double twipsPerPixel);
double pixelsToTwips(int pixels, double twipsPerPixel);

}  // namespace tunara::views
