// The 3D map's drag and whole-map shift arithmetic.
#include "editor/map_edit_rules.h"

#include <gtest/gtest.h>

using namespace tunara::editor;

namespace {

TEST(MapEditRules, ADraggedPointLandsOnTheFifthDegreeGridInsideTheWindowWithNoFloorAtZero)
{
    EXPECT_DOUBLE_EQ(dragValue3D(20.5, 30), 20.4);      // 5 x 20.5 = 102.5 -> 102 (even)
    EXPECT_DOUBLE_EQ(dragValue3D(21.5, 30), 21.6);      // 107.5 -> 108 (even)
    EXPECT_DOUBLE_EQ(dragValue3D(19.93, 30), 20.0);
    EXPECT_DOUBLE_EQ(dragValue3D(7.9, 30), 8.0);       // below the window
    EXPECT_DOUBLE_EQ(dragValue3D(31.0, 30), 30.0);     // above it
    EXPECT_DOUBLE_EQ(dragValue3D(-6.3, 15), -6.4);     // the window of 15 reaches -7
    EXPECT_DOUBLE_EQ(dragValue3D(1e300, 15), 15.0);
    EXPECT_DOUBLE_EQ(dragValue3D(-1e300, 15), -7.0);
}

TEST(MapEditRules, TheShiftOffsetIsTwoFifthsOfTheTravelInFifthDegreeStepsWithinFiveDegrees)
{
    EXPECT_DOUBLE_EQ(shiftOffset3D(21.25, 20.0), 0.4);   // 2.5 -> 2 (even)
    EXPECT_DOUBLE_EQ(shiftOffset3D(21.75, 20.0), 0.8);   // 3.5 -> 4 (even)
    EXPECT_DOUBLE_EQ(shiftOffset3D(17.0, 20.0), -1.2);
    EXPECT_DOUBLE_EQ(shiftOffset3D(45.0, 20.0), 5.0);
    EXPECT_DOUBLE_EQ(shiftOffset3D(-40.0, 20.0), -5.0);
}

TEST(MapEditRules, AShiftedMapStaysInsideTheWindow)
{
    const ValueBlock before{8.4, 29.0, 10.0, 30.0};
    const ValueBlock down = shiftedMap(before, -1.2, 30);
    EXPECT_DOUBLE_EQ(down[0], 8.0);  // 7.2 is below the window
    EXPECT_DOUBLE_EQ(down[1], 27.8);
    const ValueBlock up = shiftedMap(before, 5.0, 30);
    EXPECT_DOUBLE_EQ(up[0], 13.4);
    EXPECT_DOUBLE_EQ(up[3], 30.0);
    // A window below zero: nothing is raised to zero.
    const ValueBlock low = shiftedMap({-6.0, 0.0}, -2.0, 15);
    EXPECT_DOUBLE_EQ(low[0], -7.0);
    EXPECT_DOUBLE_EQ(low[1], -2.0);
}

}  // namespace
