// Module image and the parameter codec: start-up state, clearing, every
// decode and encode rule with its clamps, and the overflow stop of the encode.
#include "module/module_data.h"
#include "module/parameter_codec.h"

#include "core/runtime_error.h"
#include "image/image_layout.h"
#include "image/parameter_fields.h"
#include "image_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

using namespace tunara;

namespace {

// A fresh program-wide state per test, as at start-up.
ModuleData startUp()
{
    ModuleData d;
    d.image.ClearEEPROMBuffer();
    return d;
}

ModuleData decoded(const std::function<void(ModuleImage &)> &fill)
{
    ModuleData d = startUp();
    fill(d.image);
    UpdateParams(d);
    return d;
}

ModuleData decodedByte(int address, std::uint8_t value)
{
    return decoded([&](ModuleImage &im) { im.EEPROMBuffer[address] = value; });
}

// ---------------------------------------------------------------- start-up

TEST(StartUp, ParametersHoldTheirStartUpValues)
{
    const ModuleData d = startUp();
    const ModuleParameters &p = d.params;
    EXPECT_EQ(p.TrigTiming, 30);
    EXPECT_EQ(p.CrankPulses, 2);
    EXPECT_EQ(p.OptionFlags, 0x1C);
    EXPECT_TRUE(p.RPMLimitEnable);
    EXPECT_TRUE(p.MultiSparkEnable);
    EXPECT_TRUE(p.TimingEnable);
    EXPECT_FALSE(p.FixedMaxRPMLimit);
    EXPECT_FALSE(p.TimingTable2D);
    EXPECT_FALSE(p.TimingTable3D);
    EXPECT_EQ(p.MaxRPMLimit, 3000);
    EXPECT_EQ(p.RetardComp, 0);
    EXPECT_EQ(p.StartRetard, 0);
    EXPECT_EQ(p.DataLogFlags, 0);
    EXPECT_FALSE(p.HighSpeedDataLog);
    EXPECT_EQ(p.MAPSensor, 0);
    EXPECT_EQ(p.GPIO2Mode, 0);
    EXPECT_EQ(p.GPIO2MinRPM, 3000);
    EXPECT_EQ(p.GPIO2MaxRPM, 6000);
    EXPECT_EQ(p.IdleStabFlags, 0);
    EXPECT_FALSE(p.IdleStabEnable);
    EXPECT_EQ(p.IdleStabTrigStartNum, 50);
    EXPECT_EQ(p.MinIdleRPM, 500);
    EXPECT_EQ(p.IdleStabAdv, 0);
    EXPECT_EQ(MaxRetard, 22);
    EXPECT_EQ(DegreesPerStep, 0.0879);
}

TEST(StartUp, ImageIsEmptyAndTablesAreZero)
{
    const ModuleData d = startUp();
    EXPECT_TRUE(d.image.DataBufferEmpty);
    EXPECT_EQ(d.image.EEPROMBuffer.size(), 280u);
    for (int a = 0; a < 280; ++a)
        EXPECT_EQ(d.image.EEPROMBuffer[a], 0) << "byte " << a;
    for (int p = 1; p <= SpeedPoints; ++p) {
        EXPECT_EQ(d.tables.table2D(p, 1), 0.0);
        EXPECT_EQ(d.tables.table2D(p, 2), 0.0);
        for (int m = 1; m <= PressureRows; ++m)
            EXPECT_EQ(d.tables.table3D(p, m), 0.0);
    }
}

TEST(StartUp, StartUpParametersEncodeToTheStartUpBlock)
{
    ModuleData d = startUp();
    UpdateEEPROM(d);
    const auto &b = d.image.EEPROMBuffer;
    EXPECT_EQ(b[48], 30);
    EXPECT_EQ(b[49], 2);
    EXPECT_EQ(b[50], 0x1C);
    EXPECT_EQ(b[51], 30);
    EXPECT_EQ(b[76], 60);
    EXPECT_EQ(b[77], 120);
    EXPECT_EQ(b[97], 50);
    EXPECT_EQ(b[98], 10);
}

// ---------------------------------------------------------------- clearing

TEST(ClearEEPROMBuffer, ZeroesTheFirst256BytesAndKeepsTheRest)
{
    ModuleImage image;
    for (int a = 0; a < 280; ++a)
        image.EEPROMBuffer[a] = static_cast<std::uint8_t>(a * 13 + 7);
    image.DataBufferEmpty = false;
    image.ClearEEPROMBuffer();
    EXPECT_TRUE(image.DataBufferEmpty);
    for (int a = 0; a < 256; ++a)
        EXPECT_EQ(image.EEPROMBuffer[a], 0) << "byte " << a;
    for (int a = 256; a < 280; ++a)
        EXPECT_EQ(image.EEPROMBuffer[a], static_cast<std::uint8_t>(a * 13 + 7)) << "byte " << a;
}

TEST(DataBufferEmpty, NeitherDecodeNorEncodeChangesIt)
{
    for (bool empty : {true, false}) {
        ModuleData d = startUp();
        d.image.EEPROMBuffer[48] = 12;
        d.image.DataBufferEmpty = empty;
        UpdateParams(d);
        EXPECT_EQ(d.image.DataBufferEmpty, empty);
        UpdateEEPROM(d);
        EXPECT_EQ(d.image.DataBufferEmpty, empty);
    }
}

// ---------------------------------------------------------------- decode rules

TEST(Decode, TrigTimingIsLimitedToForty)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {30, 30}, {40, 40}, {41, 40}, {200, 40}, {255, 40}};
    for (auto [byte, trig] : cases)
        EXPECT_EQ(decodedByte(48, byte).params.TrigTiming, trig) << "byte " << byte;
}

