// The 3D map in the window: synthetic mouse events on the real surface
// chart, the grid, and the editing model behind them.
#include "app/app_fixture.h"
#include "views/chart_3d_view.h"
#include "app/commands/table_commands.h"
#include "views/timing_grid.h"
#include "editor/table_edit_model.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <cmath>

using namespace tunara;
using namespace tunara::ui;
using tunara::editor::TableEditModel;
using tunara::ui::Answer;

namespace tunara::test {
namespace {

class Map3DEditing : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
        loadWindow();
        data.params.TimingTable3D = true;
        data.params.TrigTiming = 30;
        data.params.MAPSensor = 1;
        data.image.DataBufferEmpty = false;
        for (int p = 1; p <= SpeedPoints; ++p)
            for (int m = 1; m <= PressureRows; ++m)
                data.tables.table3D(p, m) = 20;
        data.tables.table3D(11, 4) = 8.4;  // 21.6 below the trigger timing
        window->resize(1200, 900);
        window->tableCommands()->mnuEditTimingTable_Click();
        ui.calls.clear();
    }

    views::Chart3DView &chart() { return *window->chart3D(); }
    TableEditModel &model() { return window->tableCommands()->model(); }
    double cell(int point, int pressureIndex) { return model().value(TableEditModel::rowOfPressureIndex(pressureIndex), point - 1); }
    // A value as the open map stores it.
    double stored(double v) { return editor::storedValue(editor::TableKind::Map3D, model().trigTiming(), v); }
    QPoint pixelFor(int point, int pressureIndex, double value)
    {
        return chart().projection().gridPoint(point, pressureIndex, value).toPoint();
    }
    QPoint pixelOf(int point, int pressureIndex) { return pixelFor(point, pressureIndex, chart().value(point, pressureIndex)); }

    void mouse(QEvent::Type type, const QPoint &pos, Qt::KeyboardModifiers mods, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(pos), chart().mapToGlobal(QPointF(pos)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, mods);
        QApplication::sendEvent(&chart(), &e);
    }
    void drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, from, mods, button);
        mouse(QEvent::MouseMove, to, mods, button);
        mouse(QEvent::MouseButtonRelease, to, mods, button);
    }
    Table3D liveMap()
    {
        Table3D t;
        model().copyTo(t);
        return t;
    }
};

TEST_F(Map3DEditing, APressCatchesTheNearestPointAndADragPreviewsThenCommitsOneStep)
{
    ASSERT_TRUE(chart().isVisibleTo(window.get()));
    // 16 pixels away from the nearest point: nothing is caught.
    const QPoint aside = pixelOf(1, 8) + QPoint(-16, 0);
    ASSERT_GE(chart().hitTest(aside).distance, 15.9);
    ASSERT_TRUE(chart().hitTest(aside).insidePlot);
    mouse(QEvent::MouseButtonPress, aside, Qt::NoModifier);
    EXPECT_FALSE(chart().isValueLabelVisible());
    mouse(QEvent::MouseButtonRelease, aside, Qt::NoModifier);

    mouse(QEvent::MouseButtonPress, pixelOf(5, 6) + QPoint(3, 2), Qt::NoModifier);
    auto *grid = window->grid3D();
    EXPECT_EQ(grid->currentRow(), 3);  // 9 - pressure index 6
    EXPECT_EQ(grid->currentColumn(), 5);
    EXPECT_EQ(chart().valueLabel().text, QStringLiteral("20.0"));

    mouse(QEvent::MouseMove, pixelFor(5, 6, 24.2), Qt::NoModifier);
    const double previewed = chart().value(5, 6);
    EXPECT_NEAR(previewed, 24.2, 0.21);
    EXPECT_EQ(chart().valueLabel().text, model().displayText(previewed));
    EXPECT_EQ(cell(5, 6), stored(20));  // not committed while the button is held
    EXPECT_FALSE(model().canUndo());

    // The release commits the previewed value as the module stores it.
    mouse(QEvent::MouseButtonRelease, pixelFor(5, 6, 24.2), Qt::NoModifier);
    EXPECT_EQ(cell(5, 6), stored(previewed));
    EXPECT_EQ(chart().value(5, 6), stored(previewed));
    EXPECT_EQ(grid->cellText(3, 5), model().displayText(previewed));
    EXPECT_FALSE(chart().isValueLabelVisible());
    EXPECT_EQ(model().undoText(), QStringLiteral("Drag"));
    model().undo();
    EXPECT_EQ(chart().value(5, 6), stored(20));

    // Far above and far below: the window's ends, 30 and 8, with no floor at zero.
    drag(pixelOf(5, 6), pixelOf(5, 6) - QPoint(0, 5000), Qt::NoModifier);
    EXPECT_EQ(cell(5, 6), 30);
    drag(pixelOf(5, 6), pixelOf(5, 6) + QPoint(0, 5000), Qt::NoModifier);
    EXPECT_EQ(cell(5, 6), stored(8));
    // Undo waits while a drag is held.
    mouse(QEvent::MouseButtonPress, pixelOf(5, 6), Qt::NoModifier);
    mouse(QEvent::MouseMove, pixelOf(5, 6) - QPoint(0, 5000), Qt::NoModifier);
    window->tableCommands()->mnuUndo_Click();
    EXPECT_EQ(cell(5, 6), stored(8));
    mouse(QEvent::MouseButtonRelease, pixelOf(5, 6), Qt::NoModifier);
    EXPECT_EQ(cell(5, 6), 30);
}

