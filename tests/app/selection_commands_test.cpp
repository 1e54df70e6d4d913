// The grid selection commands in the window: Copy, Paste, Modify,
// Interpolate, Smooth, keyboard steps and the heat map, each one undo step.
#include "app/app_fixture.h"
#include "views/chart_3d_view.h"
#include "app/commands/table_commands.h"
#include "views/timing_grid.h"
#include "views/advance_colour_scale.h"
#include "files/table_csv.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QClipboard>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTest>

#include <cmath>

using namespace tunara;
using namespace tunara::ui;

namespace {

class SelectionCommandsTest : public test::AppTest {
protected:
    // A 3D map with cell (grid row r, column c) = 10 + r + c / 10, or the
    // 2D curve 10 + p / 2, opened with the trigger timing 30 (window 8 .. 30).
    frmTunara_Main &openTable(bool map3D)
    {
        installAll();
        loadWindow();  // the load clears the image: the data comes after it
        data.image.DataBufferEmpty = false;
        data.params.TrigTiming = 30;
        data.params.TimingTable2D = !map3D;
        data.params.TimingTable3D = map3D;
        for (int p = 1; p <= SpeedPoints; ++p) {
            data.tables.table2D(p, 1) = 10 + p / 2.0;
            data.tables.table2D(p, 2) = 30;
            for (int m = 1; m <= PressureRows; ++m)
                data.tables.table3D(p, m) = 10 + (9 - m) + p / 10.0;
        }
        window->applyTableMenuRule();
        window->show();
        choose(actions().editTimingTable);
        QGuiApplication::clipboard()->clear();
        return *window;
    }
    editor::TableEditModel &model() { return window->tableCommands()->model(); }
    views::TimingGrid &grid(bool map3D) { return map3D ? *window->grid3D() : *window->grid2D(); }
    // Selects grid rows r1..r2, columns c1..c2 (grid numbering, headings 0).
    void select(bool map3D, int r1, int c1, int r2, int c2)
    {
        views::TimingGrid &g = grid(map3D);
        g.setCurrentCell(r1, c1);
        g.clearSelection();
        g.setRangeSelected(QTableWidgetSelectionRange(r1, c1, r2, c2), true);
    }
    // A right click on the grid: its pop-up menu offers Paste when there is something to paste.
    void rightClick(bool map3D)
    {
        emit grid(map3D).customContextMenuRequested(QPoint(10, 10));
        (map3D ? actions().popUp3D : actions().popUp2D).menu->hide();
    }
    QString status() const { return window->statusBar()->currentMessage(); }
    // Values as the open table stores them (trigger timing 30).
    double stored(double v) { return editor::storedValue(model().kind(), 30, v); }
    editor::ValueBlock stored(editor::ValueBlock values)
    {
        for (double &v : values)
            v = stored(v);
        return values;
    }
};

}  // namespace

TEST_F(SelectionCommandsTest, CopiesA3DBlockAndPastesItElsewhereAsOneStep)
{
    openTable(true);
    select(true, 1, 1, 2, 4);
    choose(actions().popUp3D.copy);
    EXPECT_EQ(window->clip().ClipText, QStringLiteral("11.1\t11.2\t11.3\t11.4\r12.1\t12.2\t12.3\t12.4"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window->clip().ClipText);

    // One cell clicked at row 7, column 18: the block fills rows 7..8, columns 18..21.
    select(true, 7, 18, 7, 18);
    const editor::ValueBlock before = model().values();
    choose(actions().popUp3D.paste);
    EXPECT_EQ(model().block({6, 17, 2, 4}), stored({11.1, 11.2, 11.3, 11.4, 12.1, 12.2, 12.3, 12.4}));
    EXPECT_EQ(grid(true).cellText(8, 21), QStringLiteral("12.4"));
    const QList<QTableWidgetSelectionRange> ranges = grid(true).selectedRanges();
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0].rowCount() * ranges[0].columnCount(), 8);
    choose(actions().undo);
    EXPECT_EQ(model().values(), before);

    // Pasted at row 8, column 20 the block is cut at the grid's edge, and said so.
    select(true, 8, 20, 8, 20);
    ui.answers.push_back(Answer::OK);
    choose(actions().popUp3D.paste);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Cells beyond the table's edge were left out."));
    EXPECT_EQ(model().block({7, 19, 1, 2}), stored({11.1, 11.2}));
    EXPECT_EQ(model().value(6, 19), before[6 * 21 + 19]);

    // Closing the table forgets the copy.
    ui.answers.push_back(Answer::No);
    choose(actions().closeTbl);
    EXPECT_TRUE(window->clip().ClipText.isEmpty());
    EXPECT_FALSE(actions().popUp3D.paste->isEnabled());
}

