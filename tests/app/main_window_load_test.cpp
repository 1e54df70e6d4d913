#include "app/app_fixture.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/port_setup_panel.h"
#include "views/timing_grid.h"
#include "link/module_protocol.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

const QString Design = QStringLiteral("Tunara Torvik Zoruro Version 1.0");

struct MenuItem {
    QAction *action;  // nullptr: a separator
    QByteArray name;
    const char *caption;
};

// The menu's items in this order, each the struct's action with its name and caption.
void expectItems(const QMenu &menu, const std::vector<MenuItem> &expected)
{
    const QList<QAction *> items = menu.actions();
    ASSERT_EQ(items.size(), qsizetype(expected.size())) << menu.objectName().toStdString();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MenuItem &e = expected[std::size_t(i)];
        EXPECT_EQ(items[i]->objectName(), QLatin1String(e.name));
        EXPECT_EQ(items[i]->isSeparator(), !e.action) << e.name.constData();
        if (e.action) {
            EXPECT_EQ(items[i], e.action) << e.name.constData();
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(e.caption));
        }
        static const QList<QByteArray> keyed = {"mnuOpenFile", "mnuSaveFile", "mnuPrintTable", "mnuExit",
                                                "mnuUndo",     "mnuRedo",     "mnuHelpContents", "mnuTakeCompared"};
        if (!keyed.contains(e.name)) {
            EXPECT_TRUE(items[i]->shortcuts().isEmpty()) << e.name.constData();
        }
    }
}

class MainWindowLoad : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
    }
};

TEST_F(MainWindowLoad, CaptionIsTheCompanyNameBeforeTheDesignCaption)
{
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(w.mainTitle(), Design);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Halvern Zazorer ") + Design);
    EXPECT_TRUE(ui.calls.empty());

    ui::frmTunara_Main &acme = loadWindow({QStringLiteral("Acme Tuning")});
    EXPECT_EQ(acme.windowTitle(), QStringLiteral("Acme Tuning ") + Design);
}

TEST_F(MainWindowLoad, EmptyCompanyInfoIsReportedOnceAndTheLoadGoesOn)
{
    ui.answers = {Answer::Ignore};
    ui::frmTunara_Main &w = loadWindow({});
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("company")));
    EXPECT_EQ(w.windowTitle(), Design);
    EXPECT_EQ(w.mainTitle(), Design);
    // The steps after the caption still ran.
    EXPECT_EQ(w.protocol().state().moduleType(), QStringLiteral("Torvik-1 Zoruro"));
    EXPECT_FALSE(actions().editTimingTable->isEnabled());
}

