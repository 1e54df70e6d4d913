// Whether a module still holds the image it held at download, and the line
// that says what differs when it does not.
#include "compare/module_change.h"

#include "compare_fixtures.h"

#include <gtest/gtest.h>

using namespace tunara;
using namespace tunara::compare;

namespace {

TEST(ModuleChange, SaysWhatDiffersInFirmwareParametersCellsAndUndecodedBytes)
{
    std::mt19937 rng(11);
    const ImageBytes was = comparetest::programImage(rng, true).EEPROMBuffer;  // runs the 3D map
    EXPECT_FALSE(moduleChange(was, was).differs);
    EXPECT_FALSE(moduleChange(was, was, "Torvik-1 Zoruro V2.1", "Torvik-1 Zoruro V2.1").differs);
    // Bytes that never travel (0..15) are not the module's.
    ImageBytes outside = was;
    outside[3] ^= 0xFF;
    EXPECT_FALSE(moduleChange(was, outside).differs);

    // Another tune: 3 parameters and 168 map cells, the largest by 70 steps.
    ImageBytes other = was;
    other[52] ^= 0x01;
    other[97] ^= 0x01;
    other[98] ^= 0x01;
    for (std::size_t a = 112; a < 280; ++a) {
        const int steps = a == 140 ? 70 : 1;
        other[a] = std::uint8_t(other[a] >= steps ? other[a] - steps : other[a] + steps);
    }
    const ModuleChange change = moduleChange(was, other, "V2.0", "V2.3");
    EXPECT_TRUE(change.differs);
    EXPECT_EQ(change.text, QStringLiteral("firmware V2.3, downloaded from V2.0; 3 parameters and 168 cells differ, "
                                          "up to 6.2°"));

    // The firmware line alone, and bytes the program reads alike (reserved).
    EXPECT_EQ(moduleChange(was, was, "V2.0", "V2.3").text,
              QStringLiteral("firmware V2.3, downloaded from V2.0; the contents are the same"));
    ImageBytes reserved = was;
    reserved[64] ^= 0x10;
    EXPECT_EQ(moduleChange(was, reserved).text, QStringLiteral("1 byte the program does not decode differs"));
    ImageBytes oneCell = was;
    oneCell[200] ^= 0x01;
    EXPECT_EQ(moduleChange(was, oneCell).text, QStringLiteral("1 cell differs, up to 0.1°"));
}

}  // namespace
