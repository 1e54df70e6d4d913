// The open table's live values and their history of steps.
#include "editor/table_edit_model.h"

#include "editor/selection_ops.h"
#include "tables/table_codec.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tunara;
using namespace tunara::editor;

namespace {

Table2D ramp2D()
{
    Table2D t;
    for (int p = 1; p <= SpeedPoints; ++p) {
        t(p, 1) = 10 + p;
        t(p, 2) = 30;
    }
    return t;
}

Table3D numbered3D()
{
    Table3D t;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            t(p, m) = p + m / 10.0;
    return t;
}

// What the model holds for values that went in under a trigger timing.
Table2D asStored(Table2D t, int trig)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        t(p, 1) = storedValue(TableKind::Curve2D, trig, t(p, 1));
    return t;
}

Table3D asStored(Table3D t, int trig)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            t(p, m) = storedValue(TableKind::Map3D, trig, t(p, m));
    return t;
}

ValueBlock asStored(ValueBlock values, TableKind kind, int trig)
{
    for (double &v : values)
        v = storedValue(kind, trig, v);
    return values;
}

TEST(TableEditModel, OpensBothKindsInGridOrderAndHandsThemBack)
{
    TableEditModel model;
    EXPECT_FALSE(model.isOpen());
    model.open2D(ramp2D(), 30);
    EXPECT_EQ(model.columns(), 21);
    EXPECT_EQ(model.editWindow().low, 8);
    Table2D back;
    ASSERT_TRUE(model.copyTo(back));
    EXPECT_EQ(back, asStored(ramp2D(), 30));
    Table3D wrongKind;
    EXPECT_FALSE(model.copyTo(wrongKind));

    model.open3D(numbered3D(), 15);
    EXPECT_EQ(model.rows(), 8);
    // Trigger timing 15 stores every advance above 15 as 15, so the bottom
    // row is read below that.
    EXPECT_EQ(model.value(0, 0), storedValue(TableKind::Map3D, 15, 1.8));    // top row: lowest pressure, index 8
    EXPECT_EQ(model.value(7, 13), storedValue(TableKind::Map3D, 15, 14.1));  // bottom row: highest pressure, index 1
    Table3D back3D;
    ASSERT_TRUE(model.copyTo(back3D));
    EXPECT_EQ(back3D, asStored(numbered3D(), 15));
    EXPECT_THROW(model.value(8, 0), std::out_of_range);

    model.close();
    EXPECT_FALSE(model.isOpen());
    EXPECT_FALSE(model.setValue(0, 0, 1, QStringLiteral("x")));
}

TEST(TableEditModel, TypedEntryIsOneStepOrRefusedWithoutTrace)
{
    TableEditModel model;
    model.open2D(ramp2D(), 30);
    QSignalSpy changed(&model, &TableEditModel::cellsChanged);
    EXPECT_FALSE(model.enterText(0, 3, QStringLiteral("7.9")));
    EXPECT_FALSE(model.enterText(0, 21, QStringLiteral("20")));
    EXPECT_FALSE(model.canUndo());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(model.enterText(0, 3, QStringLiteral("25")), storedValue(TableKind::Curve2D, 30, 25));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<CellRect>(), CellRect::single(0, 3));
    EXPECT_EQ(model.undoText(), QStringLiteral("Typing"));
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(model.value(0, 3), storedValue(TableKind::Curve2D, 30, 14));
    EXPECT_TRUE(model.redo());
    EXPECT_EQ(model.value(0, 3), storedValue(TableKind::Curve2D, 30, 25));
}

TEST(TableEditModel, ABlockOfAnySizeIsOneStepAndUndoRedoReplayIt)
{
    TableEditModel model;
    model.open3D(numbered3D(), 30);
    const ValueBlock original = model.values();
    const CellRect all = model.allCells();
    ValueBlock shifted = original;
    for (double &v : shifted)
        v += 1;
    ASSERT_TRUE(model.setBlock(all, shifted, QStringLiteral("Shift")));
    shifted = asStored(shifted, TableKind::Map3D, 30);
    ASSERT_TRUE(model.setBlock({2, 3, 2, 2}, {0, 0, 0, 0}, QStringLiteral("Paste")));
    EXPECT_EQ(model.block({2, 3, 2, 2}), asStored({0, 0, 0, 0}, TableKind::Map3D, 30));
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.values(), shifted);
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.values(), original);
    EXPECT_FALSE(model.undo());
    EXPECT_EQ(model.redoText(), QStringLiteral("Shift"));
    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.values(), shifted);
    // A new step drops the undone paste.
    ASSERT_TRUE(model.setValue(0, 0, 5, QStringLiteral("Drag")));
    EXPECT_FALSE(model.canRedo());

    // Refused blocks change nothing and record nothing.
    const ValueBlock now = model.values();
    EXPECT_FALSE(model.setBlock({7, 20, 2, 1}, {1, 2}, QStringLiteral("x")));
    EXPECT_FALSE(model.setBlock({0, 0, 1, 2}, {1}, QStringLiteral("x")));
    EXPECT_FALSE(model.setBlock({0, 0, 1, 2}, {1, std::nan("")}, QStringLiteral("x")));
    EXPECT_FALSE(model.setBlock({-1, 0, 1, 1}, {1}, QStringLiteral("x")));
    // Setting what is there already is no step.
    EXPECT_TRUE(model.setValue(0, 0, 5, QStringLiteral("same")));
    EXPECT_EQ(model.values(), now);
    EXPECT_EQ(model.undoText(), QStringLiteral("Drag"));
}

