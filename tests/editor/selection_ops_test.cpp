// Copy, paste, Modify, interpolate, smooth and keyboard steps over a block.
#include "editor/selection_ops.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tunara::editor;

namespace {

const AdvanceWindow Wide{-1000, 1000};

void expectValues(const ValueBlock &actual, const ValueBlock &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-9) << "value " << i;
}

}  // namespace

TEST(SelectionClip, CopiesTheGridTextWithTabsAndCarriageReturns)
{
    EXPECT_EQ(clipText({20, 27.75, -7.6, 0}, 2, 2), QStringLiteral("20.0\t27.8\r-7.6\t0.0"));
    // What the program copies comes back in the same shape.
    const ClipCells back = parseClipText(clipText({1, 2, 3, 4, 5, 6}, 2, 3), 8, 21);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[1], (QStringList{"4.0", "5.0", "6.0"}));
}

TEST(SelectionClip, SplitsTextOfAnyShape)
{
    const QString huge(200000, u'7');
    QString manyRows;
    for (int i = 0; i < 10000; ++i)
        manyRows += QStringLiteral("%1\t1\r\n").arg(i);
    struct Case {
        const char *name;
        QString text;
        int rows;
        int columns;
        QString lastCell;  // last cell of the last kept row
    } cases[] = {
        {"empty", "", 0, 0, ""},
        {"one cell", "12.5", 1, 1, "12.5"},
        {"spreadsheet CR LF with final break", "1\t2\r\n3\t4\r\n", 2, 2, "4"},
        {"mixed breaks", "1\r\n2\n3\r4", 4, 1, "4"},
        {"only tabs", "\t\t\t", 1, 4, ""},
        {"binary bytes", QString::fromLatin1("\x01\x02\x7f\t\xff", 5), 1, 2, QString::fromLatin1("\xff")},
        {"one huge line", huge, 1, 1, huge},
        {"10,000 rows", manyRows, 8, 2, "1"},
        {"too wide", QString("1\t").repeated(100), 1, 21, "1"},
    };
    for (const Case &c : cases) {
        const ClipCells cells = parseClipText(c.text, 8, 21);
        EXPECT_EQ(int(cells.rows.size()), c.rows) << c.name;
        EXPECT_EQ(cells.columns(), c.columns) << c.name;
        if (!cells.rows.empty()) {
            EXPECT_EQ(cells.rows.back().back(), c.lastCell) << c.name;
        }
    }
}

TEST(SelectionPaste, TargetBlockHasTheCopiedSizeCutAtTheEdge)
{
    const ClipCells threeCells = parseClipText("1\t2\t3", 8, 21);
    // Three 2D cells copied, one cell clicked: the block grows to three.
    EXPECT_EQ(pasteTarget(CellRect::single(0, 4), 0, 2, threeCells, 1, 21), (CellRect{0, 4, 1, 3}));
    // Clicked in column 20 (model column 19): cut at column 21.
    EXPECT_EQ(pasteTarget(CellRect::single(0, 19), 0, 2, threeCells, 1, 21), (CellRect{0, 19, 1, 2}));
    // Nothing copied here: a spreadsheet block lands whole from the clicked cell,
    const ClipCells sheet = parseClipText("1\t2\r\n3\t4\r\n", 8, 21);
    EXPECT_EQ(pasteTarget(CellRect::single(2, 3), 0, 0, sheet, 8, 21), (CellRect{2, 3, 2, 2}));
    // and a selected block keeps its own size.
    EXPECT_EQ(pasteTarget(CellRect{0, 0, 3, 3}, 0, 0, sheet, 8, 21), (CellRect{0, 0, 3, 3}));
}

TEST(SelectionPaste, PastesNumbersKeepsOtherCellsAndLimitsToTheWindow)
{
    const AdvanceWindow window{8, 30};
    const ValueBlock current{10, 11, 12, 13, 14, 15};
    const BlockResult r = pasteCells(current, 2, 3, parseClipText("20\t1e400\t35\r\n-0\t25 deg", 8, 21), window);
    // 35 and -0 are outside 8 .. 30; a cell that is not wholly a number
    // ("1e400", "25 deg") and the cell beyond the text keep their values.
    expectValues(r.values, {20, 11, 30, 8, 14, 15});
    EXPECT_EQ(r.limited, 2);
    // The 2D floor at 0 and a 3D window below zero.
    EXPECT_EQ(pasteCells({5}, 1, 1, parseClipText("-3", 1, 1), {0, 15}).values[0], 0);
    EXPECT_EQ(pasteCells({5}, 1, 1, parseClipText("-3", 1, 1), {-7, 15}).values[0], -3);
}

TEST(SelectionModify, ReadsTheReplyIntoOneOfFourCases)
{
    struct Case {
        QString reply;
        bool hasExpression;
        ModifyKind kind;
        double number;
    } cases[] = {
        {"30", true, ModifyKind::Set, 30},
        {"-5", true, ModifyKind::Add, -5},
        {"+10", true, ModifyKind::Add, 10},
        {"80%", true, ModifyKind::Multiply, 80},
        {"-7.5%", true, ModifyKind::ChangeByPercent, -7.5},
        {"5-", true, ModifyKind::Add, 5},
        {"%15", true, ModifyKind::Multiply, 15},
        {"  25  ", true, ModifyKind::Set, 25},
        {"   ", false, ModifyKind::Set, 0},
        {"%", false, ModifyKind::Set, 0},
        {"+", false, ModifyKind::Set, 0},
        {"--5", false, ModifyKind::Set, 0},
        {"1e400%", false, ModifyKind::Set, 0},
        {"abc", false, ModifyKind::Set, 0},
        {QString(400, u'9'), false, ModifyKind::Set, 0},  // does not fit a double
    };
    for (const Case &c : cases) {
        const std::optional<ModifyExpression> e = parseModifyReply(c.reply);
        ASSERT_EQ(e.has_value(), c.hasExpression) << c.reply.left(20).toStdString();
        if (!e)
            continue;
        EXPECT_EQ(e->kind, c.kind) << c.reply.left(20).toStdString();
        EXPECT_EQ(e->number, c.number) << c.reply.left(20).toStdString();
    }
}

