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
    EXPECT_EQ(editWindow(TableKind::Map3D, 15).high, 15);
    EXPECT_EQ(editWindow(TableKind::Curve2D, 0).high, 0);
    EXPECT_EQ(w2d30.limit(7.9), 8);
    EXPECT_EQ(w2d30.limit(30.1), 30);
    EXPECT_EQ(w2d30.limit(12.3), 12.3);
}

TEST(TableRules, OnlyAWholeFiniteDecimalNumberIsTakenAsTyped)
{
    EXPECT_EQ(parseTypedNumber(QStringLiteral("25")), 25.0);
    EXPECT_EQ(parseTypedNumber(QStringLiteral(" 25.5\t")), 25.5);
    EXPECT_EQ(parseTypedNumber(QStringLiteral("+3")), 3.0);
    EXPECT_EQ(parseTypedNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(parseTypedNumber(QStringLiteral("5.")), 5.0);
    EXPECT_EQ(parseTypedNumber(QStringLiteral("-1")), -1.0);
    EXPECT_EQ(parseTypedNumber(QStringLiteral("2.5e1")), 25.0);
    for (const char *bad : {"", " ", "-", "+", ".", "abc", "25a", "a25", "25,5", "nan", "inf", "1e400", "-1e400",
                            "1e", "2 5", "0x10", "--1"})
        EXPECT_FALSE(parseTypedNumber(QString::fromLatin1(bad))) << bad;
    const QString longDigits(300, u'1');
    ASSERT_TRUE(parseTypedNumber(longDigits));  // a number, far outside any window
    EXPECT_FALSE(checkTypedEntry(TableKind::Curve2D, 30, longDigits));
}

TEST(TableRules, TypedEntryMustLieInsideTheWindowOfItsTable)
{
    const auto accepted = [](TableKind k, int trig, const char *text) {
        return checkTypedEntry(k, trig, QString::fromLatin1(text)).has_value();
    };
    EXPECT_TRUE(accepted(TableKind::Curve2D, 30, "8"));
    EXPECT_FALSE(accepted(TableKind::Curve2D, 30, "7.99"));
    EXPECT_TRUE(accepted(TableKind::Curve2D, 30, "30"));
    EXPECT_FALSE(accepted(TableKind::Curve2D, 30, "30.01"));
    EXPECT_FALSE(accepted(TableKind::Curve2D, 30, "-1"));
    EXPECT_TRUE(accepted(TableKind::Curve2D, 15, "0"));
    EXPECT_FALSE(accepted(TableKind::Curve2D, 15, "-0.1"));
    EXPECT_TRUE(accepted(TableKind::Curve2D, 22, "0"));
    EXPECT_FALSE(accepted(TableKind::Curve2D, 23, "0"));
    EXPECT_TRUE(accepted(TableKind::Map3D, 15, "-7"));
    EXPECT_FALSE(accepted(TableKind::Map3D, 15, "-7.1"));
    EXPECT_FALSE(accepted(TableKind::Map3D, 40, "17.9"));
    EXPECT_TRUE(accepted(TableKind::Map3D, 40, "18"));
    EXPECT_EQ(checkTypedEntry(TableKind::Curve2D, 30, QStringLiteral("25")), 25.0);
}

TEST(TableRules, RefusalMessagesNameTheWindow)
{
    EXPECT_EQ(entryRefusalText(TableKind::Curve2D, 30),
              QStringLiteral("Timing must be numeric value greater than zero and within 22 degrees of trigger timing."));
    EXPECT_EQ(entryRefusalText(TableKind::Map3D, 30), QStringLiteral("Timing must be numeric value between 8 and 30 degrees."));
    EXPECT_EQ(entryRefusalText(TableKind::Map3D, 15), QStringLiteral("Timing must be numeric value between -7 and 15 degrees."));
    EXPECT_EQ(entryRefusalTitle(), QStringLiteral("Timing Edit"));
    EXPECT_EQ(formatValue(25), QStringLiteral("25.0"));
    EXPECT_EQ(formatValue(24.9897), QStringLiteral("25.0"));
}

TEST(TableRules, ValuesAreShownAsTheModuleWillStoreThem)
{
    // 25 below a trigger timing of 30 is stored as 57 steps: 24.9897.
    EXPECT_NEAR(storedValue(TableKind::Curve2D, 30, 25.0), 24.9897, 1e-9);
    EXPECT_EQ(displayText(TableKind::Curve2D, 30, 25.0), QStringLiteral("25.0"));
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
    EXPECT_NEAR(dragValue2D(30.0, 100, 98, 40), 30.2, 1e-9);
    // Down is lower; a value off the grid lands on it.
    EXPECT_NEAR(dragValue2D(24.9897, 50, 60, 30), 24.0, 1e-9);
    EXPECT_EQ(dragValue2D(20.0, 100, 400, 30), 8.0);
    EXPECT_EQ(dragValue2D(10.0, 100, 400, 15), 0.0);
    EXPECT_EQ(dragValue2D(10.0, 100, -400, 15), 15.0);
}

}  // namespace
