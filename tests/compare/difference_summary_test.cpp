// The few numbers a list of restore points shows for how far a point lies
// from the open image.
#include "compare/difference_summary.h"

#include "compare_fixtures.h"

#include <gtest/gtest.h>

using namespace tunara;
using namespace tunara::compare;
using comparetest::decoded;

namespace {

TEST(DifferenceSummary, CountsParametersTheRunningTablesCellsAndTheLargestChange)
{
    std::mt19937 rng(7);
    const ModuleImage base = comparetest::programImage(rng, true);  // runs the 3D map
    const ModuleData from = decoded(base);
    EXPECT_EQ(summarise(diffImages(from, from), from, from).text(), QStringLiteral("same"));

    ModuleImage changed = base;
    auto &b = changed.EEPROMBuffer;
    b[52] ^= 0x01;  // RetardComp
    b[97] ^= 0x01;  // another parameter
    // 14 map cells, one of them by 28 steps (2.46 degrees).
    for (std::size_t a = 112; a < 126; ++a) {
        const int steps = a == 117 ? 28 : 1;
        b[a] = std::uint8_t(b[a] >= steps ? b[a] - steps : b[a] + steps);
    }
    b[20] ^= 0x01;   // a 2D cell: the 2D curve does not run
    b[105] ^= 0xFF;  // a byte carried through unread
    const ModuleData to = decoded(changed);
    const ImageDiff diff = diffImages(from, to);
    const DifferenceSummary s = summarise(diff, from, to);
    EXPECT_EQ(s.parameters, 2);
    EXPECT_EQ(s.cells, 14);
    EXPECT_NEAR(s.largest, 28 * DegreesPerStep, 1e-9);
    EXPECT_EQ(s.otherBytes, 2);
    EXPECT_EQ(s.text(), QStringLiteral("2 parameters, 14 cells, up to 2.5°, 2 other bytes"));
    bool map3D = false;
    EXPECT_EQ(runningCells(diff, from, to, &map3D).size(), 14u);
    EXPECT_TRUE(map3D);

    // A point that runs the 2D curve against an image that runs the map:
    // the cells of both tables count, the heat map shows the open image's.
    ModuleImage curve = changed;
    curve.EEPROMBuffer[50] = 0x5C;
    const ModuleData point = decoded(curve);
    const ImageDiff across = diffImages(point, from);
    const DifferenceSummary both = summarise(across, point, from);
    EXPECT_EQ(both.cells, 15);  // the 14 of the map and the 1 of the curve
    EXPECT_EQ(runningCells(across, point, from, &map3D).size(), 14u);
    EXPECT_TRUE(map3D);
    const DifferenceSummary one{1, 1, 0.0879, 0};
    EXPECT_EQ(one.text(), QStringLiteral("1 parameter, 1 cell, up to 0.1°"));
}

}  // namespace
