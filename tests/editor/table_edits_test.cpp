// The one-call edits: each lands as one undo step and says what it changed,
// what it limited and what to tell the user.
#include "editor/table_edits.h"
#include "editor/table_edit_model.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace tunara;
using namespace tunara::editor;

namespace {

// A 3D map at 20 under the trigger timing 30: the window is 8 .. 30.
struct Map : TableEditModel {
    Map()
    {
        Table3D map;
        for (int i = 0; i < SpeedPoints * PressureRows; ++i)
            map(i % SpeedPoints + 1, i / SpeedPoints + 1) = 20;
        open3D(map, 30);
    }
};
double stored(double v) { return storedValue(TableKind::Map3D, 30, v); }
const QString OneLimited = QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees");

}  // namespace

TEST(TableEdits, PasteIsOneStepThatSaysWhatItLimitedAndSkippedOrIsRefusedWhole)
{
    Map model;
    const CellRect at = CellRect::single(2, 4);
    TableEdit edit = edits::paste(model, {QStringLiteral("25\t26,5\r\n40\tabc"), {}, at, {}});
    EXPECT_EQ(edit.cells, (CellRect{2, 4, 2, 2}));
    EXPECT_EQ(model.block(edit.cells), (ValueBlock{stored(25), stored(26.5), 30, stored(20)}));
    EXPECT_EQ(edit.changed, 3);
    EXPECT_EQ(edit.note, OneLimited);
    EXPECT_EQ(edit.message, OneLimited + QStringLiteral(". 1 pasted cell holds no number: its cell keeps its value."));
    model.undo();
    edit = edits::paste(model, {QStringLiteral("MAP/RPM\t777\r\n16\t1"), {}, at, {}});
    EXPECT_FALSE(edit.applied);
    EXPECT_EQ(edit.refusal, QStringLiteral("Nothing was pasted: \"777\" names no RPM column of this table."));
    EXPECT_FALSE(model.canUndo());
    // A copied 3D column over five cells of the one-row curve fills the selection.
    TableEditModel curve;
    curve.open2D(Table2D{}, 30);
    const QString column = QStringLiteral("11.0\r12.0");
    EXPECT_EQ(edits::paste(curve, {column, {column, 1, 0}, {0, 0, 1, 5}, {}}).cells, (CellRect{0, 0, 1, 5}));
}

TEST(TableEdits, ModifyKeepsToTheWindowAndABlankReplyOrCellsBeyondTheEdgeDoNothing)
{
    Map model;
    model.setValue(0, 2, 29, QStringLiteral("Typing"));
    const TableEdit edit = edits::modify(model, {0, 0, 1, 3}, QStringLiteral(" +2 "));
    EXPECT_EQ(model.block({0, 0, 1, 3}), (ValueBlock{stored(22), stored(22), 30}));
    EXPECT_EQ(edit.limited, 1);
    EXPECT_EQ(edit.message, OneLimited + u'.');
    EXPECT_FALSE(edits::modify(model, {0, 0, 1, 3}, QStringLiteral("   ")).applied);
    EXPECT_FALSE(edits::modify(model, {7, 20, 1, 2}, QStringLiteral("5")).applied);
    model.undo();
    EXPECT_EQ(model.value(0, 0), stored(20));
}

TEST(TableEdits, ModifyReadsADecimalCommaInAnyLocaleAndRefusesTextItCannotReadWhole)
{
    const QLocale before;
    for (const QLocale &locale : {QLocale(QLocale::German, QLocale::Germany), QLocale::c()}) {
        QLocale::setDefault(locale);
        Map model;
        const double held = stored(20);
        edits::modify(model, CellRect::single(0, 0), QStringLiteral("-2,5"));
        edits::modify(model, CellRect::single(0, 1), QStringLiteral("+2,5"));
        edits::modify(model, CellRect::single(0, 2), QStringLiteral("-7,5%"));
        EXPECT_EQ(model.block({0, 0, 1, 3}), (ValueBlock{stored(20 - 2.5), stored(20 + 2.5), stored(20 * 0.925)}));
        // Never read up to the comma: refused, nothing changes.
        EXPECT_FALSE(edits::modify(model, CellRect::single(1, 0), QStringLiteral("1,2,5")).applied);
        EXPECT_EQ(edits::modify(model, CellRect::single(1, 0), QStringLiteral("12,5abc")).refusal,
                  QStringLiteral("\"12,5abc\" is not a value Modify can read: nothing was changed. "
                                 "Enter a number such as 30, -5, +10 or 80%."));
        EXPECT_EQ(model.value(1, 0), held);
    }
    QLocale::setDefault(before);
}