TEST(TableEditModel, ModifiedFollowsTheSavedPositionThroughUndoAndRedo)
{
    TableEditModel model;
    QSignalSpy history(&model, &TableEditModel::historyChanged);
    model.open2D(ramp2D(), 30);
    EXPECT_FALSE(model.isModified());
    model.setValue(0, 0, 20, QStringLiteral("Drag"));
    EXPECT_TRUE(model.isModified());
    model.undo();
    EXPECT_FALSE(model.isModified());
    model.redo();
    model.markSaved();
    EXPECT_FALSE(model.isModified());
    model.undo();
    EXPECT_TRUE(model.isModified());
    // The saved state was undone and then replaced: it cannot come back.
    model.setValue(0, 1, 20, QStringLiteral("Drag"));
    model.undo();
    EXPECT_TRUE(model.isModified());
    EXPECT_GE(history.count(), 7);
    // Opening again starts a fresh history.
    model.open2D(ramp2D(), 30);
    EXPECT_FALSE(model.canUndo());
    EXPECT_FALSE(model.canRedo());
    EXPECT_FALSE(model.isModified());
}

// A save of the model and a reload: the bytes must be those the intended
// advances make, and the reload must give back exactly what the model holds.
void expectHeldAsSaved(const TableEditModel &model, const Table3D &intended)
{
    Table3D held;
    ASSERT_TRUE(model.copyTo(held));
    ModuleImage fromModel;
    ModuleImage fromIntended;
    encodeTable3D(held, model.trigTiming(), fromModel);
    encodeTable3D(intended, model.trigTiming(), fromIntended);
    EXPECT_EQ(fromModel.EEPROMBuffer, fromIntended.EEPROMBuffer);
    TimingTables reloaded;
    decodeTables(fromModel, model.trigTiming(), reloaded);
    EXPECT_EQ(reloaded.table3D, held);
}

TEST(TableEditModel, EveryWayInHoldsTheValueAsTheModuleStoresIt)
{
    // Advances off the 0.0879 degree grid, the highest beyond the window.
    Table3D intended;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            intended(p, m) = 8.03 + p + m * 0.37;
    TableEditModel model;
    model.open3D(intended, 30);
    expectHeldAsSaved(model, intended);

    ASSERT_TRUE(model.setValue(0, 0, 12.34, QStringLiteral("Drag")));
    intended(1, 8) = 12.34;
    expectHeldAsSaved(model, intended);

    ASSERT_TRUE(model.setBlock({1, 2, 2, 2}, {9.01, 9.02, 9.03, 9.04}, QStringLiteral("Paste")));
    intended(3, 7) = 9.01;
    intended(4, 7) = 9.02;
    intended(3, 6) = 9.03;
    intended(4, 6) = 9.04;
    expectHeldAsSaved(model, intended);

    const std::optional<double> typed = model.enterText(3, 4, QStringLiteral("17.05"));
    ASSERT_TRUE(typed);
    EXPECT_EQ(*typed, model.value(3, 4));
    intended(5, 5) = 17.05;
    expectHeldAsSaved(model, intended);

    // A value that stores as the cell already is makes no step.
    ASSERT_TRUE(model.setValue(3, 4, 17.06, QStringLiteral("Same")));
    EXPECT_EQ(model.value(3, 4), *typed);
    EXPECT_EQ(model.undoText(), QStringLiteral("Typing"));

    // Shown 12.1 but entered as 12.03: +2 works from the value shown.
    model.open3D(intended, 30);
    ASSERT_TRUE(model.setValue(0, 5, 12.03, QStringLiteral("Typing")));
    EXPECT_EQ(model.displayText(0, 5), QStringLiteral("12.1"));
    const CellRect cell = CellRect::single(0, 5);
    const BlockResult plusTwo = modifyBlock(model.block(cell), *parseModifyReply(QStringLiteral("+2")),
                                            modifyCeiling(model.kind()), model.editWindow());
    ASSERT_TRUE(model.setBlock(cell, plusTwo.values, QStringLiteral("Modify")));
    EXPECT_EQ(model.displayText(0, 5), QStringLiteral("14.1"));
}

TEST(TableEditModel, RebaseMovesTheTableAndItsHistoryAsTheImageRegionMoves)
{
    // Trigger timing 10 lets the map go below 0; 25 then limits it to 3..25.
    Table3D raw;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            raw(p, m) = -11.5 + p + m * 0.29;
    TableEditModel model;
    model.open3D(raw, 10);
    Table3D opened;
    model.copyTo(opened);
    ASSERT_TRUE(model.setValue(7, 20, -3.3, QStringLiteral("Drag")));
    Table3D edited;
    model.copyTo(edited);

    const auto rebased = [](const Table3D &t) {
        ModuleImage image;
        encodeTable3D(t, 10, image);
        rebaseTableRegions(image, 10, 25);
        TimingTables out;
        decodeTables(image, 25, out);
        return out.table3D;
    };
    ASSERT_TRUE(model.rebase(25));
    EXPECT_EQ(model.trigTiming(), 25);
    Table3D now;
    model.copyTo(now);
    EXPECT_EQ(now, rebased(edited));
    EXPECT_TRUE(model.isModified());
    ASSERT_TRUE(model.undo());
    model.copyTo(now);
    EXPECT_EQ(now, rebased(opened));
    EXPECT_FALSE(model.isModified());
    ASSERT_TRUE(model.redo());
    model.copyTo(now);
    EXPECT_EQ(now, rebased(edited));

    model.close();
    EXPECT_FALSE(model.rebase(30));
}

}  // namespace
