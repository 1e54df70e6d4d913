// The 2D chart and grid as views of the editing model: catching and
// dragging points with the real chart's mouse events, typing into cells,
// and undoing both.
#include "views/chart_2d_view.h"
#include "app/table_editor_fixture.h"
#include "views/timing_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QLineEdit>
#include <QLineSeries>
#include <QTest>

namespace tunara::test {
namespace {

using ui::Answer;

// The advance the module stores for a curve value under the trigger timing.
double stored(int trigTiming, double v)
{
    return editor::storedValue(editor::TableKind::Curve2D, trigTiming, v);
}

class Table2DView : public TableEditorTest {
protected:
    ui::frmTunara_Main &opened(int trig = 30)
    {
        ui::frmTunara_Main &w = shown();
        chooseTable(true, trig);
        openTable();
        QCoreApplication::processEvents();
        return w;
    }
    views::Curve2DEditor &drag() { return editor().curve2D(); }

    // Opens the editor of data cell (1, column), types the text and presses Enter.
    QLineEdit *type(int column, const QString &text)
    {
        views::TimingGrid *grid = window->grid2D();
        grid->setCurrentCell(1, column);
        grid->editItem(grid->item(1, column));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // editors closed before
        auto *line = grid->viewport()->findChild<QLineEdit *>();
        if (!line)
            return nullptr;
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();  // the grid commits a finished entry on its next turn
        return line;
    }
};

TEST_F(Table2DView, APressCatchesOnlyACurvePointWithinFifteenPixels)
{
    ui::frmTunara_Main &w = opened();
    const QPoint p5 = pointPixel(1, 5);
    press(p5 + QPoint(0, 16));
    release(p5 + QPoint(0, 16));
    EXPECT_EQ(drag().HitPoint, 0);
    EXPECT_FALSE(w.chart2D()->isValueLabelVisible());

    press(p5 + QPoint(0, 14));
    EXPECT_EQ(drag().HitSeries, 1);
    EXPECT_EQ(drag().HitPoint, 5);
    EXPECT_EQ(w.chart2D()->valueLabelText(), QStringLiteral("15.0"));
    EXPECT_EQ(w.grid2D()->currentColumn(), 5);
    release(p5 + QPoint(0, 14));
    EXPECT_FALSE(w.chart2D()->isValueLabelVisible());

    // The trigger-timing line is never caught, nor a press outside the plot.
    press(pointPixel(2, 3));
    EXPECT_EQ(drag().HitSeries, 0);
    release(pointPixel(2, 3));
    press(QPoint(2, 2));
    EXPECT_EQ(drag().HitPoint, 0);
    release(QPoint(2, 2));
    EXPECT_FALSE(model().canUndo());
}

TEST_F(Table2DView, ADragPreviewsInTheChartAndCommitsOneStepAtTheRelease)
{
    ui::frmTunara_Main &w = opened(40);
    // Stored values lie whole steps of 0.0879 below the trigger timing, so
    // only a point at the trigger timing itself (exactly 40.0, no retard) or
    // on the 2D floor of 0 can bring a drag to an exact half of a 0.2 step.
    ASSERT_TRUE(model().enterText(0, 4, QStringLiteral("40")));
    ASSERT_EQ(model().value(0, 4), 40.0);
    const QPoint p5 = pointPixel(1, 5);
    press(p5);
    for (int dy = 1; dy <= 3; ++dy)
        moveTo(p5 + QPoint(0, dy));
    // 40.0 down by 3 pixels: Round(198.5) x 0.2 = 39.6 (the even step, not
    // 39.8), in the chart alone.
    EXPECT_NEAR(w.chart2D()->curveValue(5), 39.6, 1e-9);
    EXPECT_EQ(w.chart2D()->valueLabelText(), QStringLiteral("39.6"));
    EXPECT_EQ(model().value(0, 4), 40.0);
    release(p5 + QPoint(0, 3));
    // The release commits 39.6 as the module stores it; the chart follows.
    EXPECT_EQ(model().value(0, 4), stored(40, 39.6));
    EXPECT_EQ(w.chart2D()->curveValue(5), stored(40, 39.6));
    EXPECT_EQ(w.grid2D()->cellText(1, 5), QStringLiteral("39.6"));
    EXPECT_EQ(model().undoText(), QStringLiteral("Drag"));

    // Far down stops at the window's floor: 40 - 22.
    press(pointPixel(1, 5));
    moveTo(pointPixel(1, 5) + QPoint(0, 400));
    release(pointPixel(1, 5) + QPoint(0, 400));
    EXPECT_EQ(model().value(0, 4), stored(40, 18));
    EXPECT_EQ(w.grid2D()->cellText(1, 5), QStringLiteral("18.0"));

    // Undo takes back the drags one by one, then the typed entry.
    choose(actions().undo);
    EXPECT_EQ(w.chart2D()->curveValue(5), stored(40, 39.6));
    choose(actions().undo);
    EXPECT_EQ(w.grid2D()->cellText(1, 5), QStringLiteral("40.0"));
    choose(actions().undo);
    // As opened: 15 lies below the window, stored as the most retard a byte holds.
    EXPECT_EQ(model().value(0, 4), stored(40, 15));
    choose(actions().redo);
    EXPECT_EQ(w.chart2D()->curveValue(5), 40.0);
}

TEST_F(Table2DView, ModifiedDragsAndChartGesturesLeaveTheCurveAlone)
{
    ui::frmTunara_Main &w = opened(15);
    const QPoint p3 = pointPixel(1, 3);  // 13.0 as stored
    const double start = stored(15, 13);
    press(p3, Qt::ShiftModifier);
    moveTo(p3 - QPoint(0, 20), Qt::ShiftModifier);
    release(p3 - QPoint(0, 20), Qt::ShiftModifier);
    EXPECT_EQ(w.chart2D()->curveValue(3), start);

    // Ctrl starts the chart's zoom: no drag until the next release.
    press(p3, Qt::ControlModifier);
    EXPECT_TRUE(editor().gesture().ViewGesture);
    moveTo(p3 - QPoint(0, 20));
    release(p3 - QPoint(0, 20));
    EXPECT_FALSE(editor().gesture().ViewGesture);
    EXPECT_EQ(w.chart2D()->curveValue(3), start);
    EXPECT_FALSE(model().canUndo());

    // With a trigger timing of 15 the floor is 0, not -7.
    press(pointPixel(1, 3));
    moveTo(pointPixel(1, 3) + QPoint(0, 500));
    release(pointPixel(1, 3) + QPoint(0, 500));
    EXPECT_EQ(model().value(0, 2), 0.0);
}

TEST_F(Table2DView, ATypedEntryOutsideTheWindowIsRefusedAndStaysInEdit)
{
    ui::frmTunara_Main &w = opened(30);
    // What is and is not a number is the entry rules' own test: one of each kind here.
    for (const QString &bad : {QStringLiteral("abc"), QStringLiteral("7.9"), QStringLiteral("30.1")}) {
        ui.answers = {Answer::OK};
        const std::size_t before = ui.messages().size();
        QLineEdit *line = type(4, bad);
        ASSERT_NE(line, nullptr);
        ASSERT_EQ(ui.messages().size(), before + 1) << bad.left(10).toStdString();
        const UiCall m = ui.messages().back();
        EXPECT_EQ(m.text, QStringLiteral("Timing must be numeric value greater than zero and within 22 degrees of "
                                         "trigger timing."));
        EXPECT_EQ(m.title, QStringLiteral("Timing Edit"));
        EXPECT_EQ(m.icon, ui::Icon::Critical);
        EXPECT_TRUE(w.grid2D()->isEditing());
        // A click on another cell keeps the refused entry in edit.
        QTest::mouseClick(w.grid2D()->viewport(), Qt::LeftButton, {},
                          w.grid2D()->visualRect(w.grid2D()->model()->index(1, 9)).center());
        EXPECT_TRUE(w.grid2D()->isEditing());
        EXPECT_EQ(ui.messages().size(), before + 1);
        // Escape gives up the entry; the table is unchanged.
        QTest::keyClick(line, Qt::Key_Escape);
        EXPECT_FALSE(w.grid2D()->isEditing());
        EXPECT_EQ(w.grid2D()->cellText(1, 4), QStringLiteral("14.0"));
    }
    EXPECT_FALSE(model().canUndo());

    // A good entry is taken, shown in the table's format, with the label.
    type(4, QStringLiteral(" 25 "));
    EXPECT_FALSE(w.grid2D()->isEditing());
    EXPECT_EQ(w.grid2D()->cellText(1, 4), QStringLiteral("25.0"));
    EXPECT_EQ(w.chart2D()->curveValue(4), stored(30, 25));
    EXPECT_EQ(model().value(0, 3), stored(30, 25));
    EXPECT_EQ(model().undoText(), QStringLiteral("Typing"));
}

TEST_F(Table2DView, TheLabelFollowsTheCurrentDataCellOnlyAndRightClickOffersPasteWhenThereIsSomething)
{
    ui::frmTunara_Main &w = opened(30);
    w.grid2D()->setCurrentCell(1, 7);
    EXPECT_TRUE(w.chart2D()->isValueLabelVisible());
    EXPECT_EQ(w.chart2D()->valueLabelPoint(), 7);
    EXPECT_EQ(w.chart2D()->valueLabelText(), QStringLiteral("17.0"));
    const QColor highlight = w.grid2D()->palette().color(QPalette::Highlight);
    w.grid2D()->setCurrentCell(0, 3);  // a heading
    EXPECT_EQ(w.chart2D()->valueLabelPoint(), 7);
    EXPECT_NE(w.grid2D()->palette().color(QPalette::Highlight), highlight);
    EXPECT_FALSE(w.grid2D()->item(0, 3)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(w.grid2D()->item(1, 0)->flags() & Qt::ItemIsSelectable);

    // A right click offers Paste only with something to paste.
    QGuiApplication::clipboard()->clear();
    const auto rightClick = [this, &w] {
        emit w.grid2D()->customContextMenuRequested(QPoint(10, 10));
        QMenu *menu = actions().popUp2D.menu;
        const bool shown = menu->isVisible();
        menu->hide();
        return shown;
    };
    EXPECT_TRUE(rightClick());
    EXPECT_FALSE(actions().popUp2D.paste->isEnabled());
    w.clip().ClipText = QStringLiteral("20.0");
    EXPECT_TRUE(rightClick());
    EXPECT_TRUE(actions().popUp2D.paste->isEnabled());
}

}  // namespace
}  // namespace tunara::test
