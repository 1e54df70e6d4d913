// Where a cell lives in the image, the working arrays and the grid, and the
// axes that label it.
#include "tables/table_axes.h"

#include "module/module_data.h"
#include "module/parameter_codec.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace tunara;

namespace {

TEST(SpeedAxis, TwentyOnePointsEvery500RPM)
{
    EXPECT_EQ(axes::rpmAtPoint(1), 0);
    EXPECT_EQ(axes::rpmAtPoint(2), 500);
    EXPECT_EQ(axes::rpmAtPoint(11), 5000);
    EXPECT_EQ(axes::rpmAtPoint(21), 10000);
    EXPECT_THROW(axes::rpmAtPoint(0), std::out_of_range);
    EXPECT_THROW(axes::rpmAtPoint(22), std::out_of_range);
    // The heading texts every view and file shares.
    EXPECT_EQ(axes::speedHeading(21), QStringLiteral("10000"));
    EXPECT_EQ(axes::pressureHeading(2, 8), QStringLiteral("90"));
    EXPECT_EQ(axes::pressureHeading(7, 1), QStringLiteral("16"));
}

TEST(IndexMapping, TwoDPointsAreBytes16To36)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        EXPECT_EQ(axes::image2DIndex(p), 15 + p);
    EXPECT_THROW(axes::image2DIndex(0), std::out_of_range);
    EXPECT_THROW(axes::image2DIndex(22), std::out_of_range);
}

TEST(IndexMapping, ThreeDCellsCoverBytes112To279OnceEach)
{
    std::set<int> seen;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            seen.insert(axes::image3DIndex(p, m));
    EXPECT_EQ(seen.size(), 168u);
    EXPECT_EQ(*seen.begin(), 112);
    EXPECT_EQ(*seen.rbegin(), 279);
    EXPECT_THROW(axes::image3DIndex(1, 0), std::out_of_range);
    EXPECT_THROW(axes::image3DIndex(1, 9), std::out_of_range);
    EXPECT_THROW(axes::image3DIndex(0, 1), std::out_of_range);
}

TEST(IndexMapping, LowestPressureRowIsFirstInTheImageLastInTheArrayTopInTheGrid)
{
    // Image row k (bytes 112 + 21k ..) is pressure index 8 - k and grid row k + 1.
    for (int k = 0; k < 8; ++k) {
        const int m = 8 - k;
        for (int p = 1; p <= SpeedPoints; ++p)
            EXPECT_EQ(axes::image3DIndex(p, m), 112 + 21 * k + (p - 1)) << "k " << k << " p " << p;
        EXPECT_EQ(axes::gridRowOfPressureIndex(m), k + 1);
        EXPECT_EQ(axes::pressureIndexOfGridRow(k + 1), m);
    }
    EXPECT_EQ(axes::image3DIndex(1, 8), 112);   // lowest pressure, 0 RPM: top row, first column
    EXPECT_EQ(axes::image3DIndex(21, 1), 279);  // highest pressure, 10000 RPM: bottom row, last column
    EXPECT_EQ(axes::gridRowOfPressureIndex(8), 1);
    EXPECT_EQ(axes::gridRowOfPressureIndex(1), 8);
    EXPECT_THROW(axes::gridRowOfPressureIndex(0), std::out_of_range);
    EXPECT_THROW(axes::pressureIndexOfGridRow(9), std::out_of_range);
}

TEST(IndexMapping, DecodePutsEachImageByteIntoItsArrayCell)
{
    // A distinct byte per 3D cell, decoded at trigger timing 40 so nothing clips.
    ModuleData d;
    d.image.EEPROMBuffer[48] = 40;
    for (int j = 0; j < 168; ++j)
        d.image.EEPROMBuffer[112 + j] = static_cast<std::uint8_t>(j);
    for (int i = 0; i < 21; ++i)
        d.image.EEPROMBuffer[16 + i] = static_cast<std::uint8_t>(i + 100);
    UpdateParams(d);
    for (int j = 0; j < 168; ++j) {
        const int p = j % 21 + 1;
        const int m = 8 - j / 21;
        EXPECT_NEAR(d.tables.table3D(p, m), 40 - j * 0.0879, 1e-12) << "image byte " << 112 + j;
    }
    for (int i = 0; i < 21; ++i)
        EXPECT_NEAR(d.tables.table2D(i + 1, 1), 40 - (i + 100) * 0.0879, 1e-12) << "image byte " << 16 + i;
}

TEST(PressureAxis, LabelsTopToBottomPerMAPSensor)
{
    const std::vector<int> oneBar = {16, 18, 20, 22, 24, 26, 28, 30};
    const std::vector<int> twoBar = {18, 24, 30, 36, 42, 48, 54, 60};
    const std::vector<int> threeBar = {20, 30, 40, 50, 60, 70, 80, 90};
    const std::pair<std::uint8_t, const std::vector<int> *> sensors[] = {
        {0, &oneBar}, {1, &twoBar}, {2, &threeBar}, {3, &oneBar}, {5, &oneBar}, {255, &oneBar}};
    for (auto [sensor, labels] : sensors)
        for (int r = 1; r <= 8; ++r)
            EXPECT_EQ(axes::pressureLabel(sensor, r), (*labels)[r - 1]) << "MAPSensor " << int(sensor) << " row " << r;
    EXPECT_THROW(axes::pressureLabel(0, 0), std::out_of_range);
    EXPECT_THROW(axes::pressureLabel(2, 9), std::out_of_range);
}

TEST(ChartTemplates, FileNamesPerMAPSensor)
{
    EXPECT_EQ(axes::template2DFileName(), QStringLiteral("Torvik_2D_Timing_Chart.oc2"));
    EXPECT_EQ(axes::template3DFileName(0), QStringLiteral("Torvik_3D_1Bar_Timing_Chart.oc3"));
    EXPECT_EQ(axes::template3DFileName(1), QStringLiteral("Torvik_3D_2Bar_Timing_Chart.oc3"));
    EXPECT_EQ(axes::template3DFileName(2), QStringLiteral("Torvik_3D_3Bar_Timing_Chart.oc3"));
    for (std::uint8_t undefined : {3, 5, 128, 255})
        EXPECT_EQ(axes::template3DFileName(undefined), QStringLiteral("Torvik_3D_1Bar_Timing_Chart.oc3"))
            << int(undefined);
}

TEST(WorkingArrays, IndicesOutsideTheirBoundsAreRefused)
{
    Table2D t2;
    Table3D t3;
    EXPECT_THROW(t2(0, 1), std::out_of_range);
    EXPECT_THROW(t2(22, 1), std::out_of_range);
    EXPECT_THROW(t2(1, 3), std::out_of_range);
    EXPECT_THROW(t3(1, 0), std::out_of_range);
    EXPECT_THROW(t3(22, 8), std::out_of_range);
    t2(21, 2) = 1.5;
    t3(21, 8) = -2.5;
    EXPECT_EQ(t2(21, 2), 1.5);
    EXPECT_EQ(t3(21, 8), -2.5);
    EXPECT_EQ(t2(21, 1), 0.0);
    EXPECT_EQ(t3(20, 8), 0.0);
}

}  // namespace