TEST(Decode, TablesAreConvertedWithTheLimitedTrigTiming)
{
    // Byte 48 of 200 means 40 degrees; every table value is measured from 40.
    const ModuleData d = decoded([](ModuleImage &im) {
        im.EEPROMBuffer[48] = 200;
        for (int i = 0; i < 21; ++i)
            im.EEPROMBuffer[16 + i] = static_cast<std::uint8_t>(i * 10);
        for (int j = 0; j < 168; ++j)
            im.EEPROMBuffer[112 + j] = static_cast<std::uint8_t>(j);
    });
    for (int p = 1; p <= 21; ++p) {
        EXPECT_NEAR(d.tables.table2D(p, 1), 40 - (p - 1) * 10 * 0.0879, 1e-12) << "point " << p;
        EXPECT_EQ(d.tables.table2D(p, 2), 40.0);
    }
    EXPECT_NEAR(d.tables.table3D(1, 8), 40.0, 1e-12);
    EXPECT_NEAR(d.tables.table3D(21, 1), 40 - 167 * 0.0879, 1e-12);
}

TEST(Decode, TablesDecodeWhicheverTableIsActive)
{
    for (std::uint8_t flags : {0x00, 0x40, 0x80}) {
        const ModuleData d = decoded([&](ModuleImage &im) {
            im.EEPROMBuffer[48] = 30;
            im.EEPROMBuffer[50] = flags;
            im.EEPROMBuffer[16] = 10;
            im.EEPROMBuffer[112] = 20;
        });
        EXPECT_NEAR(d.tables.table2D(1, 1), 30 - 10 * 0.0879, 1e-12) << "flags " << int(flags);
        EXPECT_NEAR(d.tables.table3D(1, 8), 30 - 20 * 0.0879, 1e-12) << "flags " << int(flags);
    }
}

TEST(Decode, CrankPulsesAreLimitedToTwoThroughTwelve)
{
    const std::pair<int, int> cases[] = {{0, 2}, {1, 2}, {2, 2}, {7, 7}, {12, 12}, {13, 12}, {255, 12}};
    for (auto [byte, pulses] : cases)
        EXPECT_EQ(decodedByte(49, byte).params.CrankPulses, pulses) << "byte " << byte;
}