TEST_F(Map3DEditing, AShiftDragShowsItsOffsetAndMovesTheWholeMapAtTheReleaseAsOneStep)
{
    const Table3D before = liveMap();
    // Shift-click without moving: "0.0", no change, no step.
    mouse(QEvent::MouseButtonPress, pixelOf(3, 2), Qt::ShiftModifier);
    EXPECT_EQ(chart().valueLabel().text, QStringLiteral("0.0"));
    mouse(QEvent::MouseButtonRelease, pixelOf(3, 2), Qt::ShiftModifier);
    EXPECT_EQ(liveMap(), before);
    EXPECT_FALSE(model().canUndo());

    // Down by three degrees of travel: -1.2 on every cell, as stored; 8.4
    // stops at 8.
    mouse(QEvent::MouseButtonPress, pixelOf(3, 2), Qt::ShiftModifier);
    mouse(QEvent::MouseMove, pixelFor(3, 2, 17.0), Qt::ShiftModifier);
    EXPECT_EQ(chart().valueLabel().text, QStringLiteral("-1.2"));
    EXPECT_EQ(chart().surface(), before);  // the surface stays while dragging
    mouse(QEvent::MouseButtonRelease, pixelFor(3, 2, 17.0), Qt::ShiftModifier);
    EXPECT_EQ(cell(1, 1), stored(before(1, 1) - 1.2));
    EXPECT_EQ(cell(11, 4), stored(8));
    EXPECT_EQ(chart().surface(), liveMap());
    EXPECT_EQ(model().undoText(), QStringLiteral("Shift Map"));
    model().undo();
    EXPECT_EQ(liveMap(), before);

    // Far up: the label stops at 5.0, and no cell passes the trigger timing.
    mouse(QEvent::MouseButtonPress, pixelOf(3, 2), Qt::ShiftModifier);
    mouse(QEvent::MouseMove, pixelOf(3, 2) - QPoint(0, 4000), Qt::ShiftModifier);
    EXPECT_EQ(chart().valueLabel().text, QStringLiteral("5.0"));
    mouse(QEvent::MouseButtonRelease, pixelOf(3, 2) - QPoint(0, 4000), Qt::ShiftModifier);
    EXPECT_EQ(cell(1, 1), stored(before(1, 1) + 5));
    EXPECT_EQ(cell(11, 4), stored(before(11, 4) + 5));
    // Letting go of Shift before the button drops the shift.
    const Table3D shifted = liveMap();
    mouse(QEvent::MouseButtonPress, pixelOf(3, 2), Qt::ShiftModifier);
    mouse(QEvent::MouseMove, pixelOf(3, 2) - QPoint(0, 4000), Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, pixelOf(3, 2) - QPoint(0, 4000), Qt::NoModifier);
    EXPECT_EQ(liveMap(), shifted);
}

TEST_F(Map3DEditing, CtrlAltAndModifierChangesMidDragChangeNothing)
{
    const Table3D before = liveMap();
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier),
                                       Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)})
        drag(pixelOf(7, 3), pixelOf(7, 3) - QPoint(0, 200), mods);
    EXPECT_EQ(liveMap(), before);
    // A plain press, then Ctrl held while moving: no preview.
    mouse(QEvent::MouseButtonPress, pixelOf(7, 3), Qt::NoModifier);
    mouse(QEvent::MouseMove, pixelOf(7, 3) - QPoint(0, 200), Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, pixelOf(7, 3) - QPoint(0, 200), Qt::ControlModifier);
    // A plain press after an earlier Shift-drag: releasing with Shift held
    // never applies the old offset.
    drag(pixelOf(7, 3), pixelOf(7, 3) - QPoint(0, 300), Qt::ShiftModifier);
    model().undo();
    mouse(QEvent::MouseButtonPress, pixelOf(7, 3), Qt::NoModifier);
    mouse(QEvent::MouseButtonRelease, pixelOf(7, 3), Qt::ShiftModifier);
    EXPECT_EQ(liveMap(), before);
}

