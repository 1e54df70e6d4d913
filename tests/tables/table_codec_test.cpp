// Stored table bytes and degrees of advance, both ways.
#include "tables/table_codec.h"

#include "module/module_data.h"
#include "module/parameter_codec.h"
#include "tables/table_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace tunara;

namespace {

ModuleImage imageWithTables(std::uint8_t b2D, std::uint8_t b3D)
{
    ModuleImage im;
    for (int a = 16; a <= 36; ++a)
        im.EEPROMBuffer[a] = b2D;
    for (int a = 112; a <= 279; ++a)
        im.EEPROMBuffer[a] = b3D;
    return im;
}

TEST(TableDecode, AllZeroBytesLieOnTheTriggerLine)
{
    for (int trig : {0, 10, 30, 40}) {
        TimingTables t;
        decodeTables(imageWithTables(0, 0), trig, t);
        for (int p = 1; p <= SpeedPoints; ++p) {
            EXPECT_EQ(t.table2D(p, 1), trig);
            EXPECT_EQ(t.table2D(p, 2), trig);
            for (int m = 1; m <= PressureRows; ++m)
                EXPECT_EQ(t.table3D(p, m), trig);
        }
    }
}

TEST(TableDecode, NegativeAdvanceBecomesZeroIn2DButStaysIn3D)
{
    // Trigger timing 10, byte 200: 10 - 17.58 degrees.
    TimingTables t;
    decodeTables(imageWithTables(200, 200), 10, t);
    for (int p = 1; p <= SpeedPoints; ++p) {
        EXPECT_EQ(t.table2D(p, 1), 0.0) << "point " << p;
        EXPECT_EQ(t.table2D(p, 2), 10.0);
        for (int m = 1; m <= PressureRows; ++m)
            EXPECT_NEAR(t.table3D(p, m), -7.58, 1e-9);
    }
}

TEST(TableDecode, ByteValuesAreStepsOfExactly00879Degree)
{
    TimingTables t;
    decodeTables(imageWithTables(250, 255), 30, t);
    EXPECT_NEAR(t.table2D(1, 1), 30 - 21.975, 1e-12);
    EXPECT_NEAR(t.table3D(1, 1), 30 - 22.4145, 1e-12);
    // Not 360/4096 = 0.087890625: the difference shows after 255 steps.
    EXPECT_GT(std::abs(t.table3D(1, 1) - (30 - 255 * 360.0 / 4096)), 1e-4);
}

TEST(TableDecode, UpdateParamsUsesByte48ForBothTables)
{
    ModuleData d;
    d.image.EEPROMBuffer[48] = 15;
    d.image.EEPROMBuffer[16] = 57;
    d.image.EEPROMBuffer[112] = 250;
    UpdateParams(d);
    EXPECT_NEAR(d.tables.table2D(1, 1), 15 - 57 * 0.0879, 1e-12);
    EXPECT_EQ(d.tables.table2D(1, 2), 15.0);
    EXPECT_NEAR(d.tables.table3D(1, 8), 15 - 21.975, 1e-12);
}

TEST(TableEncode, EdgesOfTheAdvanceWindow)
{
    for (int trig = 0; trig <= 40; ++trig) {
        SCOPED_TRACE("TrigTiming " + std::to_string(trig));
        EXPECT_EQ(encodeAdvance(trig, trig), 0);             // exactly the trigger timing
        EXPECT_EQ(encodeAdvance(trig, trig - 22.0), 250);    // 22 / 0.0879 = 250.28
        EXPECT_EQ(encodeAdvance(trig, trig + 0.5), 0);       // above the trigger timing
        EXPECT_EQ(encodeAdvance(trig, trig + 100), 0);
        EXPECT_EQ(encodeAdvance(trig, trig - 22.41), 255);   // more than 22.41 below
        EXPECT_EQ(encodeAdvance(trig, trig - 23.0), 255);
        EXPECT_EQ(encodeAdvance(trig, trig - 1000.0), 255);
    }
}

TEST(TableEncode, TypedValuesStoreAsTheNearestStep)
{
    EXPECT_EQ(encodeAdvance(30, 25.0), 57);  // 5 / 0.0879 = 56.88
    EXPECT_EQ(encodeAdvance(30, 29.96), 0);  // 0.04 / 0.0879 = 0.455
    EXPECT_EQ(encodeAdvance(30, 29.95), 1);  // 0.05 / 0.0879 = 0.569
    EXPECT_EQ(encodeAdvance(0, -7.58), 86);  // 86.23
}

TEST(TableEncode, ExactHalfStepsGoToTheEvenByte)
{
    // Find advances whose step count comes out exactly k + 0.5 in double
    // arithmetic; each must store the even neighbour, never round up blindly.
    int ties = 0;
    for (int trig = 0; trig <= 40; ++trig) {
        for (int k = 0; k < 255; ++k) {
            const double advance = trig - (k + 0.5) * 0.0879;
            const double steps = (trig - advance) / 0.0879;
            if (steps != k + 0.5)
                continue;
            ++ties;
            EXPECT_EQ(encodeAdvance(trig, advance), k % 2 == 0 ? k : k + 1) << "trig " << trig << " k " << k;
        }
    }
    ASSERT_GT(ties, 50) << "too few exact halves found to test the rule";
}

TEST(TableEncode, NonNumbersNeverGiveAnUndefinedByte)
{
    EXPECT_EQ(encodeAdvance(30, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(encodeAdvance(30, -std::numeric_limits<double>::infinity()), 255);
    const std::uint8_t nan = encodeAdvance(30, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(nan == 0 || nan == 255);
}

TEST(TableRoundTrip, EveryByteComesBackForEveryTrigTiming)
{
    for (int trig = 0; trig <= 40; ++trig) {
        for (int b = 0; b <= 255; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            TimingTables t;
            decodeTables(imageWithTables(byte, byte), trig, t);
            ModuleImage out = imageWithTables(0xAA, 0xAA);
            encodeTable3D(t.table3D, trig, out);
            for (int a = 112; a <= 279; ++a)
                ASSERT_EQ(out.EEPROMBuffer[a], byte) << "3D, trig " << trig << ", byte " << a;
            encodeTable2D(t.table2D, trig, out);
            // A 2D byte whose retard exceeds the trigger timing decoded to 0
            // advance, which stores as the trigger timing's own step count.
            const int expected2D = b * 0.0879 <= trig ? b : int(std::lround(trig / 0.0879));
            for (int a = 16; a <= 36; ++a)
                ASSERT_EQ(int(out.EEPROMBuffer[a]), expected2D) << "2D, trig " << trig << ", byte " << b;
        }
    }
}

TEST(TableEncode, EachTableWritesOnlyItsOwnRegion)
{
    TimingTables t;
    for (int p = 1; p <= SpeedPoints; ++p) {
        t.table2D(p, 1) = 20;
        t.table2D(p, 2) = -999;  // the trigger line is never stored
        for (int m = 1; m <= PressureRows; ++m)
            t.table3D(p, m) = 10;
    }
    ModuleImage twoD;
    twoD.EEPROMBuffer.fill(0x5A);
    encodeTable2D(t.table2D, 30, twoD);
    ModuleImage threeD;
    threeD.EEPROMBuffer.fill(0x5A);
    encodeTable3D(t.table3D, 30, threeD);
    for (int a = 0; a < ModuleImage::Size; ++a) {
        EXPECT_EQ(twoD.EEPROMBuffer[a], (a >= 16 && a <= 36) ? 114 : 0x5A) << "2D encode, byte " << a;
        EXPECT_EQ(threeD.EEPROMBuffer[a], (a >= 112 && a <= 279) ? 228 : 0x5A) << "3D encode, byte " << a;
    }
}

TEST(TableRoundTrip, RandomMapsSurviveEncodeAndDecode)
{
    std::mt19937 rng(5150);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 500; ++n) {
        ModuleImage in;
        for (int a = 112; a <= 279; ++a)
            in.EEPROMBuffer[a] = static_cast<std::uint8_t>(byte(rng));
        const int trig = n % 41;
        TimingTables t;
        decodeTables(in, trig, t);
        ModuleImage out;
        encodeTable3D(t.table3D, trig, out);
        ASSERT_EQ(out.EEPROMBuffer, in.EEPROMBuffer) << "random map " << n;
    }
}

}  // namespace