TEST(Decode, EachOptionBitSetsItsOwnFlag)
{
    struct Bit {
        std::uint8_t mask;
        bool ModuleParameters::*flag;
    };
    const Bit bits[] = {{0x04, &ModuleParameters::RPMLimitEnable},   {0x08, &ModuleParameters::MultiSparkEnable},
                        {0x10, &ModuleParameters::TimingEnable},     {0x20, &ModuleParameters::FixedMaxRPMLimit},
                        {0x40, &ModuleParameters::TimingTable2D},    {0x80, &ModuleParameters::TimingTable3D}};
    for (const Bit &set : bits) {
        const ModuleParameters p = decodedByte(50, set.mask).params;
        EXPECT_EQ(p.OptionFlags, set.mask);
        for (const Bit &other : bits)
            EXPECT_EQ(p.*(other.flag), other.mask == set.mask) << "byte " << int(set.mask) << " flag " << int(other.mask);
    }
    const ModuleParameters all = decodedByte(50, 0x3F).params;
    EXPECT_EQ(all.OptionFlags, 0x3F);
    EXPECT_TRUE(all.RPMLimitEnable && all.MultiSparkEnable && all.TimingEnable && all.FixedMaxRPMLimit);
    EXPECT_FALSE(all.TimingTable2D || all.TimingTable3D);
}

TEST(Decode, ThreeDBitWinsOverTwoDBit)
{
    const ModuleParameters p = decodedByte(50, 0xC0).params;
    EXPECT_TRUE(p.TimingTable3D);
    EXPECT_FALSE(p.TimingTable2D);
    EXPECT_EQ(p.OptionFlags, 0xC0);  // the whole byte is kept as read
}

TEST(Decode, MaxRPMLimitIsHundredsLimitedTo3000Through10900)
{
    const std::pair<int, int> cases[] = {{0, 3000},    {29, 3000},   {30, 3000},   {31, 3100},
                                         {55, 5500},   {109, 10900}, {110, 10900}, {200, 10900}, {255, 10900}};
    for (auto [byte, rpm] : cases)
        EXPECT_EQ(decodedByte(51, byte).params.MaxRPMLimit, rpm) << "byte " << byte;
}

TEST(Decode, RawBytesGoIntoTheirParametersUnchanged)
{
    for (int v : {0, 1, 127, 128, 200, 255}) {
        const ModuleParameters p = decoded([&](ModuleImage &im) {
                                       for (int a : {52, 53, 55, 72, 97, 99})
                                           im.EEPROMBuffer[a] = static_cast<std::uint8_t>(v);
                                   }).params;
        EXPECT_EQ(p.RetardComp, v);
        EXPECT_EQ(p.StartRetard, v);
        EXPECT_EQ(p.MAPSensor, v);
        EXPECT_EQ(p.GPIO2Mode, v);
        EXPECT_EQ(p.IdleStabTrigStartNum, v);
        EXPECT_EQ(p.IdleStabAdv, v);
    }
}

TEST(Decode, SpeedBytesAreFiftyRPMSteps)
{
    for (int v : {0, 1, 10, 60, 120, 255}) {
        const ModuleParameters p = decoded([&](ModuleImage &im) {
                                       for (int a : {76, 77, 98})
                                           im.EEPROMBuffer[a] = static_cast<std::uint8_t>(v);
                                   }).params;
        EXPECT_EQ(p.GPIO2MinRPM, v * 50);
        EXPECT_EQ(p.GPIO2MaxRPM, v * 50);
        EXPECT_EQ(p.MinIdleRPM, v * 50);
    }
}

TEST(Decode, FlagBytesKeepTheWholeByteAndBitZero)
{
    for (int v : {0x00, 0x01, 0xFE, 0xFF, 0x81}) {
        const ModuleParameters p = decoded([&](ModuleImage &im) {
                                       im.EEPROMBuffer[54] = static_cast<std::uint8_t>(v);
                                       im.EEPROMBuffer[96] = static_cast<std::uint8_t>(v);
                                   }).params;
        EXPECT_EQ(p.DataLogFlags, v);
        EXPECT_EQ(p.HighSpeedDataLog, (v & 1) != 0);
        EXPECT_EQ(p.IdleStabFlags, v);
        EXPECT_EQ(p.IdleStabEnable, (v & 1) != 0);
    }
}

// ---------------------------------------------------------------- encode rules

ModuleData encoded(const std::function<void(ModuleParameters &)> &change)
{
    ModuleData d = startUp();
    change(d.params);
    UpdateEEPROM(d);
    return d;
}

