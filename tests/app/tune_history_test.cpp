// File > Tune History: where each restore point's image came from, and the
// window's actions as the user clicks them.
#include "app/commands/compare_commands.h"
#include "app/commands/history_commands.h"
#include "app/data_fixture.h"
#include "app/progress_frame.h"
#include "dialogs/tune_history_window.h"
#include "views/difference_heat_map.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::TuneHistoryWindow;

class TuneHistory : public DataCommandsTest {
protected:
    void SetUp() override
    {
        DataCommandsTest::SetUp();
        ui.onModal = [](QDialog &) { return int(QDialog::Rejected); };  // the parameters dialog after an open
    }
    void open(const QString &name)
    {
        ui.fileNames = {path(name)};
        ui.answers = {Answer::OK, Answer::OK};  // the overwrite question when asked, the loaded note
        choose(actions().openFile);
        ui.answers.clear();
    }
    void upload()
    {
        ui.answers = {Answer::OK, Answer::OK};  // the firmware, completed
        choose(actions().upload);
    }
    static QString origin(const restore::Entry &e) { return e.source.text() + u'|' + e.firmware; }
    TuneHistoryWindow &history() { return window->historyCommands().window(); }
    QPushButton *button(const char *name) { return history().findChild<QPushButton *>(QLatin1String(name)); }
    QTreeWidgetItem *row(const QString &path) { return history().itemOf(path); }
    QList<restore::Entry> points() { return keeper().restorePoints().list(); }
    restore::Entry entry(const QString &path)
    {
        for (const restore::Entry &e : points())
            if (e.path == path)
                return e;
        return {};
    }

    // base.dat runs a 3D map; tuned.dat has one parameter and three map
    // cells changed (one by 28 steps, 2.46 degrees).
    void writeTunes()
    {
        sim::SimulatedModule::Memory base = sim::SimulatedModule::defaultMemory();
        base[50] = 0x9C;
        for (std::size_t a = 112; a < 280; ++a)
            base[a] = std::uint8_t(20 + a % 30);
        writeFile(QStringLiteral("base.dat"), transferBytes(base));
        sim::SimulatedModule::Memory tuned = base;
        tuned[52] = 4;  // RetardComp
        tuned[140] += 28;
        tuned[141] += 1;
        tuned[142] += 1;
        writeFile(QStringLiteral("tuned.dat"), transferBytes(tuned));
    }
};

TEST_F(TuneHistory, EachPointRecordsWhereItsImageCameFromAndThatLinksFirmware)
{
    sim.setMemory(memory2D());
    linkedWindow();
    const QString module = QStringLiteral("Com%1 (%2)").arg(serial.portNumber()).arg(sim.devicePath());
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().download);
    // A second module with other firmware: what the buffer held came from the first.
    sim.setFirmwareID("Torvik-1 Zoruro V3.0");
    ui.answers = {Answer::OK, Answer::OK, Answer::OK};
    choose(actions().download);
    writeFile(QStringLiteral("edit.dat"), transferBytes(sim::SimulatedModule::defaultMemory()));
    open(QStringLiteral("edit.dat"));
    upload();
    QStringList origins;
    for (const restore::Entry &e : points())
        origins << restore::eventText(e.event) + u'|' + origin(e);
    const QString file = QStringLiteral("edit.dat (%1)").arg(m_dir.path());
    EXPECT_EQ(origins, (QStringList{QStringLiteral("Before upload|") + file + u'|',
                                    QStringLiteral("Module before upload|") + module + QStringLiteral("|Torvik-1 Zoruro V3.0"),
                                    QStringLiteral("Before open|") + module + QStringLiteral("|Torvik-1 Zoruro V3.0"),
                                    QStringLiteral("Downloaded|") + module + QStringLiteral("|Torvik-1 Zoruro V3.0"),
                                    QStringLiteral("Before download|") + module + QStringLiteral("|Torvik-1 Zoruro V2.1"),
                                    QStringLiteral("Downloaded|") + module + QStringLiteral("|Torvik-1 Zoruro V2.1")}));
}

