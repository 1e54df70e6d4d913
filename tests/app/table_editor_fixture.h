#pragma once

#include "app/app_fixture.h"
#include "app/commands/table_commands.h"

#include <QMouseEvent>

namespace tunara::test {

// A loaded, shown window with a table mode chosen and data in the image.
class TableEditorTest : public AppTest {
protected:
    void SetUp() override;

    ui::frmTunara_Main &shown();
    // Mode 2D (or 3D), image not empty, TrigTiming as given; a ramp in Table2D
    // (10 + point) and a flat 20 in Table3D.
    void chooseTable(bool twoD, int trigTiming = 30);
    void openTable() { choose(actions().editTimingTable); }
    ui::TableCommands &editor() { return *window->tableCommands(); }
    editor::TableEditModel &model() { return editor().model(); }

    // Pixel of a point of a 2D series in the chart's viewport.
    QPoint pointPixel(int series, int point) const;
    void mouse(QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void press(const QPoint &pos, Qt::KeyboardModifiers m = Qt::NoModifier);
    void moveTo(const QPoint &pos, Qt::KeyboardModifiers m = Qt::NoModifier);
    void release(const QPoint &pos, Qt::KeyboardModifiers m = Qt::NoModifier);
};

}  // namespace tunara::test