TEST_F(Map3DEditing, TurningTheViewIsTheChartsOwnGestureAndDragsAgreeInEveryViewAndSize)
{
    const charts::SurfaceViewAngles start = chart().viewAngles();
    mouse(QEvent::MouseButtonPress, QPoint(300, 300), Qt::NoModifier, Qt::RightButton);
    // A left press during the gesture is ignored.
    mouse(QEvent::MouseButtonPress, pixelOf(4, 4), Qt::NoModifier);
    EXPECT_FALSE(chart().isValueLabelVisible());
    mouse(QEvent::MouseMove, QPoint(380, 330), Qt::NoModifier, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, QPoint(380, 330), Qt::NoModifier, Qt::RightButton);
    EXPECT_DOUBLE_EQ(chart().viewAngles().rotation, start.rotation + 40);
    EXPECT_DOUBLE_EQ(chart().viewAngles().elevation, start.elevation + 15);
    EXPECT_FALSE(model().canUndo());
    mouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::NoModifier, Qt::MiddleButton);
    EXPECT_EQ(chart().viewAngles(), start);

    // Drags in many views: the preview is always a multiple of 0.2 degree
    // near the value asked for, and the release stores it inside the window.
    for (double rotation = 0; rotation < 360; rotation += 45)
        for (double elevation : {10.0, 30.0, 85.0}) {
            chart().setViewAngles({rotation, elevation, 1.5});
            const double target = elevation == 85 ? 14.0 : 23.0;  // nearly upright axis: coarse
            mouse(QEvent::MouseButtonPress, pixelOf(15, 7), Qt::NoModifier);
            mouse(QEvent::MouseMove, pixelFor(15, 7, target), Qt::NoModifier);
            const double previewed = chart().value(15, 7);
            mouse(QEvent::MouseButtonRelease, pixelFor(15, 7, target), Qt::NoModifier);
            EXPECT_NEAR(std::remainder(previewed, 0.2), 0, 1e-9);
            EXPECT_NEAR(previewed, target, elevation == 85 ? 2.0 : 0.5) << rotation << " " << elevation;
            const double v = cell(15, 7);
            EXPECT_EQ(v, stored(previewed));
            EXPECT_GE(v, 8);
            EXPECT_LE(v, 30);
        }
    // A chart too small to draw in: nothing caught, nothing changed.
    const Table3D before = liveMap();
    chart().resize(8, 8);
    drag(QPoint(4, 4), QPoint(4, -20), Qt::NoModifier);
    drag(QPoint(4, 4), QPoint(4, -400), Qt::ShiftModifier);
    EXPECT_EQ(liveMap(), before);
}

TEST_F(Map3DEditing, TheGridTakesTypedValuesInsideTheWindowAndTheLabelFollowsTheCurrentCell)
{
    data.params.TrigTiming = 40;
    window->tableCommands()->mnuEditTimingTable_Click();
    views::TimingGrid &grid = *window->grid3D();
    grid.setCurrentCellAt(1, 1);
    EXPECT_EQ(chart().valueLabel().pressureIndex, 8);  // the lowest pressure at 0 RPM
    // Typed into cell (1, 1) and finished with Return; a refused entry
    // keeps its editor open for correction.
    const auto type = [&](const QString &text) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto *editor = grid.findChild<QLineEdit *>();
        if (!editor) {
            grid.editItem(grid.item(1, 1));
            editor = grid.findChild<QLineEdit *>();
        }
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &enter);
        QCoreApplication::processEvents();  // the grid commits an entry from its queue
    };
    ui.answers = {Answer::OK};
    type(QStringLiteral("17.9"));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Timing must be numeric value between 18 and 40 degrees."));
    EXPECT_EQ(cell(1, 8), stored(20));
    type(QStringLiteral("18"));
    EXPECT_EQ(chart().value(1, 8), stored(18));
    EXPECT_EQ(grid.cellText(1, 1), QStringLiteral("18.0"));
}

}  // namespace
}  // namespace tunara::test
