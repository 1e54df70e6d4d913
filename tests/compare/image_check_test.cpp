// The normalisation check: silent on what the program writes, one item for
// each thing a resave or the table editor would change, and its verdict on
// the file always agreeing with the bytes a resave writes.
#include "compare/image_check.h"

#include "compare_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tunara;
using namespace tunara::compare;

namespace {

std::vector<CheckKind> kinds(const CheckReport &r)
{
    std::vector<CheckKind> out;
    for (const CheckItem &i : r.items)
        out.push_back(i.kind);
    return out;
}

TEST(ImageCheck, EachTrippedRuleGivesItsItem)
{
    std::mt19937 rng(22);
    const ModuleImage base = comparetest::programImage(rng, true);
    using K = CheckKind;
    struct Case {
        const char *name;
        std::function<void(std::array<std::uint8_t, 280> &)> trip;
        std::vector<CheckKind> expected;
        bool changesFile;
        const char *firstText = nullptr;
    } cases[] = {
        {"trigger timing above 40", [](auto &b) { b[48] = 41; }, {K::LimitedParameter}, true},
        {"crank pulses below 2", [](auto &b) { b[49] = 1; }, {K::LimitedParameter}, true},
        {"RPM limit above 10900", [](auto &b) { b[51] = 110; }, {K::LimitedParameter}, true},
        {"option bits 0x01", [](auto &b) { b[50] |= 0x01; }, {K::DroppedFlagBits}, true},
        {"data log bits", [](auto &b) { b[54] = 0x81; }, {K::DroppedFlagBits}, true},
        {"idle flag bits", [](auto &b) { b[96] = 0x02; }, {K::DroppedFlagBits}, true},
        {"both table flags", [](auto &b) { b[50] |= 0x40; }, {K::BothTableFlags}, true},
        {"reserved bytes", [](auto &b) { b[64] = 1; b[90] = 2; }, {K::ReservedNotZero, K::ReservedNotZero}, true},
        {"3D cell below the window", [](auto &b) { b[150] = 251; }, {K::CellOutsideWindow}, false},
        {"3D region all zeros", [](auto &b) { std::fill(b.begin() + 112, b.end(), 0); }, {K::ZeroTableRegion}, false},
        {"inactive 2D table is not checked", [](auto &b) { b[16] = 255; }, {}, false},
        {"2D cell read as 0", [](auto &b) { b[48] = 10; b[50] = 0x5C; std::fill(b.begin() + 16, b.begin() + 37, 1); b[35] = 200; },
         {K::CellOutsideWindow}, false, "2D table, 9500 RPM: stored advance -7.58 deg is read as 0 deg"},
    };
    for (const Case &c : cases) {
        ModuleImage image = base;
        c.trip(image.EEPROMBuffer);
        const CheckReport r = checkImage(image);
        EXPECT_EQ(kinds(r), c.expected) << c.name << ": " << itemListText(r.items).toStdString();
        EXPECT_EQ(r.resaveChangesFile, c.changesFile) << c.name;
        if (c.firstText && !r.items.empty()) {
            EXPECT_EQ(r.items[0].text.toStdString(), c.firstText);
        }
    }
}

TEST(ImageCheck, FilesTheProgramWroteHaveNothingToReportAndTheVerdictAgreesWithTheItems)
{
    std::mt19937 rng(21);
    for (int round = 0; round < 40; ++round) {
        const CheckReport r = checkImage(comparetest::programImage(rng, round % 2 == 0));
        EXPECT_TRUE(r.items.empty()) << itemListText(r.items).toStdString();
        EXPECT_FALSE(r.resaveChangesFile);
    }
    for (int round = 0; round < 200; ++round) {
        const CheckReport r = checkImage(comparetest::randomImage(rng));
        const bool anyChange = std::any_of(r.items.begin(), r.items.end(), [](const CheckItem &i) { return i.changesFile; });
        EXPECT_EQ(anyChange, r.resaveChangesFile) << itemListText(r.items, 100).toStdString();
    }
    // The message list: twenty items, then the count of the rest.
    std::vector<CheckItem> items(21, CheckItem{CheckKind::ReservedNotZero, true, "x", 64, 1, 0});
    EXPECT_EQ(itemListText(items).section('\n', 20), "... and 1 more");
    items.pop_back();
    EXPECT_EQ(itemListText(items).count('\n'), 19);
}

}  // namespace