TEST_F(TuneHistory, APointMadeBeforeAnUploadIsComparedWithTheOpenTableInOneClick)
{
    writeTunes();
    linkedWindow();
    open(QStringLiteral("tuned.dat"));
    upload();
    const QString beforeUpload = points().at(0).path;
    open(QStringLiteral("base.dat"));
    choose(actions().editTimingTable);
    choose(actions().tuneHistory);
    ASSERT_TRUE(history().isVisible());
    ASSERT_EQ(history().list()->topLevelItemCount(), 1);  // one day
    ASSERT_EQ(history().list()->topLevelItem(0)->childCount(), 3);
    QTreeWidgetItem *point = row(beforeUpload);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->text(TuneHistoryWindow::EventColumn), QStringLiteral("Upload: image sent"));
    EXPECT_EQ(point->text(TuneHistoryWindow::SourceColumn), QStringLiteral("tuned.dat (%1)").arg(m_dir.path()));
    EXPECT_EQ(point->text(TuneHistoryWindow::AgainstColumn), QStringLiteral("1 parameter, 3 cells, up to 2.5°"));

    // One click: no file dialog, the overlay on the point's table.
    ASSERT_TRUE(history().selectPath(beforeUpload));
    EXPECT_EQ(history().findChild<views::DifferenceHeatMap *>()->changedCells(), 3);
    EXPECT_EQ(history().findChild<QListWidget *>(QStringLiteral("lstHistoryParameters"))->item(0)->text(),
              QStringLiteral("Retard Comp 0.5° → 0.0°"));
    const std::size_t calls = ui.calls.size();
    button("cmdHistoryCompare")->click();
    EXPECT_EQ(ui.calls.size(), calls);
    const views::CompareOverlay &overlay = window->compareCommands().overlay();
    EXPECT_TRUE(overlay.isActive());
    EXPECT_EQ(overlay.differences().size(), 3u);
    EXPECT_TRUE(overlay.source().name.startsWith(QStringLiteral("Upload: image sent, "))) << overlay.source().name.toStdString();

    // The column follows the table as it is edited.
    window->session().model().setValue(0, 0, window->session().model().value(0, 0) - 1, QStringLiteral("Edit"));
    EXPECT_EQ(point->text(TuneHistoryWindow::AgainstColumn), QStringLiteral("1 parameter, 4 cells, up to 2.5°"));

    // The filter looks at source, note and firmware.
    history().filter()->setText(QStringLiteral("TUNED.DAT"));
    EXPECT_FALSE(point->isHidden());
    history().filter()->setText(QStringLiteral("V2.1"));
    EXPECT_TRUE(point->isHidden());
    EXPECT_FALSE(row(points().last().path)->isHidden());  // what the module held
    history().filter()->clear();
    QTest::keyClick(history().filter(), Qt::Key_Escape);  // closes it, as a dialog
    EXPECT_FALSE(history().isVisible());

    // A file chosen by hand among the points never becomes the dialogs' folder.
    ui.fileNames = {beforeUpload};
    choose(actions().compareWithFile);
    ui.fileNames = {};
    ui.answers = {Answer::OK};  // the overwrite question
    choose(actions().openFile);
    EXPECT_EQ(ui.calls.back().kind, UiCall::Kind::OpenFile);
    EXPECT_EQ(ui.calls.back().text, path(QStringLiteral("base.dat")));
}

TEST_F(TuneHistory, OpenUploadKeepAndNoteFromTheWindow)
{
    writeTunes();
    linkedWindow();
    open(QStringLiteral("tuned.dat"));
    upload();
    const restore::Entry tuned = points().at(0);
    open(QStringLiteral("base.dat"));
    upload();  // the module holds base.dat now
    choose(actions().tuneHistory);
    ASSERT_TRUE(history().selectPath(tuned.path));

    ui.onModal = [](QDialog &dialog) {
        dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtNote"))->setPlainText(QStringLiteral("Ann\nred bike"));
        return int(QDialog::Accepted);
    };
    button("cmdHistoryNote")->click();
    EXPECT_EQ(row(tuned.path)->text(TuneHistoryWindow::NoteColumn), QStringLiteral("Ann / red bike"));
    // A note longer than a note may be: OK is off, and the store refuses it.
    ui.onModal = [](QDialog &dialog) {
        dialog.findChild<QPlainTextEdit *>()->setPlainText(QString(restore::RestorePoints::MaxNoteChars + 1, u'x'));
        EXPECT_FALSE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
        return int(QDialog::Accepted);
    };
    ui.answers = {Answer::OK};
    button("cmdHistoryNote")->click();
    EXPECT_EQ(ui.messages().back().title, QStringLiteral("Tune History"));
    EXPECT_EQ(entry(tuned.path).note, QStringLiteral("Ann\nred bike"));

    button("cmdHistoryKeep")->click();
    EXPECT_TRUE(button("cmdHistoryKeep")->isChecked());
    EXPECT_EQ(row(tuned.path)->text(TuneHistoryWindow::EventColumn), QStringLiteral("Upload: image sent, kept"));

    // Upload: the point opened through the overwrite question, then uploaded.
    ui.onModal = [](QDialog &) { return int(QDialog::Rejected); };
    const int listed = history().list()->topLevelItem(0)->childCount();
    ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite, the firmware, completed
    // Esc while it writes only says that writing cannot stop: the history stays open.
    bool escPressed = false;
    QObject::connect(window->progressFrame()->bar(), &QProgressBar::valueChanged, &history(), [&] {
        if (!escPressed && window->progressFrame()->title() == QStringLiteral("Programming EEPROM")) {
            escPressed = true;
            QTest::keyClick(history().list(), Qt::Key_Escape);
        }
    });
    button("cmdHistoryUpload")->click();
    EXPECT_TRUE(escPressed);
    EXPECT_TRUE(history().isVisible());
    EXPECT_TRUE(ui.messages().back().text.startsWith(QStringLiteral("Upload completed."))) << ui.messages().back().text.toStdString();
    EXPECT_EQ(transferBytes(sim.memory()), tuned.bytes);
    // The window followed the points the open and the upload kept.
    EXPECT_EQ(history().list()->topLevelItem(0)->childCount(), listed + 3);

    // Open: as File > Open File does.
    const restore::Entry held = points().last();  // what the module held first
    ASSERT_TRUE(history().selectPath(held.path));
    ui.answers = {Answer::OK, Answer::OK};  // overwrite, loaded
    button("cmdHistoryOpen")->click();
    EXPECT_EQ(imageBytes(), held.bytes);
    // Written again, it keeps the firmware of the module it was read from.
    upload();
    EXPECT_EQ(points().at(0).source.fileName, QFileInfo(held.path).fileName());
    EXPECT_EQ(points().at(0).firmware, QStringLiteral("Torvik-1 Zoruro V2.1"));
}

}  // namespace
}  // namespace tunara::test
