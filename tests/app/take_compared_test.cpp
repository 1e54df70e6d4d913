// Edit > Take Compared Values over a grid selection, and the report's page of
// changes while a compare runs.
#include "app/commands/compare_commands.h"
#include "app/table_editor_fixture.h"
#include "files/data_file.h"
#include "module/parameter_codec.h"
#include "report/pdf_reader.h"
#include "tables/table_codec.h"
#include "views/timing_grid.h"

#include <QStatusBar>
#include <QTableWidgetSelectionRange>

namespace tunara::test {
namespace {

class TakeComparedTest : public TableEditorTest {
protected:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    // A 3D map as the program saves one: the flat 20 of the open table but
    // for two cells, one of them beyond the open table's window (8 .. 30).
    QString otherMap()
    {
        ModuleData file = data;
        file.params.TrigTiming = 40;
        file.tables.table3D(5, 3) = 25;
        file.tables.table3D(7, 1) = 35;
        file.image.ClearEEPROMBuffer();
        UpdateEEPROM(file);
        encodeTable3D(file.tables.table3D, file.params.TrigTiming, file.image);
        datafile::write(path(QStringLiteral("other.dat")), file.image);
        return path(QStringLiteral("other.dat"));
    }
    // Grid rows r1..r2, columns c1..c2 of the 3D grid (headings 0).
    void select(int r1, int c1, int r2, int c2)
    {
        views::TimingGrid &g = *window->grid3D();
        g.setCurrentCell(r1, c1);
        g.clearSelection();
        g.setRangeSelected(QTableWidgetSelectionRange(r1, c1, r2, c2), true);
    }
    QString status() { return window->statusBar()->currentMessage(); }
};

TEST_F(TakeComparedTest, TakesTheSelectionsValuesAsOneUndoableStepOnlyWhileComparing)
{
    shown();
    chooseTable(false);
    openTable();
    EXPECT_FALSE(actions().takeCompared->isEnabled());
    EXPECT_EQ(actions().takeCompared->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    const editor::ValueBlock before = model().values();

    ui.fileNames = {otherMap()};
    choose(actions().compareWithFile);
    ASSERT_TRUE(actions().takeCompared->isEnabled());
    EXPECT_TRUE(actions().popUp3D.takeCompared->isEnabled());

    // The whole grid: 35 is limited to 30; point 5 at pressure index 3 (grid
    // row 6, column 5) takes 25.
    select(1, 1, 8, 21);
    choose(actions().takeCompared);
    EXPECT_NEAR(model().value(5, 4), 25, 0.05);
    EXPECT_EQ(model().value(7, 6), 30);
    EXPECT_TRUE(status().contains(QStringLiteral("; 1 value limited to the advance window 8")))
        << status().toStdString();
    choose(actions().undo);
    EXPECT_EQ(model().values(), before);

    // While comparing, the report ends with the page of changes.
    const QString pdf = path(QStringLiteral("changes.pdf"));
    ui.fileNames = {pdf};
    ui.inputs = {{QString(), true}};  // no serial line
    choose(actions().exportPdf);
    ASSERT_EQ(pdfPageCount(pdf), 4);
    const QString changes = pdfPageLines(pdf, 4).join(u'\n');
    EXPECT_TRUE(changes.contains(QStringLiteral("Changes from other.dat ("))) << changes.toStdString();
    EXPECT_TRUE(changes.contains(QStringLiteral("Trigger Signal Timing (Deg): 40.0 → 30.0"))) << changes.toStdString();
    EXPECT_TRUE(changes.contains(QStringLiteral("Timing Table Changes (Deg)")));

    choose(actions().stopComparing);
    EXPECT_FALSE(actions().takeCompared->isEnabled());
    actions().takeCompared->trigger();  // a stray shortcut does nothing
    EXPECT_EQ(model().values(), before);
    ui.fileNames = {path(QStringLiteral("plain.pdf"))};
    ui.inputs = {{QString(), true}};
    choose(actions().exportPdf);
    EXPECT_EQ(pdfPageCount(path(QStringLiteral("plain.pdf"))), 3);
}

}  // namespace
}  // namespace tunara::test