TEST_F(MainWindowLoad, MenuTreeHasEveryItemInPlaceWithCaptionAccessKeyAndName)
{
    ui::frmTunara_Main &w = loadWindow();
    const ui::MainActions &a = actions();
    const struct {
        QMenu *menu;
        const char *name;
        const char *caption;
        std::vector<MenuItem> items;
    } expected[] = {
        {a.file, "mnuFile", "&File",
         {{a.newTable, "mnuNewTable", "&New Timing Table"},
          {a.openFile, "mnuOpenFile", "&Open File"},
          {a.saveFile, "mnuSaveFile", "&Save File"},
          {a.tuneHistory, "mnuTuneHistory", "Tune &History..."},
          {a.exportCsv, "mnuExportCsv", "Export &Table as CSV..."},
          {a.importCsv, "mnuImportCsv", "&Import Table into Grid..."},
          {nullptr, "mnuFileSep1", nullptr},
          {a.printTable, "mnuPrintTable", "&Print Parameters And Timing Table"},
          {a.printSetup, "mnuPrintSetup", "Print Set&up..."},
          {a.printPreview, "mnuPrintPreview", "Print Pre&view..."},
          {a.exportPdf, "mnuExportPdf", "&Export Report as PDF..."},
          {nullptr, "mnuFileSep2", nullptr},
          {a.recentFiles[0], "mnuRecentFile1", ""},
          {a.recentFiles[1], "mnuRecentFile2", ""},
          {a.recentFiles[2], "mnuRecentFile3", ""},
          {a.recentFiles[3], "mnuRecentFile4", ""},
          {a.recentFiles[4], "mnuRecentFile5", ""},
          {a.recentFiles[5], "mnuRecentFile6", ""},
          {a.recentFiles[6], "mnuRecentFile7", ""},
          {a.recentFiles[7], "mnuRecentFile8", ""},
          {nullptr, "mnuRecentSep", nullptr},
          {a.exit, "mnuExit", "E&xit"}}},
        {a.edit, "mnuEdit", "&Edit",
         {{a.editModParams, "mnuEditModParams", "Edit &Module Parameters"},
          {a.editGPIOParams, "mnuEditGPIOParams", "Edit &Idle Stabilization And GPIO Parameters"},
          {a.editTimingTable, "mnuEditTimingTable", "Edit &Timing Table"},
          {a.saveTbl, "mnuSaveTbl", "Save Timing Table Edits To &Buffer"},
          {a.closeTbl, "mnuCloseTbl", "&Close Timing Table"},
          {nullptr, "mnuEditSepUndo", nullptr},
          {a.undo, "mnuUndo", "&Undo"},
          {a.redo, "mnuRedo", "&Redo"},
          {nullptr, "mnuEditSepSelection", nullptr},
          {a.interpolate, "mnuInterpolate", "I&nterpolate"},
          {a.smooth, "mnuSmooth", "&Smooth"},
          {nullptr, "mnuEditSepCompare", nullptr},
          {a.compareWithFile, "mnuCompareWithFile", "Compare &With File..."},
          {a.stopComparing, "mnuStopComparing", "St&op Comparing"},
          {a.takeCompared, "mnuTakeCompared", "Ta&ke Compared Values"}}},
        {a.communications, "mnuCommunications", "&Communications",
         {{a.download, "mnuDownload", "&Download From EEPROM"},
          {a.upload, "mnuUpload", "&Upload To EEPROM"},
          {a.writeEveryByte, "mnuWriteEveryByte", "&Write Every Byte"},
          {a.portSetup, "mnuPortSetup", "&Port Setup"}}},
        {a.help, "mnuHelp", "&Help",
         {{a.helpContents, "mnuHelpContents", "&Contents"}, {a.about, "mnuAbout", "&About..."}}},
    };
    const QList<QAction *> top = w.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);  // the pop-up menus are not in the bar
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(top[m]->menu(), expected[m].menu);
        EXPECT_EQ(top[m]->text(), QString::fromUtf8(expected[m].caption));
        EXPECT_EQ(top[m]->objectName(), QLatin1String(expected[m].name));
        EXPECT_EQ(expected[m].menu->objectName(), QLatin1String(expected[m].name));
        expectItems(*expected[m].menu, expected[m].items);
    }
    // The table history has the platform's keys, Redo also Ctrl+Y and Ctrl+Shift+Z.
    EXPECT_EQ(a.undo->shortcuts(), QKeySequence::keyBindings(QKeySequence::Undo));
    for (const QKeySequence &k : QKeySequence::keyBindings(QKeySequence::Redo) +
                                     QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        EXPECT_TRUE(a.redo->shortcuts().contains(k)) << k.toString().toStdString();
    // The everyday commands have the platform's keys; no key starts a transfer.
    EXPECT_EQ(a.openFile->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(a.saveFile->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(a.printTable->shortcut(), QKeySequence(QKeySequence::Print));
    EXPECT_TRUE(a.exit->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    EXPECT_EQ(a.helpContents->shortcut(), QKeySequence(Qt::Key_F1));

    for (const auto &[popUp, suffix] : {std::pair{&a.popUp2D, "2D"}, std::pair{&a.popUp3D, "3D"}}) {
        const QString s = QLatin1String(suffix);
        EXPECT_EQ(popUp->menu->objectName(), QStringLiteral("mnuPopUpEdit") + s);
        EXPECT_EQ(popUp->menu->title(), QStringLiteral("PopUp Edit ") + s);
        EXPECT_EQ(popUp->menu->parent(), &w);
        const QByteArray names[] = {("mnuPopUpCopy" + s).toLatin1(), ("mnuPopUpPaste" + s).toLatin1(),
                                    ("mnuPopUpModify" + s).toLatin1(), ("mnuPopUpSep" + s).toLatin1(),
                                    ("mnuPopUpInterpolate" + s).toLatin1(), ("mnuPopUpSmooth" + s).toLatin1(),
                                    ("mnuPopUpSepCompare" + s).toLatin1(), ("mnuPopUpTakeCompared" + s).toLatin1()};
        expectItems(*popUp->menu, {{popUp->copy, names[0], "&Copy"},
                                   {popUp->paste, names[1], "&Paste"},
                                   {popUp->modify, names[2], "&Modify"},
                                   {nullptr, names[3], nullptr},
                                   {popUp->interpolate, names[4], "&Interpolate"},
                                   {popUp->smooth, names[5], "&Smooth"},
                                   {nullptr, names[6], nullptr},
                                   {popUp->takeCompared, names[7], "Ta&ke Compared Values"}});
    }
}

// Every item of every menu, the recent files filled in, can be reached by
// its own access key.
TEST_F(MainWindowLoad, EveryMenuItemHasAnAccessKeyUniqueInItsMenu)
{
    ui::frmTunara_Main &w = loadWindow();
    const ui::MainActions &a = actions();
    for (std::size_t k = 0; k < a.recentFiles.size(); ++k) {
        a.recentFiles[k]->setText(QStringLiteral("&%1 x.dat").arg(k + 1));
        a.recentFiles[k]->setVisible(true);
    }
    QList<QMenu *> menus = {a.popUp2D.menu, a.popUp3D.menu};
    for (QAction *top : w.menuBar()->actions())
        menus << top->menu();
    ASSERT_EQ(menus.size(), 6);
    for (const QMenu *menu : menus) {
        QSet<QChar> keys;
        for (const QAction *item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString text = QString(item->text()).replace(QStringLiteral("&&"), QString());
            const qsizetype amp = text.indexOf(u'&');
            ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
            const QChar key = text[amp + 1].toLower();
            EXPECT_FALSE(keys.contains(key)) << menu->objectName().toStdString() << ": " << text.toStdString();
            keys.insert(key);
        }
    }
}

TEST_F(MainWindowLoad, MenuStatesAfterLoad)
{
    loadWindow();
    const ui::MainActions &a = actions();
    // Everything can be chosen but what needs a table mode, an open table,
    // a history or something copied.
    const QList<QAction *> off = {a.editTimingTable, a.saveTbl,         a.closeTbl,      a.undo,
                                  a.redo,            a.interpolate,     a.smooth,        a.compareWithFile,
                                  a.stopComparing,   a.importCsv,       a.popUp2D.paste, a.popUp3D.paste,
                                  a.takeCompared,    a.popUp2D.takeCompared, a.popUp3D.takeCompared};
    for (const QMenu *menu : {a.file, a.edit, a.communications, a.help, a.popUp2D.menu, a.popUp3D.menu})
        for (const QAction *item : menu->actions()) {
            if (!item->isSeparator() && item->isVisible()) {  // hidden: the unused recent-file items
                EXPECT_EQ(item->isEnabled(), !off.contains(item)) << item->objectName().toStdString();
            }
        }
}

TEST_F(MainWindowLoad, StoredPortIsSelected)
{
    settings->saveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("12"));
    ui::frmTunara_Main &w = loadWindow();
    const auto *cbo = w.findChild<QComboBox *>(QStringLiteral("cboPort"));
    ASSERT_NE(cbo, nullptr);
    EXPECT_EQ(cbo->count(), 255);
    EXPECT_EQ(cbo->itemText(0), QStringLiteral("Com1"));
    EXPECT_EQ(cbo->itemText(254), QStringLiteral("Com255"));
    EXPECT_EQ(cbo->currentText(), QStringLiteral("Com12"));
    EXPECT_EQ(port.number, 12);
    EXPECT_EQ(w.protocol().CommPortNumber(), 12);
    EXPECT_FALSE(port.opened);
    EXPECT_EQ(port.opens, 0);
}

TEST_F(MainWindowLoad, NoStoredPortSelectsCom1)
{
    port.number = 7;
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(w.findChild<QComboBox *>(QStringLiteral("cboPort"))->currentIndex(), 0);
    EXPECT_EQ(port.number, 1);
}

TEST_F(MainWindowLoad, StoredPortZeroLeavesTheListWithoutSelection)
{
    settings->saveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("0"));
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(w.findChild<QComboBox *>(QStringLiteral("cboPort"))->currentIndex(), -1);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowLoad, BadStoredPortIsReportedAndIgnoreLetsTheLoadRun)
{
    for (const char *stored : {"abc", "256", "-1"}) {
        ui.calls.clear();
        settings->saveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QLatin1String(stored));
        ui.answers = {Answer::Ignore};
        ui::frmTunara_Main &w = loadWindow();
        ASSERT_EQ(ui.messages().size(), 1u) << stored;
        const UiCall m = ui.messages()[0];
        EXPECT_EQ(m.title, QStringLiteral("Error"));
        EXPECT_EQ(m.icon, Icon::Critical);
        EXPECT_TRUE(m.text.contains(QLatin1String(stored))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("Port Setup"))) << m.text.toStdString();
        EXPECT_EQ(w.findChild<QComboBox *>(QStringLiteral("cboPort"))->currentIndex(), -1) << stored;
        EXPECT_EQ(port.number, 0) << stored;  // no port is used that the list does not show
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Halvern Zazorer ") + Design) << stored;
    }
}

