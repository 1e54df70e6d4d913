// The diff of two decoded images: each kind of difference lands in its own
// list, and bytes that read alike are kept apart from real differences.
#include "compare/image_diff.h"

#include "compare_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tunara;
using namespace tunara::compare;
using comparetest::decoded;

namespace {

TEST(ImageDiff, EachKindOfDifferenceIsReportedOnceInItsOwnList)
{
    std::mt19937 rng(13);
    const ModuleImage base = comparetest::programImage(rng, true);
    struct Case {
        const char *name;
        std::function<void(ModuleImage &a, ModuleImage &b)> change;
        size_t parameters, cells2D, cells3D, carried, normalised;
    } cases[] = {
        {"identical", [](ModuleImage &, ModuleImage &) {}, 0, 0, 0, 0, 0},
        {"one parameter", [](ModuleImage &, ModuleImage &i) { i.EEPROMBuffer[97] ^= 0x01; }, 1, 0, 0, 0, 0},
        {"one 2D cell", [](ModuleImage &, ModuleImage &i) { i.EEPROMBuffer[20] ^= 0x01; }, 0, 1, 0, 0, 0},
        {"one 3D cell", [](ModuleImage &, ModuleImage &i) { i.EEPROMBuffer[112] ^= 0x01; }, 0, 0, 1, 0, 0},
        {"carried byte", [](ModuleImage &, ModuleImage &i) { i.EEPROMBuffer[105] ^= 0xFF; }, 0, 0, 0, 1, 0},
        {"reserved byte", [](ModuleImage &, ModuleImage &i) { i.EEPROMBuffer[65] = 7; }, 0, 0, 0, 0, 1},
        // Crank pulses 13 and 14 both read as 12.
        {"clamped parameter", [](ModuleImage &a, ModuleImage &b) { a.EEPROMBuffer[49] = 13; b.EEPROMBuffer[49] = 14; }, 0, 0, 0, 0, 1},
        // 2D cells stored below 0 degrees (10 - 17.58) both read as 0.
        {"2D cells both below 0", [](ModuleImage &a, ModuleImage &b) {
             a.EEPROMBuffer[48] = b.EEPROMBuffer[48] = 10;
             a.EEPROMBuffer[16] = 200;
             b.EEPROMBuffer[16] = 210;
         }, 0, 0, 0, 0, 1},
    };
    for (const Case &c : cases) {
        ModuleImage a = base, b = base;
        c.change(a, b);
        const ImageDiff d = diffImages(decoded(a), decoded(b));
        EXPECT_EQ(d.parameters.size(), c.parameters) << c.name;
        EXPECT_EQ(d.cells2D.size(), c.cells2D) << c.name;
        EXPECT_EQ(d.cells3D.size(), c.cells3D) << c.name;
        EXPECT_EQ(d.carriedBytes.size(), c.carried) << c.name;
        EXPECT_EQ(d.normalisedBytes.size(), c.normalised) << c.name;
        EXPECT_EQ(d.identical(), std::string(c.name) == "identical") << c.name;
        EXPECT_EQ(d.sameAsRead(), c.parameters + c.cells2D + c.cells3D + c.carried == 0) << c.name;
    }
}

TEST(ImageDiff, CellsNameTheirPlaceAndBothValues)
{
    std::mt19937 rng(14);
    const ModuleImage base = comparetest::programImage(rng, true);
    ModuleImage other = base;
    other.EEPROMBuffer[112 + 21 * 2 + 4] += 1;  // image row 2 = pressure index 6, speed point 5
    other.EEPROMBuffer[16 + 20] += 1;           // 2D point 21
    const ModuleData a = decoded(base), b = decoded(other);
    const ImageDiff d = diffImages(a, b);
    ASSERT_EQ(d.cells3D.size(), 1u);
    EXPECT_EQ(std::make_pair(d.cells3D[0].point, d.cells3D[0].pressureIndex), std::make_pair(5, 6));
    EXPECT_DOUBLE_EQ(d.cells3D[0].a, a.tables.table3D(5, 6));
    EXPECT_NEAR(d.cells3D[0].difference(), -DegreesPerStep, 1e-9);
    ASSERT_EQ(d.cells2D.size(), 1u);
    EXPECT_EQ(std::make_pair(d.cells2D[0].point, d.cells2D[0].pressureIndex), std::make_pair(21, 0));
}

TEST(ImageDiff, LiveValuesCompareAsTheyWouldBeStored)
{
    ModuleImage image;
    image.EEPROMBuffer[48] = 30;
    image.EEPROMBuffer[16 + 4] = 57;  // 2D point 5: 24.9897
    const Table2D file = decoded(image).tables.table2D;
    Table2D live = file;
    live(5, 1) = 25.0;  // stored as step 57 too
    EXPECT_EQ(diffTables(live, file).size(), 1u);
    EXPECT_TRUE(diffAsStored(live, 30, file, 30).empty());
    live(5, 1) = 25.1;  // step 56
    const auto cells = diffAsStored(live, 30, file, 30);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_NEAR(cells[0].a, 30 - 56 * DegreesPerStep, 1e-12);
}

}  // namespace