TEST(TableEdits, StepAtTheWindowEdgeIsToldButAddsNoEmptyStep)
{
    Map model;
    model.setValue(0, 0, 30, QStringLiteral("Typing"));
    EXPECT_EQ(edits::step(model, {0, 0, 1, 2}, FineStep).changed, 1);
    const TableEdit stuck = edits::step(model, CellRect::single(0, 0), CoarseStep);
    EXPECT_EQ(stuck.changed, 0);
    EXPECT_EQ(stuck.note, OneLimited);
    EXPECT_EQ(model.undoText(), QStringLiteral("Raise"));
    model.undo();
    EXPECT_EQ(model.undoText(), QStringLiteral("Typing"));
    EXPECT_EQ(edits::step(model, CellRect::single(0, 1), -CoarseStep).stepText, QStringLiteral("Lower"));
}

TEST(TableEdits, InterpolateAndSmoothAreOneStepEachAndNeedAnOpenTable)
{
    TableEditModel closed;
    EXPECT_FALSE(edits::smooth(closed, {0, 0, 1, 3}).applied);
    Map model;
    model.setBlock({0, 0, 1, 3}, {10, 30, 19.8}, QStringLiteral("Typing"));
    EXPECT_EQ(edits::smooth(model, {0, 0, 1, 3}).changed, 1);
    EXPECT_EQ(edits::interpolate(model, {0, 0, 1, 3}).changed, 1);
    EXPECT_EQ(model.value(0, 1), stored((10 + 19.8) / 2));  // from the ends as typed
    model.undo();
    EXPECT_EQ(model.undoText(), QStringLiteral("Smooth"));
    model.undo();
    EXPECT_EQ(model.value(0, 1), 30);
}

// Each operation works from the value the cell was given, not from the
// stored step it rounds to, so steps add up; what is shown is still the
// stored step's value, and undo and redo bring both back.
TEST(TableEdits, StepsAddUpFromTheValueBeforeRounding)
{
    constexpr double HalfStep = 0.0879 / 2;
    Map model;  // every cell opened at 20
    const CellRect cell = CellRect::single(3, 5);
    for (int i = 0; i < 10; ++i)
        edits::step(model, cell, FineStep);
    EXPECT_NEAR(model.value(3, 5), 22.0, HalfStep);  // not 20 + 10 x 0.1758
    EXPECT_EQ(model.value(3, 5), stored(model.exactValue(3, 5)));
    EXPECT_EQ(model.displayText(3, 5), QStringLiteral("22.0"));
    for (int i = 0; i < 3; ++i)
        edits::step(model, cell, -CoarseStep);
    EXPECT_NEAR(model.exactValue(3, 5), 19.0, 1e-9);
    // Undo takes back both values of a step; redo brings them again.
    model.undo();
    EXPECT_NEAR(model.exactValue(3, 5), 20.0, 1e-9);
    EXPECT_EQ(model.value(3, 5), stored(20.0));
    model.redo();
    EXPECT_NEAR(model.exactValue(3, 5), 19.0, 1e-9);

    // Modify "+5" then "-2,5" ends where "+2,5" does; percentages too.
    const CellRect twoSteps = CellRect::single(0, 0), oneStep = CellRect::single(0, 1);
    edits::modify(model, twoSteps, QStringLiteral("+5"));
    edits::modify(model, twoSteps, QStringLiteral("-2,5"));
    edits::modify(model, oneStep, QStringLiteral("+2,5"));
    EXPECT_EQ(model.value(0, 0), model.value(0, 1));
    EXPECT_EQ(model.value(0, 0), stored(22.5));
    edits::modify(model, twoSteps, QStringLiteral("110%"));
    EXPECT_EQ(model.value(0, 0), stored(24.75));

    // A typed entry, a paste and an interpolation start from what was given.
    model.enterText(1, 0, QStringLiteral("21.3"));
    edits::paste(model, {QStringLiteral("25.3"), {}, CellRect::single(1, 2), {}});
    edits::interpolate(model, {1, 0, 1, 3});
    EXPECT_EQ(model.value(1, 1), stored(23.3));
    EXPECT_NEAR(model.exactValue(1, 1), 23.3, 1e-9);
    // A new trigger timing moves both, and each still rounds to the other.
    model.rebase(25);
    EXPECT_NEAR(model.exactValue(3, 5), 19.0, 1e-9);
    for (int r = 0; r < PressureRows; ++r)
        for (int c = 0; c < SpeedPoints; ++c)
            ASSERT_EQ(model.value(r, c), storedValue(TableKind::Map3D, 25, model.exactValue(r, c))) << r << " " << c;

    // A value the stored step cannot hold is kept as stored: raising from
    // the window's top edge is limited at once, lowering moves it.
    TableEditModel curve;
    Table2D table;
    for (int p = 1; p <= SpeedPoints; ++p)
        table(p, 1) = -5;  // below the curve's floor at 0
    curve.open2D(table, 10);
    EXPECT_EQ(curve.exactValue(0, 0), 0);
    edits::step(curve, CellRect::single(0, 0), FineStep);
    EXPECT_NEAR(curve.exactValue(0, 0), 0.2, 1e-9);
}

