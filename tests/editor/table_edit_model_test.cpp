// The open table's live values and their history of steps.
#include "editor/table_edit_model.h"

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

TEST(TableEditModel, OpensBothKindsInGridOrderAndHandsThemBack)
{
    TableEditModel model;
    EXPECT_FALSE(model.isOpen());
    model.open2D(ramp2D(), 30);
    EXPECT_EQ(model.columns(), 21);
    EXPECT_EQ(model.editWindow().low, 8);
    Table2D back;
    ASSERT_TRUE(model.copyTo(back));
    EXPECT_EQ(back, ramp2D());
    Table3D wrongKind;
    EXPECT_FALSE(model.copyTo(wrongKind));

    model.open3D(numbered3D(), 15);
    EXPECT_EQ(model.rows(), 8);
    EXPECT_EQ(model.value(0, 0), 1.8);   // top row: lowest pressure, index 8
    EXPECT_EQ(model.value(7, 20), 21.1); // bottom row: highest pressure, index 1
    Table3D back3D;
    ASSERT_TRUE(model.copyTo(back3D));
    EXPECT_EQ(back3D, numbered3D());
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
    EXPECT_EQ(model.enterText(0, 3, QStringLiteral("25")), 25.0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<CellRect>(), CellRect::single(0, 3));
    EXPECT_EQ(model.undoText(), QStringLiteral("Typing"));
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(model.value(0, 3), 14);
    EXPECT_TRUE(model.redo());
    EXPECT_EQ(model.value(0, 3), 25);
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
    ASSERT_TRUE(model.setBlock({2, 3, 2, 2}, {0, 0, 0, 0}, QStringLiteral("Paste")));
    EXPECT_EQ(model.block({2, 3, 2, 2}), (ValueBlock{0, 0, 0, 0}));
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

}  // namespace