TEST(Encode, TrigTimingAndCrankPulsesAreLimited)
{
    const std::pair<int, int> trig[] = {{-5, 0}, {0, 0}, {25, 25}, {40, 40}, {41, 40}, {1000, 40}};
    for (auto [value, byte] : trig)
        EXPECT_EQ(encoded([&](ModuleParameters &p) { p.TrigTiming = value; }).image.EEPROMBuffer[48], byte) << value;
    const std::pair<int, int> pulses[] = {{-1, 2}, {0, 2}, {2, 2}, {8, 8}, {12, 12}, {13, 12}, {300, 12}};
    for (auto [value, byte] : pulses)
        EXPECT_EQ(encoded([&](ModuleParameters &p) { p.CrankPulses = value; }).image.EEPROMBuffer[49], byte) << value;
}

TEST(Encode, OptionByteIsRebuiltFromTheSixFlags)
{
    ModuleData d = startUp();
    d.params.OptionFlags = 0xFF;  // the stale byte has no say
    d.params.RPMLimitEnable = false;
    d.params.MultiSparkEnable = true;
    d.params.TimingEnable = false;
    d.params.FixedMaxRPMLimit = true;
    d.params.TimingTable2D = true;
    d.params.TimingTable3D = false;
    UpdateEEPROM(d);
    EXPECT_EQ(d.image.EEPROMBuffer[50], 0x08 | 0x20 | 0x40);
    EXPECT_EQ(d.params.OptionFlags, 0x08 | 0x20 | 0x40);
}

TEST(Encode, OptionByteLosesTheTwoDBitWhenBothWereSet)
{
    ModuleData d = decodedByte(50, 0xC0 | 0x1C);
    UpdateEEPROM(d);
    EXPECT_EQ(d.image.EEPROMBuffer[50], 0x80 | 0x1C);
}

TEST(Encode, OptionByteLowBitsComeBackCleared)
{
    for (std::uint8_t v : {0x01, 0x02, 0x03, 0x1F, 0xFF}) {
        ModuleData d = decodedByte(50, v);
        UpdateEEPROM(d);
        EXPECT_EQ(d.image.EEPROMBuffer[50] & 0x03, 0) << "byte " << int(v);
        EXPECT_EQ(d.image.EEPROMBuffer[50], imagemap::normalised(50, v)) << "byte " << int(v);
    }
}

TEST(Encode, MaxRPMLimitRoundsHalfEvenThenLimits)
{
    const std::pair<int, int> cases[] = {{5050, 50},   {5150, 52},   {5049, 50},  {5051, 51},  {3000, 30},
                                         {2900, 30},   {0, 30},      {-500, 30},  {10900, 109}, {10950, 109},
                                         {11000, 109}, {32767, 109}, {4450, 44},  {4550, 46}};
    for (auto [rpm, byte] : cases)
        EXPECT_EQ(encoded([&](ModuleParameters &p) { p.MaxRPMLimit = rpm; }).image.EEPROMBuffer[51], byte) << rpm;
}

TEST(Encode, ByteZeroAndTwoHundredOfTheRPMLimitComeBackInRange)
{
    ModuleData low = decodedByte(51, 0);
    EXPECT_EQ(low.params.MaxRPMLimit, 3000);
    UpdateEEPROM(low);
    EXPECT_EQ(low.image.EEPROMBuffer[51], 30);
    ModuleData high = decodedByte(51, 200);
    EXPECT_EQ(high.params.MaxRPMLimit, 10900);
    UpdateEEPROM(high);
    EXPECT_EQ(high.image.EEPROMBuffer[51], 109);
}

TEST(Encode, SpeedsAreFiftyRPMStepsRoundedHalfEven)
{
    const std::pair<int, int> cases[] = {{3000, 60}, {3025, 60},   {3075, 62}, {3024, 60},  {3026, 61},
                                         {0, 0},     {-25, 0},     {24, 0},    {25, 0},     {75, 2},
                                         {12725, 254}, {12749, 255}, {12750, 255}, {12774, 255}};
    for (auto [rpm, byte] : cases) {
        const auto &b = encoded([&](ModuleParameters &p) {
                            p.GPIO2MinRPM = rpm;
                            p.GPIO2MaxRPM = rpm;
                            p.MinIdleRPM = rpm;
                        }).image.EEPROMBuffer;
        EXPECT_EQ(b[76], byte) << rpm;
        EXPECT_EQ(b[77], byte) << rpm;
        EXPECT_EQ(b[98], byte) << rpm;
    }
}

