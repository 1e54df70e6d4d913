#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/commands/compare_commands.h"
#include "app/commands/table_csv_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/selection_commands.h"
#include "app/data_file_drop.h"
#include "app/table_editor_fixture.h"
#include "support/test_data.h"
#include "views/timing_grid.h"
#include "compare/image_check.h"
#include "files/data_file.h"
#include "files/table_csv.h"
#include "module/parameter_codec.h"
#include "tables/table_codec.h"

#include <QChart>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMimeData>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>

namespace tunara::test {
namespace {

using ui::Answer;
using Cells = std::set<std::pair<int, int>>;

class CompareCommandsTest : public TableEditorTest {
protected:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    views::CompareOverlay &overlay() { return window->compareCommands().overlay(); }

    // A data file as the program saves one, from a configuration.
    QString writeDataFile(const QString &name, ModuleData file)
    {
        file.image.ClearEEPROMBuffer();
        UpdateEEPROM(file);
        encodeTable2D(file.tables.table2D, file.params.TrigTiming, file.image);
        encodeTable3D(file.tables.table3D, file.params.TrigTiming, file.image);
        datafile::write(path(name), file.image);
        return path(name);
    }
    void compareWith(const QString &file) { runWithFile(actions().compareWithFile, file); }
    void runWithFile(QAction *command, const QString &file)
    {
        ui.fileNames = {file};
        choose(command);
    }
    QString toolTip(int row, int column) const { return window->grid3D()->item(row, column)->toolTip(); }
};

TEST_F(CompareCommandsTest, TheOverlayShowsOnEveryViewFollowsEditsAndEndsWithTheTable)
{
    shown();
    chooseTable(true);
    ModuleData other = data;
    other.tables.table2D(5, 1) = 18;  // 15 on screen
    const QString file2D = writeDataFile(QStringLiteral("other2d.dat"), other);
    EXPECT_FALSE(actions().compareWithFile->isEnabled());  // no table open
    openTable();
    compareWith(file2D);
    ASSERT_TRUE(overlay().isActive());
    const QList<QAbstractSeries *> series = window->chart2D()->chart()->series();
    ASSERT_EQ(series.size(), 3);
    auto *dashed = static_cast<QLineSeries *>(series[2]);
    EXPECT_EQ(dashed->pen().style(), Qt::DashLine);
    EXPECT_EQ(dashed->name(), QStringLiteral("other2d.dat"));
    EXPECT_NEAR(dashed->at(4).y(), 18, 0.05);
    EXPECT_EQ(overlay().outlinedCells(), (Cells{{1, 5}}));
    // The difference of the stored advances, in whole steps of the module.
    EXPECT_EQ(window->grid2D()->item(1, 5)->toolTip(), QStringLiteral("other2d.dat: 18.0 (difference +2.99)"));

    // The live values move, the outline follows: one cell made equal, another changed, then undone.
    model().setValue(0, 4, 18, QStringLiteral("Edit"));
    model().setValue(0, 9, 30, QStringLiteral("Edit"));
    EXPECT_EQ(overlay().outlinedCells(), (Cells{{1, 10}}));
    EXPECT_TRUE(window->grid2D()->item(1, 5)->toolTip().isEmpty());
    model().undo();
    model().undo();
    EXPECT_EQ(overlay().outlinedCells(), (Cells{{1, 5}}));

    // Saving the table ends the comparison: the third series and the outlines go.
    choose(actions().saveTbl);
    EXPECT_EQ(window->chart2D()->chart()->series().size(), 2);
    EXPECT_TRUE(overlay().outlinedCells().empty());
    EXPECT_TRUE(window->grid2D()->item(1, 5)->toolTip().isEmpty());
    EXPECT_FALSE(actions().stopComparing->isEnabled());
}

TEST_F(CompareCommandsTest, TheSurfaceGetsAWireframeAndAFileOfTheOtherModeComparesNothing)
{
    shown();
    chooseTable(false);
    ModuleData other = data;
    other.tables.table3D(3, 8) = 26;  // grid row 1, column 3
    other.tables.table3D(21, 1) = 14;  // grid row 8, column 21
    const QString file3D = writeDataFile(QStringLiteral("other3d.dat"), other);
    ModuleData twoD = data;
    twoD.params.TimingTable2D = true;
    twoD.params.TimingTable3D = false;
    const QString file2D = writeDataFile(QStringLiteral("curve.dat"), twoD);
    openTable();

    ui.answers = {Answer::OK};
    compareWith(file2D);
    EXPECT_EQ(ui.messages().back().text,
              QStringLiteral("curve.dat holds a 2D timing table and the open table is a 3D table. Nothing is compared."));
    EXPECT_FALSE(overlay().isActive());

    compareWith(file3D);
    ASSERT_TRUE(window->chart3D()->wireframe().has_value());
    EXPECT_NEAR((*window->chart3D()->wireframe())(3, 8), 26, 0.05);
    EXPECT_EQ(overlay().outlinedCells(), (Cells{{1, 3}, {8, 21}}));
    EXPECT_TRUE(toolTip(8, 21).startsWith(QStringLiteral("other3d.dat: 14.0 (difference -5.9")));

    choose(actions().stopComparing);
    EXPECT_FALSE(window->chart3D()->wireframe().has_value());
    // Opening the table again and closing it end a comparison too.
    compareWith(file3D);
    openTable();
    EXPECT_FALSE(overlay().isActive());
    compareWith(file3D);
    ui.answers = {Answer::No};
    choose(actions().closeTbl);
    EXPECT_FALSE(window->chart3D()->wireframe().has_value());
}

TEST_F(CompareCommandsTest, CsvExportAndImportRoundTripAsOneUndoStepAndABadFileChangesNothing)
{
    shown();
    chooseTable(false, 25);
    data.tables.table3D(7, 4) = 12.3;
    // Nothing open: import is disabled and refused, export writes the
    // image's active table as it would open, each value as the module stores it.
    EXPECT_FALSE(actions().importCsv->isEnabled());
    ui.answers = {Answer::OK};
    window->findChild<ui::TableCsvCommands *>()->mnuImportCsv_Click();
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Open a timing table before importing into the grid."));
    runWithFile(actions().exportCsv, path(QStringLiteral("image")));
    QFile exported(path(QStringLiteral("image.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    ModuleImage stored;
    encodeTable3D(data.tables.table3D, 25, stored);
    TimingTables asOpened;
    decodeTables(stored, 25, asOpened);
    EXPECT_EQ(exported.readAll(), tablecsv::write3D(asOpened.table3D, 25, data.params.MAPSensor));

    openTable();
    model().setValue(2, 2, 24, QStringLiteral("Edit"));
    runWithFile(actions().exportCsv, path(QStringLiteral("live.csv")));
    const editor::ValueBlock live = model().values();
    // The second file type: semicolons and decimal commas, read back to the same values.
    ui.fileTypes = {1};
    runWithFile(actions().exportCsv, path(QStringLiteral("live-semicolon.csv")));
    QFile commas(path(QStringLiteral("live.csv"))), semicolons(path(QStringLiteral("live-semicolon.csv")));
    ASSERT_TRUE(commas.open(QIODevice::ReadOnly) && semicolons.open(QIODevice::ReadOnly));
    EXPECT_EQ(semicolons.readAll(), commas.readAll().replace(',', ';').replace('.', ','));
    Table3D liveTable;
    ASSERT_TRUE(model().copyTo(liveTable));

    // A bad file: row and column named, nothing changes, no step recorded.
    const QByteArray bad = tablecsv::write3D(data.tables.table3D, 25, data.params.MAPSensor).replace("12.3", "12.3x");
    QFile badFile(path(QStringLiteral("bad.csv")));
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly) && badFile.write(bad) == bad.size());
    badFile.close();
    ui.answers = {Answer::OK};
    runWithFile(actions().importCsv, path(QStringLiteral("bad.csv")));
    EXPECT_TRUE(ui.messages().back().text.contains(QStringLiteral("row 6, column 8")));
    EXPECT_TRUE(ui.messages().back().text.contains(QStringLiteral("Nothing was imported.")));
    EXPECT_EQ(model().values(), live);
    EXPECT_EQ(model().undoText(), QStringLiteral("Edit"));

    // The image's table imported over the live one: one step, undone at once.
    runWithFile(actions().importCsv, path(QStringLiteral("image.csv")));
    EXPECT_EQ(model().undoText(), QStringLiteral("Import"));
    EXPECT_EQ(window->grid3D()->cellText(3, 3), QStringLiteral("20.0"));
    model().undo();
    EXPECT_EQ(model().values(), live);
    // The live table exported and imported again gives back the same bytes.
    model().redo();
    runWithFile(actions().importCsv, path(QStringLiteral("live.csv")));
    choose(actions().saveTbl);
    ModuleImage expected = data.image;
    encodeTable3D(liveTable, 25, expected);
    EXPECT_EQ(data.image.EEPROMBuffer, expected.EEPROMBuffer);
}

// The import's dialog starts in the folder of the last CSV file (exported
// or imported), never on a data file's name; on a fresh account in the
// documents folder, else home.
TEST_F(CompareCommandsTest, ImportStartsInTheFolderOfTheLastCsvFile)
{
    shown();
    chooseTable(false, 25);
    openTable();
    const auto importFolder = [this] {
        runWithFile(actions().importCsv, QString());
        return ui.calls.back().kind == UiCall::Kind::OpenFile ? ui.calls.back().text : QString();
    };
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(importFolder(), QFileInfo(documents).isDir() ? documents : QDir::homePath());

    ASSERT_TRUE(QDir(path(QString())).mkpath(QStringLiteral("tables")));
    runWithFile(actions().exportCsv, path(QStringLiteral("tables/curve.csv")));
    const QString tables = QFileInfo(path(QStringLiteral("tables/curve.csv"))).absolutePath();
    EXPECT_EQ(importFolder(), tables);

    // A data file chosen meanwhile does not move it.
    compareWith(writeDataFile(QStringLiteral("other.dat"), data));
    EXPECT_EQ(importFolder(), tables);
}

TEST_F(CompareCommandsTest, AnOpenedFileTheProgramReadsOtherwiseIsCheckedInOneCappedMessage)
{
    loadWindow();
    chooseTable(true);
    ModuleData odd = data;
    odd.image.ClearEEPROMBuffer();
    UpdateEEPROM(odd);
    for (int a = 16; a < 37; ++a)
        odd.image.EEPROMBuffer[std::size_t(a)] = 0xFF;  // every 2D cell beyond the window
    datafile::write(path(QStringLiteral("odd.dat")), odd.image);
    const compare::CheckReport report = compare::checkImage(odd.image);
    ASSERT_GT(report.items.size(), 20u);
    const QString clean = writeDataFile(QStringLiteral("clean.dat"), data);

    ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite?, loaded, the check
    window->fileCommands().openDataFile(path(QStringLiteral("odd.dat")));
    ASSERT_GE(ui.calls.size(), 3u);
    const UiCall &check = ui.calls[ui.calls.size() - 2];
    EXPECT_EQ(check.title, QStringLiteral("Check Data File"));
    EXPECT_TRUE(check.text.endsWith(QStringLiteral("... and %1 more").arg(report.items.size() - 20)));
    EXPECT_EQ(check.text.count(u'\n'), 2 + 20);
    EXPECT_EQ(ui.calls.back().kind, UiCall::Kind::Modal);  // the parameters dialog comes after it

    // A file the program wrote itself opens with no check message.
    ui.calls.clear();
    ui.answers = {Answer::OK, Answer::OK};
    window->fileCommands().openDataFile(clean);
    EXPECT_EQ(ui.messages().size(), 2u);  // overwrite?, loaded
}

// An opened file selects its table but shows none: nothing that works on an
// open table is offered until Edit Timing Table puts it on screen.
TEST_F(CompareCommandsTest, AnOpenedFileOffersNoTableCommandUntilItsTableIsOnScreen)
{
    shown();
    chooseTable(false, 25);
    const QString file = writeDataFile(QStringLiteral("map.dat"), data);
    data.image = ModuleImage{};
    ui.fileNames = {file};
    ui.answers = {Answer::OK};  // "Loaded ... Ready for editing or upload."
    choose(actions().openFile);
    ASSERT_FALSE(data.image.DataBufferEmpty);
    const auto offered = [this] {
        QStringList names;
        for (QAction *a : {actions().interpolate, actions().smooth, actions().compareWithFile, actions().importCsv,
                           actions().undo, actions().redo, actions().stopComparing})
            if (a->isEnabled())
                names << a->objectName();
        return names;
    };
    EXPECT_FALSE(window->isTableOpen());
    EXPECT_EQ(offered(), QStringList{});
    EXPECT_TRUE(actions().exportCsv->isEnabled());  // the closed table exports as it would open
    openTable();
    EXPECT_TRUE(window->isTableOpen());
    EXPECT_EQ(offered(), (QStringList{QStringLiteral("mnuInterpolate"), QStringLiteral("mnuSmooth"),
                                      QStringLiteral("mnuCompareWithFile"), QStringLiteral("mnuImportCsv")}));

    // After any edit the export is what the saved image's table exports.
    model().setValue(3, 4, 10.7143, QStringLiteral("Edit"));
    runWithFile(actions().exportCsv, path(QStringLiteral("live.csv")));
    choose(actions().saveTbl);
    TimingTables saved;
    decodeTables(data.image, 25, saved);
    QFile live(path(QStringLiteral("live.csv")));
    ASSERT_TRUE(live.open(QIODevice::ReadOnly));
    EXPECT_EQ(live.readAll(), tablecsv::write3D(saved.table3D, 25, data.params.MAPSensor));
}

// A spreadsheet is named as one at Compare With File, a drop, Import Table
// into Grid and File > Open; the CSV a spreadsheet writes by default in a
// decimal-comma locale imports to the values it was exported from.
TEST_F(CompareCommandsTest, SpreadsheetsAreNamedWhereverHandedInAndTheirCommaCsvImports)
{
    shown();
    chooseTable(false);
    data.tables.table3D(3, 2) = 21.3;
    openTable();
    const ModuleImage image = data.image;
    const QString xlsx = testDataPath(QStringLiteral("map-rels-first.xlsx"));
    ui.answers = {Answer::OK};
    compareWith(xlsx);
    EXPECT_EQ(ui.messages().back().text, xlsx + QStringLiteral(" is a spreadsheet, not a data file: save its table "
                                                               "as CSV, then open the timing table and use File > "
                                                               "Import Table into Grid..."));
    EXPECT_FALSE(overlay().isActive());
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(testDataPath(QStringLiteral("map-mimetype-last.ods")))});
    EXPECT_TRUE(ui::DataFileDrop::refusal(dropped).endsWith(QStringLiteral(
        "map-mimetype-last.ods is a spreadsheet, not a data file: save its table as CSV, then open the timing table "
        "and use File > Import Table into Grid...")));