TEST_F(MainWindowLoad, AbortLeavesTheLoadAtTheFailingStep)
{
    settings->saveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("x"));
    ui.answers = {Answer::Abort};
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(port.settingsApplied, 0);  // the next step never ran
    EXPECT_EQ(w.windowTitle(), Design);
}

TEST_F(MainWindowLoad, RetryReadsTheStoredPortAgain)
{
    settings->saveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("x"));
    ui.answers = {Answer::Retry, Answer::Ignore};
    loadWindow();
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(MainWindowLoad, MissingTemplatesAreReportedAndTheProgramContinues)
{
    removeProgramFile(QStringLiteral("Torvik_2D_Timing_Chart.oc2"));
    removeProgramFile(QStringLiteral("Torvik_3D_1Bar_Timing_Chart.oc3"));
    ui.answers = {Answer::OK, Answer::OK};
    ui::frmTunara_Main &w = loadWindow();
    const std::vector<UiCall> m = ui.messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, QStringLiteral("Chart template file Torvik_2D_Timing_Chart.oc2 not found."));
    EXPECT_EQ(m[1].text, QStringLiteral("Chart template file Torvik_3D_1Bar_Timing_Chart.oc3 not found."));
    for (const UiCall &c : m) {
        EXPECT_EQ(c.title, QStringLiteral("Form Load"));
        EXPECT_EQ(c.buttons, Buttons::OK);
        EXPECT_EQ(c.icon, Icon::Exclamation);
    }
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Halvern Zazorer ") + Design);
    EXPECT_EQ(w.grid2D()->cellText(0, 0), QStringLiteral("RPM"));
}