TEST_F(SelectionCommandsTest, PastesSpreadsheetTextKeepingCellsWithoutNumbersAndLimiting)
{
    openTable(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("25\t26,5\r\n40\tabc\r\n"));
    select(true, 3, 5, 3, 5);
    const double kept = model().value(3, 5);
    rightClick(true);
    ui.answers.push_back(Answer::OK);
    choose(actions().popUp3D.paste);
    EXPECT_EQ(model().block({2, 4, 2, 2}), (editor::ValueBlock{stored(25), stored(26.5), 30, kept}));
    EXPECT_EQ(status(), QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees"));
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees. "
                                                        "1 pasted cell holds no number: its cell keeps its value."));
    choose(actions().undo);
    EXPECT_FALSE(model().canUndo());

    // Three cells dragged from right to left (the current cell is where the
    // drag ended): five values fill them from the left, the status bar counts the rest.
    QGuiApplication::clipboard()->setText(QStringLiteral("21\t22\t23\t24\t25"));
    select(true, 4, 7, 4, 9);
    grid(true).setCurrentCell(4, 9, QItemSelectionModel::NoUpdate);
    choose(actions().popUp3D.paste);
    EXPECT_EQ(model().block({3, 6, 1, 4}), stored({21, 22, 23, model().value(3, 9)}));
    EXPECT_EQ(status(), QStringLiteral("2 pasted cells beyond the selection were left out"));
}

TEST_F(SelectionCommandsTest, ATableCopiedFromItsCsvExportWithHeadingsPastesBackExactlyAtAnyCell)
{
    openTable(true);
    Table3D table;
    ASSERT_TRUE(model().copyTo(table));
    QString sheet = QString::fromUtf8(tablecsv::write3D(table, 30, data.params.MAPSensor));
    sheet.replace(u',', u'\t');
    const editor::ValueBlock original = model().values();
    for (const auto &[row, column] : {std::pair{1, 1}, std::pair{6, 15}}) {
        model().setBlock(model().allCells(), editor::ValueBlock(original.size(), 20), QStringLiteral("Typing"));
        QGuiApplication::clipboard()->setText(sheet);
        select(true, row, column, row, column);
        rightClick(true);
        choose(actions().popUp3D.paste);
        EXPECT_EQ(model().values(), original) << row << " " << column;
        EXPECT_EQ(status(), QStringLiteral("pasted by headings: rows %1\u2013%2, 0\u201310000 RPM")
                                .arg(grid(true).cellText(1, 0), grid(true).cellText(8, 0)));
        EXPECT_EQ(window->statusBar()->findChild<QLabel *>(QStringLiteral("lblCurrentCell"))->text(),
                  QStringLiteral("RPM %1   MAP %2   Advance %3   Window 8.0 .. 30.0")
                                .arg(grid(true).cellText(0, 1), grid(true).cellText(1, 0),
                                     QString::number(model().value(0, 0), 'f', 4)));
    }
    // One label changed: refused, said once, nothing changes.
    const editor::ValueBlock held = model().values();
    sheet.replace(QStringLiteral("\t1500\t"), QStringLiteral("\t1550\t"));
    QGuiApplication::clipboard()->setText(sheet);
    ui.answers.push_back(Answer::OK);
    rightClick(true);
    choose(actions().popUp3D.paste);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Nothing was pasted: \"1550\" names no RPM column of this table."));
    EXPECT_EQ(model().values(), held);
}