TEST(Encode, FlagBytesHoldOnlyBitZeroAndUpdateTheirParameters)
{
    for (bool on : {false, true}) {
        ModuleData d = startUp();
        d.params.DataLogFlags = 0xFE;
        d.params.IdleStabFlags = 0xFE;
        d.params.HighSpeedDataLog = on;
        d.params.IdleStabEnable = on;
        UpdateEEPROM(d);
        EXPECT_EQ(d.image.EEPROMBuffer[54], on ? 1 : 0);
        EXPECT_EQ(d.image.EEPROMBuffer[96], on ? 1 : 0);
        EXPECT_EQ(d.params.DataLogFlags, on ? 1 : 0);
        EXPECT_EQ(d.params.IdleStabFlags, on ? 1 : 0);
    }
}

TEST(Encode, ByteParametersAreStoredAsTheyAre)
{
    ModuleData d = startUp();
    d.params.MAPSensor = 5;
    d.params.GPIO2Mode = 0xF3;
    d.params.RetardComp = 255;
    d.params.StartRetard = 1;
    d.params.IdleStabTrigStartNum = 0;
    d.params.IdleStabAdv = 228;
    UpdateEEPROM(d);
    const auto &b = d.image.EEPROMBuffer;
    EXPECT_EQ(b[55], 5);
    EXPECT_EQ(b[72], 0xF3);
    EXPECT_EQ(b[52], 255);
    EXPECT_EQ(b[53], 1);
    EXPECT_EQ(b[97], 0);
    EXPECT_EQ(b[99], 228);
}

TEST(Encode, WritesReservedBytesZeroAndLeavesEverythingElse)
{
    ModuleData d = startUp();
    for (int a = 0; a < 280; ++a)
        d.image.EEPROMBuffer[a] = 0xA5;
    UpdateEEPROM(d);
    for (int a = 0; a < 280; ++a) {
        if (imagemap::isReserved(a)) {
            EXPECT_EQ(d.image.EEPROMBuffer[a], 0) << "reserved byte " << a;
        } else if (!imagemap::isParameter(a)) {
            EXPECT_EQ(d.image.EEPROMBuffer[a], 0xA5) << "byte " << a;
        }
    }
}

TEST(Encode, LeavesTheWorkingTablesAlone)
{
    ModuleData d = startUp();
    d.tables.table2D(3, 1) = 12.5;
    d.tables.table3D(4, 5) = -3.0;
    const TimingTables before = d.tables;
    UpdateEEPROM(d);
    EXPECT_EQ(d.tables.table2D, before.table2D);
    EXPECT_EQ(d.tables.table3D, before.table3D);
}

// ---------------------------------------------------------------- overflow

struct OverflowCase {
    int address;
    const char *name;
    std::function<void(ModuleParameters &, int)> set;
};

std::vector<OverflowCase> overflowCases()
{
    return {
        {52, "RetardComp", [](ModuleParameters &p, int v) { p.RetardComp = v; }},
        {53, "StartRetard", [](ModuleParameters &p, int v) { p.StartRetard = v; }},
        {76, "GPIO2MinRPM", [](ModuleParameters &p, int v) { p.GPIO2MinRPM = v * 50; }},
        {77, "GPIO2MaxRPM", [](ModuleParameters &p, int v) { p.GPIO2MaxRPM = v * 50; }},
        {97, "IdleStabTrigStartNum", [](ModuleParameters &p, int v) { p.IdleStabTrigStartNum = v; }},
        {98, "MinIdleRPM", [](ModuleParameters &p, int v) { p.MinIdleRPM = v * 50; }},
        {99, "IdleStabAdv", [](ModuleParameters &p, int v) { p.IdleStabAdv = v; }},
    };
}

// Parameters that encode to bytes different from the sentinel below.
ModuleData busyParameters()
{
    ModuleData d = startUp();
    ModuleParameters &p = d.params;
    p.TrigTiming = 25;
    p.CrankPulses = 4;
    p.TimingTable3D = true;
    p.MaxRPMLimit = 7000;
    p.RetardComp = 11;
    p.StartRetard = 12;
    p.HighSpeedDataLog = true;
    p.MAPSensor = 2;
    p.GPIO2Mode = 3;
    p.GPIO2MinRPM = 2000;
    p.GPIO2MaxRPM = 8000;
    p.IdleStabEnable = true;
    p.IdleStabTrigStartNum = 40;
    p.MinIdleRPM = 900;
    p.IdleStabAdv = 33;
    return d;
}