    const editor::ValueBlock before = model().values();
    ui.answers = {Answer::OK};
    runWithFile(actions().importCsv, xlsx);
    EXPECT_EQ(ui.messages().back().text, xlsx + QStringLiteral(" is a spreadsheet: save its table as CSV, then use "
                                                               "Import Table into Grid\r\n\r\nNothing was imported."));
    EXPECT_EQ(ui.messages().back().title, QStringLiteral("Import Table into Grid"));

    // Exported, then saved as a French spreadsheet saves CSV by default.
    runWithFile(actions().exportCsv, path(QStringLiteral("map.csv")));
    QFile exported(path(QStringLiteral("map.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    static const QRegularExpression decimal(QStringLiteral(",([0-9]+)\\.([0-9]+)"));
    const QByteArray french =
        QString::fromUtf8(exported.readAll()).replace(decimal, QStringLiteral(",\"\\1,\\2\"")).toUtf8();
    ASSERT_TRUE(french.contains(",\"21,2979\","));
    QFile frenchFile(path(QStringLiteral("french.csv")));
    ASSERT_TRUE(frenchFile.open(QIODevice::WriteOnly) && frenchFile.write(french) == french.size());
    frenchFile.close();
    model().setValue(2, 2, 24, QStringLiteral("Edit"));
    runWithFile(actions().importCsv, path(QStringLiteral("french.csv")));
    EXPECT_EQ(model().undoText(), QStringLiteral("Import"));
    EXPECT_EQ(model().values(), before);

    ui.answers = {Answer::OK, Answer::OK};  // overwrite, the refusal
    runWithFile(actions().openFile, testDataPath(QStringLiteral("map.ods")));
    EXPECT_TRUE(ui.messages().back().text.endsWith(QStringLiteral("map.ods is a spreadsheet, not a data file: save "
                                                                  "its table as CSV, then open the timing table and "
                                                                  "use File > Import Table into Grid...")));
    EXPECT_EQ(data.image.EEPROMBuffer, image.EEPROMBuffer);
}

// In a decimal-comma locale the status bar writes its numbers with commas,
// the CSV export offers the form such a spreadsheet reads first, and an
// import says in the status bar what it did, as the export does.
TEST_F(CompareCommandsTest, ADecimalCommaLocaleShowsCommasAndOffersSemicolonsFirst)
{
    struct LocaleKept {
        QLocale before;
        ~LocaleKept() { QLocale::setDefault(before); }
    } kept;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    shown();
    chooseTable(false);  // a flat 20 in the 3D map, window 8 .. 30
    openTable();
    window->grid3D()->selectAll();
    ui.answers = {Answer::OK};  // the box on limited values
    window->findChild<ui::SelectionCommands *>()->step(editor::TableKind::Map3D, 30);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("168 values limited to the advance window 8,0 .. 30,0 degrees"));
    window->grid3D()->setCurrentCell(2, 3);
    EXPECT_TRUE(window->statusBar()->findChild<QLabel *>(QStringLiteral("lblCurrentCell"))->text().endsWith(
        QStringLiteral("Advance 30,0000   Window 8,0 .. 30,0")));

    runWithFile(actions().exportCsv, path(QStringLiteral("de")));
    QFile exported(path(QStringLiteral("de.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_TRUE(exported.readLine().startsWith("MAP/RPM;0;500;"));
    runWithFile(actions().importCsv, path(QStringLiteral("de.csv")));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Table imported from ") + path(QStringLiteral("de.csv")));
}

}  // namespace
}  // namespace tunara::test