TEST_F(SelectionCommandsTest, Copies2DCellsPastesThemCutAtColumn21AndModifiesThemWithinTheWindow)
{
    openTable(false);
    select(false, 0, 2, 1, 4);  // headings included: the advance row is copied
    choose(actions().popUp2D.copy);
    EXPECT_EQ(window->clip().ClipText, QStringLiteral("11.0\t11.5\t12.0"));
    select(false, 1, 20, 1, 20);
    ui.answers.push_back(Answer::OK);
    choose(actions().popUp2D.paste);
    EXPECT_EQ(model().block({0, 19, 1, 2}), stored({11.0, 11.5}));

    // Modify, on what the cells hold (and the grid shows).
    model().setBlock({0, 0, 1, 2}, {20, 30}, QStringLiteral("Typing"));
    const editor::ValueBlock held = model().block({0, 0, 1, 2});
    select(false, 1, 1, 1, 2);
    ui.inputs.push_back({QStringLiteral("-7.5%"), true});
    choose(actions().popUp2D.modify);
    EXPECT_EQ(ui.calls.back().title, QStringLiteral("Modify Selection"));
    EXPECT_EQ(model().block({0, 0, 1, 2}), stored({held[0] * 0.925, held[1] * 0.925}));
    // The grid shows what the module will store for 27.75.
    EXPECT_EQ(grid(false).cellText(1, 2), model().displayText(27.75));
    EXPECT_NE(model().displayText(27.75), QStringLiteral("27.8"));
    choose(actions().popUp2D.copy);  // copies what the grid shows
    EXPECT_EQ(window->clip().ClipText, grid(false).cellText(1, 1) + u'\t' + grid(false).cellText(1, 2));

    // Cancelled, empty or blank: nothing changes and no step is added.
    for (const InputReply &reply : {InputReply{QString(), false}, InputReply{QString(), true},
                                   InputReply{QStringLiteral("   "), true}}) {
        ui.inputs.push_back(reply);
        choose(actions().popUp2D.modify);
    }
    choose(actions().undo);
    EXPECT_EQ(model().block({0, 0, 1, 2}), held);
}

TEST_F(SelectionCommandsTest, InterpolatesAndSmoothsFromBothMenusAsOneStepEach)
{
    openTable(true);
    // Ends 112 steps apart: every interpolated cell falls on a whole step.
    // (10 and 20 are 114 apart, and a quarter of that is a half step,
    // where the last bit of the arithmetic would pick the byte.)
    model().setBlock({0, 0, 1, 5}, {10, 0, 0, 0, 19.8}, QStringLiteral("Typing"));
    select(true, 1, 1, 1, 5);
    choose(actions().interpolate);
    EXPECT_EQ(model().block({0, 0, 1, 5}), stored({10, 12.45, 14.9, 17.35, 19.8}));
    model().setBlock({1, 0, 1, 3}, {10, 20, 10}, QStringLiteral("Typing"));
    select(true, 2, 1, 2, 3);
    choose(actions().popUp3D.smooth);
    EXPECT_EQ(model().block({1, 0, 1, 3}), stored({10, 15, 10}));
    choose(actions().undo);
    EXPECT_EQ(model().block({1, 0, 1, 3}), stored({10, 20, 10}));
    choose(actions().undo);
    choose(actions().undo);
    EXPECT_EQ(model().block({0, 0, 1, 5}), stored({10, 0, 0, 0, 19.8}));
}