TEST_F(MainWindowLoad, UnreadableTemplateIsNamedAsSuch)
{
    writeProgramFile(QStringLiteral("Torvik_3D_1Bar_Timing_Chart.oc3"), "{ broken");
    ui.answers = {Answer::OK};
    loadWindow();
    ASSERT_EQ(ui.messages().size(), 1u);
    // Said to be unusable, with the reason, and not said to be missing.
    const QString text = ui.messages()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Chart template file Torvik_3D_1Bar_Timing_Chart.oc3 cannot be used: ")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("not found")));
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Form Load"));
}

TEST_F(MainWindowLoad, TemplatesGiveTheChartsTheirLook)
{
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(w.chart2D()->chart()->title(), QStringLiteral("Ignition Advance"));
    EXPECT_TRUE(w.chart3D()->currentTemplate().title.contains(QStringLiteral("1 Bar")));
    EXPECT_FALSE(w.chart2D()->isValueLabelVisible());
    EXPECT_FALSE(w.chart3D()->isValueLabelVisible());
}

TEST_F(MainWindowLoad, GridsCarryTheirHeadings)
{
    ui::frmTunara_Main &w = loadWindow();
    views::TimingGrid *g1 = w.grid2D();
    ASSERT_EQ(g1->objectName(), QStringLiteral("VSFlexGrid1"));
    EXPECT_EQ(g1->rowCount(), 2);
    EXPECT_EQ(g1->columnCount(), 22);
    EXPECT_EQ(g1->cellText(0, 0), QStringLiteral("RPM"));
    EXPECT_EQ(g1->cellText(1, 0), QStringLiteral("ADV"));
    EXPECT_EQ(g1->cellText(0, 1), QStringLiteral("0"));
    EXPECT_EQ(g1->cellText(0, 2), QStringLiteral("500"));
    EXPECT_EQ(g1->cellText(0, 21), QStringLiteral("10000"));
    EXPECT_EQ(g1->currentRow(), 0);
    EXPECT_EQ(g1->currentColumn(), 0);
    EXPECT_EQ(g1->toolTip(), QStringLiteral("Click to select or double click to edit cell"));

    views::TimingGrid *g2 = w.grid3D();
    ASSERT_EQ(g2->objectName(), QStringLiteral("VSFlexGrid2"));
    EXPECT_EQ(g2->rowCount(), 9);
    EXPECT_EQ(g2->columnCount(), 22);
    EXPECT_EQ(g2->cellText(0, 0), QStringLiteral("MAP/RPM"));
    EXPECT_EQ(g2->cellText(0, 21), QStringLiteral("10000"));
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(g2->cellText(r, 0), QString::number(14 + 2 * r)) << r;  // 16, 18, .. 30
    for (QWidget *view : {static_cast<QWidget *>(w.chart2D()), static_cast<QWidget *>(g1),
                          static_cast<QWidget *>(w.chart3D()), static_cast<QWidget *>(g2)})
        EXPECT_TRUE(view->isHidden()) << view->objectName().toStdString();
}