constexpr std::uint8_t Sentinel = 0xEE;

TEST(EncodeOverflow, StopsAtTheBadByteAndKeepsWhatWasWrittenBefore)
{
    for (const OverflowCase &c : overflowCases()) {
        for (int bad : {256, -1}) {
            SCOPED_TRACE(std::string(c.name) + " at byte value " + std::to_string(bad));
            ModuleData reference = busyParameters();
            UpdateEEPROM(reference);

            ModuleData d = busyParameters();
            d.image.EEPROMBuffer.fill(Sentinel);
            c.set(d.params, bad);
            try {
                UpdateEEPROM(d);
                ADD_FAILURE() << "no overflow error";
                continue;
            } catch (const RuntimeError &e) {
                EXPECT_EQ(e.number(), OverflowErrorNumber);
            }
            bool reached = false;
            for (int a : imagemap::encodeOrder()) {
                if (a == c.address)
                    reached = true;
                if (reached) {
                    EXPECT_EQ(d.image.EEPROMBuffer[a], Sentinel) << "byte " << a << " written after the overflow";
                } else {
                    EXPECT_EQ(d.image.EEPROMBuffer[a], reference.image.EEPROMBuffer[a]) << "byte " << a;
                }
            }
            for (int a = 0; a < 280; ++a) {
                if (imagemap::isTable(a) || imagemap::isCarried(a)) {
                    EXPECT_EQ(d.image.EEPROMBuffer[a], Sentinel) << "byte " << a;
                }
            }
        }
    }
}

TEST(EncodeOverflow, HalfStepsBelowZeroAndAboveTheTopRoundBeforeTheCheck)
{
    // -25 RPM is -0.5 steps and rounds to 0; 12775 RPM is 255.5 and rounds to 256.
    EXPECT_EQ(encoded([](ModuleParameters &p) { p.MinIdleRPM = -25; }).image.EEPROMBuffer[98], 0);
    EXPECT_THROW(encoded([](ModuleParameters &p) { p.MinIdleRPM = -26; }), RuntimeError);
    EXPECT_EQ(encoded([](ModuleParameters &p) { p.GPIO2MaxRPM = 12774; }).image.EEPROMBuffer[77], 255);
    EXPECT_THROW(encoded([](ModuleParameters &p) { p.GPIO2MaxRPM = 12775; }), RuntimeError);
}

TEST(EncodeOverflow, ClampedParametersNeverOverflow)
{
    ModuleData d = startUp();
    d.params.TrigTiming = 100000;
    d.params.CrankPulses = -100000;
    d.params.MaxRPMLimit = 2000000000;
    EXPECT_NO_THROW(UpdateEEPROM(d));
    EXPECT_EQ(d.image.EEPROMBuffer[48], 40);
    EXPECT_EQ(d.image.EEPROMBuffer[49], 2);
    EXPECT_EQ(d.image.EEPROMBuffer[51], 109);
    d.params.MaxRPMLimit = -2000000000;
    EXPECT_NO_THROW(UpdateEEPROM(d));
    EXPECT_EQ(d.image.EEPROMBuffer[51], 30);
}

// ---------------------------------------------------------------- layout

TEST(ImageLayout, GivesEveryByteTheRoleOfTheImageMap)
{
    for (int a = 0; a < ModuleImage::Size; ++a) {
        EXPECT_EQ(layout::Table2D.contains(a) || layout::Table3D.contains(a), imagemap::isTable(a)) << a;
        EXPECT_EQ(layout::isParameterAddress(a), imagemap::isParameter(a)) << a;
        EXPECT_EQ(layout::isReservedAddress(a), imagemap::isReserved(a)) << a;
        EXPECT_EQ(layout::Transfer.contains(a), a >= 16) << a;
    }
    // Each named parameter is read from a parameter byte, and every
    // parameter byte is read by some named parameter.
    std::set<int> read;
    for (const ParameterField &f : parameterFields(ModuleParameters{})) {
        EXPECT_TRUE(layout::isParameterAddress(f.address)) << f.name;
        read.insert(f.address);
    }
    EXPECT_EQ(read, std::set<int>(layout::ParameterAddresses.begin(), layout::ParameterAddresses.end()));
}

}  // namespace