TEST(SelectionModify, WorkedExamplesCeilingsAndWindow)
{
    const auto modify = [](const QString &reply, double ceiling, const AdvanceWindow &window) {
        return modifyBlock({20, 30}, *parseModifyReply(reply), ceiling, window);
    };
    // The worked 2D example on 20.0 and 30.0, before any trigger window.
    expectValues(modify("+10", 40, Wide).values, {30, 40});
    expectValues(modify("-7.5%", 40, Wide).values, {18.5, 27.75});
    expectValues(modify("80%", 40, Wide).values, {16, 24});
    const BlockResult fifty = modify("50", 40, Wide);
    expectValues(fifty.values, {40, 40});
    EXPECT_EQ(fifty.limited, 2);
    // +15% on 40: 46 is 45 on the 3D map, 40 on the 2D curve.
    EXPECT_EQ(modifyBlock({40}, *parseModifyReply("+15%"), modifyCeiling(TableKind::Map3D), Wide).values[0], 45);
    EXPECT_EQ(modifyBlock({40}, *parseModifyReply("+15%"), modifyCeiling(TableKind::Curve2D), Wide).values[0], 40);
    // Never below 0, then the trigger window 8 .. 30 (one count per value).
    const BlockResult low = modify("-25", 40, {8, 30});
    expectValues(low.values, {8, 8});
    EXPECT_EQ(low.limited, 2);
    // A 300-character reply: a huge number never reaches the table.
    const BlockResult huge = modify(QString("1") + QString(298, u'0') + "%", 40, {8, 30});
    expectValues(huge.values, {30, 30});
    expectValues(modify("-" + QString(299, u'9'), 40, {8, 30}).values, {8, 8});
}

TEST(SelectionModify, Prompt)
{
    const QStringList lines = modifyPrompt().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Enter a new value. See examples below or Help for details."));
    EXPECT_EQ(lines[4], QStringLiteral("   Enter 80% to multiply each cell in selection by 80%"));
    EXPECT_EQ(lines[6], QStringLiteral("   Enter +15% to increase each cell in selection by 15%"));
}

TEST(SelectionShape, InterpolatesLinesAndBlocksFromTheirEnds)
{
    // One row: a line from 10 to 20 over five cells.
    expectValues(interpolateBlock({10, 99, 0, 5, 20}, 1, 5, Wide).values, {10, 12.5, 15, 17.5, 20});
    // One column of a 3D block.
    expectValues(interpolateBlock({30, 0, 20}, 3, 1, Wide).values, {30, 25, 20});
    // 3 x 3 bilinear from the corners 10, 20 (top) and 30, 40 (bottom).
    expectValues(interpolateBlock({10, 0, 20, 0, 0, 0, 30, 0, 40}, 3, 3, Wide).values,
                 {10, 15, 20, 20, 25, 30, 30, 35, 40});
    // Corners outside the window are limited, and counted.
    const BlockResult limited = interpolateBlock({-10, 0, 40}, 1, 3, {8, 30});
    expectValues(limited.values, {8, 15, 30});
    EXPECT_EQ(limited.limited, 2);
    // A single cell stays.
    expectValues(interpolateBlock({12}, 1, 1, Wide).values, {12});
}

TEST(SelectionShape, SmoothsWithOneTwoOneWeightsKeepingTheEnds)
{
    // Row: (10 + 2*20 + 10) / 4 = 15 and (20 + 2*10 + 20) / 4 = 15.
    expectValues(smoothBlock({10, 20, 10, 20}, 1, 4, Wide).values, {10, 15, 15, 20});
    // Two cells: nothing between the ends.
    expectValues(smoothBlock({10, 20}, 1, 2, Wide).values, {10, 20});
    // 3 x 3 with a peak of 16 in the middle of zeros: edges keep their
    // zeros along the edge, the centre is 16 * 4 / 16 = 4.
    expectValues(smoothBlock({0, 0, 0, 0, 16, 0, 0, 0, 0}, 3, 3, Wide).values, {0, 0, 0, 0, 4, 0, 0, 0, 0});
    // 3 x 3 edge midpoints smooth along their edge only.
    expectValues(smoothBlock({0, 8, 0, 8, 0, 8, 0, 8, 0}, 3, 3, Wide).values, {0, 4, 0, 4, 4, 4, 0, 4, 0});
}

TEST(SelectionShape, KeyboardStepsStopAtTheWindowEdges)
{
    const AdvanceWindow window{8, 30};
    const BlockResult up = stepBlock({29.9, 20, 30}, FineStep, window);
    expectValues(up.values, {30, 20.2, 30});
    EXPECT_EQ(up.limited, 2);
    const BlockResult down = stepBlock({8.5, 20}, -CoarseStep, window);
    expectValues(down.values, {8, 19});
    EXPECT_EQ(down.limited, 1);
    EXPECT_EQ(stepBlock({0.1}, -FineStep, {0, 15}).values[0], 0);
    EXPECT_EQ(limitedNote(0, window), QString());
    EXPECT_EQ(limitedNote(3, window), QStringLiteral("3 values limited to the advance window 8.0 .. 30.0 degrees"));
}
