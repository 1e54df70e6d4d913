// A new trigger timing pulls every table value into its advance window.
#include "tables/timing_tables.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tunara;

namespace {

struct ClampCase {
    int newTrig;
    double before;
    double after;
};

// A cell is first kept at or above 0, then brought into the window. A
// negative value therefore lands on the window's bottom where that lies above
// 0 (never left at 0 below the window, which would encode as a different
// advance than the one shown), and at 0 where the window reaches below zero.
const ClampCase Cases[] = {
    {30, -5, 8},   {40, -0.1, 18},   {30, 0, 8},    {30, 0.5, 8},  {30, 5, 8},   {30, 8, 8},    {30, 20, 20},
    {30, 30, 30},  {30, 30.01, 30}, {30, 45, 30},
    {15, -3, 0},   {15, -7, 0},   {15, -10, 0},  {15, 0, 0},   {15, 14.9, 14.9}, {15, 16, 15},
    {0, -1, 0},    {0, 0, 0},     {0, 5, 0},
    {40, 10, 18},  {40, 18, 18},  {40, 17.99, 18}, {40, 39.99, 39.99}, {40, 40.5, 40},
    {22, -0.1, 0}, {22, 0, 0},    {22, 23, 22},
};

TEST(ClampTablesToTrigger, EveryCellOfBothTablesFollowsTheOrderOfTests)
{
    for (const ClampCase &c : Cases) {
        SCOPED_TRACE("new trigger " + std::to_string(c.newTrig) + ", value " + std::to_string(c.before));
        TimingTables t;
        for (int p = 1; p <= SpeedPoints; ++p) {
            t.table2D(p, 1) = c.before;
            t.table2D(p, 2) = 99;
            for (int m = 1; m <= PressureRows; ++m)
                t.table3D(p, m) = c.before;
        }
        ClampTablesToTrigger(t, c.newTrig);
        for (int p = 1; p <= SpeedPoints; ++p) {
            ASSERT_DOUBLE_EQ(t.table2D(p, 1), c.after) << "2D point " << p;
            ASSERT_EQ(t.table2D(p, 2), c.newTrig) << "2D trigger line, point " << p;
            for (int m = 1; m <= PressureRows; ++m)
                ASSERT_DOUBLE_EQ(t.table3D(p, m), c.after) << "3D point " << p << " pressure " << m;
        }
    }
}

TEST(ClampTablesToTrigger, MixedTablesClampCellByCell)
{
    TimingTables t;
    for (int p = 1; p <= SpeedPoints; ++p) {
        t.table2D(p, 1) = p * 2.0;  // 2 .. 42
        for (int m = 1; m <= PressureRows; ++m)
            t.table3D(p, m) = p * 2.0 - m;  // 1 - 8 .. 42 - 1
    }
    ClampTablesToTrigger(t, 25);
    for (int p = 1; p <= SpeedPoints; ++p) {
        const double v2 = p * 2.0;
        EXPECT_DOUBLE_EQ(t.table2D(p, 1), v2 < 3 ? 3 : (v2 > 25 ? 25 : v2)) << "point " << p;
        for (int m = 1; m <= PressureRows; ++m) {
            const double v = p * 2.0 - m;
            const double want = v < 3 ? 3 : v > 25 ? 25 : v;  // negatives end on the window's bottom
            EXPECT_DOUBLE_EQ(t.table3D(p, m), want) << "point " << p << " pressure " << m;
        }
    }
}

}  // namespace