TEST_F(MainWindowLoad, ProgramStateStartsClean)
{
    const QString workingFolderBefore = QDir::currentPath();
    data.image.EEPROMBuffer.fill(0xA5);
    data.image.DataBufferEmpty = false;
    data.params.TrigTiming = 12;
    data.tables.table2D(5, 1) = 17;
    data.tables.table3D(3, 4) = 21;
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    ui::frmTunara_Main &w = makeWindow();
    w.protocol().state().requestAbort();
    w.protocol().state().forgetModule();  // no model, as after a file open
    w.clip().ClipText = QStringLiteral("1\t2");
    w.clip().ClipColSpan = 1;
    w.Form_Load();

    EXPECT_TRUE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.image.EEPROMBuffer[0], 0);
    EXPECT_EQ(data.image.EEPROMBuffer[255], 0);
    EXPECT_EQ(data.image.EEPROMBuffer[256], 0xA5);  // the top bytes are kept
    EXPECT_EQ(data.params, ModuleParameters{});
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table2D, Table2D{});
    EXPECT_EQ(data.tables.table3D, Table3D{});
    EXPECT_FALSE(w.protocol().state().abortRequested());
    EXPECT_TRUE(w.protocol().state().firmwareID().isEmpty());
    EXPECT_EQ(w.protocol().state().moduleType(), QStringLiteral("Torvik-1 Zoruro"));
    EXPECT_TRUE(w.clip().ClipText.isEmpty());
    EXPECT_EQ(w.clip().ClipColSpan, 0);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tunara_Kelm_Main"));
    // The working folder stays where the user started the program.
    EXPECT_EQ(QDir::currentPath(), workingFolderBefore);
    // Serial settings applied once, the port not opened.
    EXPECT_EQ(port.settingsApplied, 1);
    EXPECT_EQ(port.opens, 0);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 0);
}

}  // namespace
}  // namespace tunara::test
