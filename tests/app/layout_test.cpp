#include "views/window_layout.h"

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using views::TwipsRect;

TEST(LayoutRule, SmallWindowGivesGridsNoHeight)
{
    const views::TableViewsLayout l = views::layoutTableViews(5000, 2000);
    EXPECT_EQ(l.chart, (views::TwipsRect{0, 0, 5000, 1400}));
    EXPECT_EQ(l.grid, (views::TwipsRect{0, 1400, 4850, 0}));
}

TEST(LayoutRule, DesignSizeWindow)
{
    // 9036 x 7512: grids 8886 wide and 0.3 x 7512 - 725 = 1528.6 -> 1529 high.
    const views::TableViewsLayout l = views::layoutTableViews(9036, 7512);
    EXPECT_DOUBLE_EQ(l.chart.width, 9036);
    EXPECT_NEAR(l.chart.height, 5258.4, 1e-9);  // charts keep the product as it is
    EXPECT_NEAR(l.grid.top, 5258.4, 1e-9);
    EXPECT_EQ(l.grid.width, 8886);
    EXPECT_EQ(l.grid.height, 1529);
}

TEST(LayoutRule, GridSizesRoundHalvesToEven)
{
    // 0.3 x 2425 - 725 = 2.5 -> 2; 0.3 x 2435 - 725 = 5.5 -> 6.
    EXPECT_EQ(views::layoutTableViews(5000, 2425).grid.height, 2);
    EXPECT_EQ(views::layoutTableViews(5000, 2435).grid.height, 6);
}

TEST(LayoutRule, NarrowWindowGivesGridsNoWidth)
{
    EXPECT_EQ(views::layoutTableViews(100, 5000).grid.width, 0);
    EXPECT_EQ(views::layoutTableViews(150, 5000).grid.width, 0);
    EXPECT_EQ(views::layoutTableViews(151, 5000).grid.width, 1);
}

TEST(LayoutRule, CellsFitTheGridsInnerArea)
{
    EXPECT_EQ(views::gridColumnWidth(4850), 219);  // Int(220.45) - 1
    EXPECT_EQ(views::gridColumnWidth(21), -1);     // the caller keeps sizes at 0 or more
    EXPECT_EQ(views::Grid2DRowHeight(1529), 499);  // Int(509.67) - 10
    EXPECT_EQ(views::Grid3DRowHeight(1529), 168);  // Int(169.89) - 1
    EXPECT_EQ(views::Grid2DRowHeight(0), -10);
}

// The rule's grid kept whole and scrollable in the client area the window
// really has; the chart gives up height down to half of it, no further.
TEST(LayoutRule, GridsStayInReachOnSmallScreens)
{
    // 1024 x 600 maximised under a tall title bar: the rule's grid would end
    // below the client area, its scroll bar out of sight.
    views::TableViewsLayout l = views::keepGridsInReach(views::layoutTableViews(15360, 8700), 15360, 7710, 1275);
    EXPECT_EQ(l.grid, (TwipsRect{0, 6090, 15210, 1620}));
    EXPECT_DOUBLE_EQ(l.chart.height, 6090);
    // Too short to scroll: the grid moves up into the chart's share, which
    // keeps half of the height.
    l = views::keepGridsInReach(views::layoutTableViews(9000, 3000), 9000, 2400, 1500);
    EXPECT_EQ(l.grid, (TwipsRect{0, 1200, 8850, 1200}));
    EXPECT_DOUBLE_EQ(l.chart.height, 1200);
    // A window with room keeps the rule as it is.
    const views::TableViewsLayout rule = views::layoutTableViews(9036, 7512);
    l = views::keepGridsInReach(rule, 9036, 7400, 1275);
    EXPECT_EQ(l.grid, rule.grid);
    EXPECT_EQ(l.chart, rule.chart);
}

TEST(LayoutRule, TwipsAndPixels)
{
    EXPECT_DOUBLE_EQ(views::twipsPerPixelAt(96), 15);
    EXPECT_DOUBLE_EQ(views::twipsPerPixelAt(120), 12);
    EXPECT_EQ(views::twipsToPixels(5000, 15), 333);
    EXPECT_EQ(views::twipsToPixels(1400, 15), 93);
    EXPECT_DOUBLE_EQ(views::pixelsToTwips(400, 15), 6000);
}

}  // namespace
}  // namespace tunara::test