TEST_F(SelectionCommandsTest, PageKeysStepTheSelectionWithinTheWindowButNotWhileTyping)
{
    openTable(true);
    model().setBlock({0, 0, 1, 2}, {29.9, 20}, QStringLiteral("Typing"));
    select(true, 1, 1, 1, 2);
    views::TimingGrid &g = grid(true);
    ui.answers.push_back(Answer::OK);
    QTest::keyClick(&g, Qt::Key_PageUp);
    EXPECT_EQ(model().value(0, 0), 30);
    EXPECT_EQ(model().value(0, 1), stored(20 + 0.2));  // from the value typed, not the stored step
    EXPECT_EQ(status(), QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees"));
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("1 value limited to the advance window 8.0 .. 30.0 degrees."));
    QTest::keyClick(&g, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(model().value(0, 0), stored(29));
    EXPECT_EQ(model().value(0, 1), stored(20 + 0.2 - 1));
    EXPECT_TRUE(status().isEmpty());
    choose(actions().undo);
    EXPECT_EQ(model().value(0, 0), 30);

    // A minus typed into the grid begins an entry; Page Down then ends the
    // entry (refused: "-" is no number) instead of stepping the cells.
    const editor::ValueBlock before = model().values();
    QTest::keyClick(&g, Qt::Key_Minus);
    ASSERT_TRUE(g.isEditing());
    QWidget *editor = g.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    ui.answers.push_back(Answer::OK);
    QTest::keyClick(editor, Qt::Key_PageDown);
    EXPECT_EQ(model().values(), before);
    EXPECT_TRUE(ui.answers.empty());
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(SelectionCommandsTest, HeatMapTintsByAdvanceAndFollowsChanges)
{
    openTable(true);
    model().setBlock({0, 0, 1, 2}, {8, 30}, QStringLiteral("Typing"));
    const auto colour = [&](int r, int c) { return grid(true).item(r, c)->background().color(); };
    // The scale is the surface's: its colour of an advance over the advance
    // window in force, the end colours beyond it; text black or white.
    const charts::SurfaceScene &surface = window->chart3D()->scene();
    EXPECT_EQ(surface.colourRangeLow(), 8);
    EXPECT_EQ(surface.colourRangeHigh(), 30);
    const auto surfaceColour = [&](double advance) { return surface.colour(advance).rgb(); };
    EXPECT_EQ(colour(1, 1).rgb(), surfaceColour(stored(8)));
    EXPECT_EQ(colour(1, 2).rgb(), surfaceColour(30));
    model().setValue(0, 0, 30, QStringLiteral("Typing"));
    EXPECT_EQ(colour(1, 1), colour(1, 2));
    const views::AdvanceColourScale scale = views::advanceColourScale(surface);
    EXPECT_EQ(scale.colour(surface.advanceLow - 50).rgb(), surfaceColour(surface.advanceLow));
    EXPECT_EQ(scale.colour(std::nan("")).rgb(), surfaceColour(surface.advanceLow));
    EXPECT_EQ(views::readableTextColour(Qt::white), QColor(Qt::black));
    EXPECT_EQ(views::readableTextColour(surface.look.surfaceLow), QColor(Qt::white));
}

TEST_F(SelectionCommandsTest, HeatMapOfThe2DGridTakesTheSurfaceColoursOverItsWindow)
{
    openTable(false);
    const charts::SurfaceScene &surface = window->chart3D()->scene();
    model().setValue(0, 0, 12, QStringLiteral("Typing"));
    const editor::AdvanceWindow window2D = model().editWindow();
    const views::AdvanceColourScale scale2D = views::advanceColourScale(surface.look, window2D);
    EXPECT_LE(scale2D.lowAdvance, window2D.low);
    EXPECT_GE(scale2D.highAdvance, window2D.high);
    EXPECT_EQ(grid(false).item(1, 1)->background().color().rgb(), scale2D.colour(stored(12)).rgb());
}