TEST(TableEdits, TakeComparedSetsTheSelectionToTheOtherTableAsOneUndoableStep)
{
    Map model;
    Table3D theirs;
    for (int p = 1; p <= PressureRows; ++p)
        for (int s = 1; s <= SpeedPoints; ++s)
            theirs(s, p) = 21 + (s + p) % 5 * 0.5;  // 21 .. 23: none at 20, all inside 8 .. 30
    theirs(3, TableEditModel::pressureIndexOfRow(0)) = 35;  // above the window
    theirs(4, TableEditModel::pressureIndexOfRow(0)) = 2;   // below it
    const ValueBlock compared = edits::comparedLayout(model, Table2D{}, theirs);
    const ValueBlock before = model.values();

    // One cell: the other table's value at the same row and speed point.
    TableEdit edit = edits::takeCompared(model, CellRect::single(5, 6), compared);
    EXPECT_EQ(model.value(5, 6), stored(theirs(7, TableEditModel::pressureIndexOfRow(5))));
    EXPECT_EQ(edit.changed, 1);
    EXPECT_EQ(edit.note, QStringLiteral("Took compared values: 1 cell changed"));
    EXPECT_TRUE(edit.message.isEmpty());
    model.undo();
    EXPECT_EQ(model.values(), before);

    // The whole grid, two values limited, one undo step.
    edit = edits::takeCompared(model, model.allCells(), compared);
    EXPECT_EQ(model.value(0, 2), stored(30));
    EXPECT_EQ(model.value(0, 3), stored(8));
    EXPECT_EQ(model.value(7, 20), stored(theirs(21, TableEditModel::pressureIndexOfRow(7))));
    EXPECT_EQ(edit.limited, 2);
    EXPECT_EQ(edit.changed, SpeedPoints * PressureRows);
    EXPECT_EQ(edit.note, QStringLiteral("Took compared values: 168 cells changed; 2 values limited to the advance "
                                        "window 8.0 .. 30.0 degrees"));
    EXPECT_EQ(model.undoText(), QStringLiteral("Take Compared Values"));
    model.undo();
    EXPECT_EQ(model.values(), before);
    EXPECT_FALSE(model.canUndo());

    // Taking what the cells already hold records nothing.
    EXPECT_EQ(edits::takeCompared(model, model.allCells(), before).changed, 0);
    EXPECT_FALSE(model.canUndo());
    // The 2D curve: its one row from the other curve's column 1.
    Table2D mine;
    for (int s = 1; s <= SpeedPoints; ++s)
        mine(s, 1) = 20;
    TableEditModel curve;
    curve.open2D(mine, 30);
    Table2D other = mine;
    other(4, 1) = 12;
    EXPECT_EQ(edits::takeCompared(curve, {0, 0, 1, 5}, edits::comparedLayout(curve, other, Table3D{})).changed, 1);
    EXPECT_EQ(curve.value(0, 3), storedValue(TableKind::Curve2D, 30, 12));
}
