// The window, entry and drag rules every table editing operation shares.
#include "editor/table_rules.h"

#include <gtest/gtest.h>

using namespace tunara::editor;

namespace {

TEST(TableRules, WindowKeepsTheCurveAtOrAboveZeroButLetsTheMapGoNegative)
{
    const AdvanceWindow w2d30 = editWindow(TableKind::Curve2D, 30);
    EXPECT_EQ(w2d30.low, 8);
    EXPECT_EQ(w2d30.high, 30);
    EXPECT_EQ(editWindow(TableKind::Curve2D, 15).low, 0);
    EXPECT_EQ(editWindow(TableKind::Map3D, 15).low, -7);
    EXPECT_EQ(editWindow(TableKind::Curve2D, 0).high, 0);
    EXPECT_EQ(w2d30.limit(7.9), 8);
    EXPECT_EQ(w2d30.limit(30.1), 30);
    EXPECT_EQ(w2d30.limit(12.3), 12.3);
}

TEST(TableRules, OnlyAWholeFiniteDecimalNumberIsTakenAsTyped)
{
    const std::pair<const char *, double> good[] = {{" 12.5\t", 12.5}, {"+3", 3}, {"10.", 10},
                                                    {" 12,5", 12.5}, {"-,5", -0.5}};
    for (const auto &[text, number] : good)
        EXPECT_EQ(checkTypedEntry(TableKind::Map3D, 15, QString::fromLatin1(text)), number) << text;
    for (const char *bad : {"", " ", "-", "+", ".", "abc", "25a", "a25", "2,5,5", "2.5,5", ",", "nan", "inf", "1e1", "2.5e1",
                            "1e", "2 5", "0x10", "--1"})
        EXPECT_FALSE(checkTypedEntry(TableKind::Map3D, 15, QString::fromLatin1(bad))) << bad;
    const QString longDigits(300, u'1');
    EXPECT_FALSE(checkTypedEntry(TableKind::Curve2D, 30, longDigits));
}

TEST(TableRules, TypedEntryMustLieInsideTheWindowOfItsTable)
{
    struct Case {
        TableKind kind;
        int trig;
        const char *text;
        bool accepted;
    } cases[] = {
        {TableKind::Curve2D, 30, "8", true},     {TableKind::Curve2D, 30, "7.99", false},
        {TableKind::Curve2D, 30, "30", true},    {TableKind::Curve2D, 30, "30.01", false},
        {TableKind::Curve2D, 15, "0", true},     {TableKind::Curve2D, 15, "-0.1", false},
        {TableKind::Curve2D, 22, "0", true},     {TableKind::Curve2D, 23, "0", false},
        {TableKind::Map3D, 15, "-7", true},      {TableKind::Map3D, 15, "-7.1", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(checkTypedEntry(c.kind, c.trig, QString::fromLatin1(c.text)).has_value(), c.accepted)
            << c.trig << " " << c.text;
    EXPECT_EQ(checkTypedEntry(TableKind::Curve2D, 30, QStringLiteral("25")), 25.0);
    EXPECT_EQ(checkTypedEntry(TableKind::Map3D, 30, QStringLiteral("12,5")), 12.5);
}

TEST(TableRules, RefusalMessagesNameTheWindowAndValuesAreShownAsTheModuleWillStoreThem)
{
    // The window's own texts are checked where the grids show them; a window below zero here.
    EXPECT_EQ(entryRefusalText(TableKind::Map3D, 15), QStringLiteral("Timing must be numeric value between -7 and 15 degrees."));
    EXPECT_EQ(formatValue(24.9897), QStringLiteral("25.0"));
    // 25 below a trigger timing of 30 is stored as 57 steps: 24.9897.
    EXPECT_NEAR(storedValue(TableKind::Curve2D, 30, 25.0), 24.9897, 1e-9);
    // 228 x 0.0879 = 20.0412 is stored as 113 steps below 30: 20.0673.
    EXPECT_EQ(displayText(TableKind::Curve2D, 30, 228 * 0.0879), QStringLiteral("20.1"));
    // Beyond the last byte the stored value stops at 255 steps.
    EXPECT_NEAR(storedValue(TableKind::Map3D, 30, 0.0), 30 - 255 * 0.0879, 1e-9);
    // Just below zero: the curve keeps 0, the map shows no minus sign.
    EXPECT_EQ(storedValue(TableKind::Curve2D, 10, 0.0), 0.0);
    EXPECT_LT(storedValue(TableKind::Map3D, 10, 0.0), 0.0);
    EXPECT_EQ(displayText(TableKind::Map3D, 10, 0.0), QStringLiteral("0.0"));
    EXPECT_EQ(displayText(TableKind::Map3D, 10, -7.6), QStringLiteral("-7.6"));
    // Drags land on 0.2 steps, which the stored value never moves out of
    // their display.
    for (int tenths = 80; tenths <= 300; tenths += 2)
        EXPECT_EQ(displayText(TableKind::Curve2D, 30, tenths / 10.0), formatValue(tenths / 10.0)) << tenths;
}

TEST(TableRules, DragMovesATenthPerPixelOnTheFifthDegreeGridWithinTheWindow)
{
    // 3 pixels up from 30.0: Round(151.5) = 152 steps of 0.2.
    EXPECT_NEAR(dragValue2D(30.0, 100, 97, 40), 30.4, 1e-9);
    EXPECT_EQ(dragValue2D(30.0, 100, 97, 30), 30.0);
    // One pixel up: Round(150.5) = 150, the even neighbour.
    EXPECT_NEAR(dragValue2D(30.0, 100, 99, 40), 30.0, 1e-9);
    // Down is lower; a value off the grid lands on it.
    EXPECT_NEAR(dragValue2D(24.9897, 50, 60, 30), 24.0, 1e-9);
    EXPECT_EQ(dragValue2D(10.0, 100, 400, 15), 0.0);
    EXPECT_EQ(dragValue2D(10.0, 100, -400, 15), 15.0);
}

}  // namespace
