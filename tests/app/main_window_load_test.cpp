#include "app/app_fixture.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/menu_commands.h"
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

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

const QString Design = QStringLiteral("Tunara Torvik Zoruro Version 1.0");

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
    EXPECT_EQ(w.MainTitle, Design);
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
    EXPECT_EQ(w.MainTitle, Design);
    // The steps after the caption still ran.
    EXPECT_EQ(w.protocol().ModuleType, QStringLiteral("Torvik-1 Zoruro"));
    EXPECT_FALSE(w.commands().isAllowed(QStringLiteral("mnuEditTimingTable")));
}

TEST_F(MainWindowLoad, MenuTreeHasEveryCaptionAndAccessKey)
{
    ui::frmTunara_Main &w = loadWindow();
    const struct {
        const char *menu;
        std::vector<const char *> items;  // "-" for a separator
    } expected[] = {
        {"&File", {"&New Timing Table", "&Open File", "&Save File", "Open &Restore Point...",
                   "Export Table as CSV...", "Import Table into Grid...", "-",
                   "&Print Parameters And Timing Table", "Print Set&up...", "Print Pre&view...",
                   "&Export Report as PDF...", "-", "E&xit"}},
        {"&Edit", {"Edit &Module Parameters", "Edit &Idle Stabilization And GPIO Parameters", "Edit &Timing Table",
                   "Save Timing Table Edits To Buffer", "Close Timing Table", "-", "Undo", "Redo", "-", "Interpolate",
                   "Smooth", "-", "Compare With File...", "Stop Comparing"}},
        {"&Communications", {"&Download From EEPROM", "&Upload To EEPROM", "&Port Setup"}},
        {"&Help", {"&Contents", "&About..."}},
    };
    const QList<QAction *> top = w.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);  // the pop-up menus are not in the bar
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(top[m]->text(), QString::fromUtf8(expected[m].menu));
        const QList<QAction *> items = top[m]->menu()->actions();
        ASSERT_EQ(items.size(), qsizetype(expected[m].items.size())) << expected[m].menu;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (QByteArray(expected[m].items[i]) == "-") {
                EXPECT_TRUE(items[i]->isSeparator());
            } else {
                EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected[m].items[i]));
                // Only the table history has the platform's standard keys.
                const bool history = items[i]->objectName() == QStringLiteral("mnuUndo") ||
                                     items[i]->objectName() == QStringLiteral("mnuRedo");
                EXPECT_EQ(items[i]->shortcut().isEmpty(), !history) << expected[m].items[i];
            }
        }
    }
    for (const char *popup : {"mnuPopUpEdit2D", "mnuPopUpEdit3D"}) {
        const QMenu *menu = w.findChild<QMenu *>(QLatin1String(popup));
        ASSERT_NE(menu, nullptr) << popup;
        QStringList captions;
        for (const QAction *a : menu->actions())
            captions << a->text();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("Copy"), QStringLiteral("Paste"), QStringLiteral("Modify"),
                                         QString(), QStringLiteral("Interpolate"), QStringLiteral("Smooth")}));
    }
    EXPECT_EQ(w.findChild<QMenu *>(QStringLiteral("mnuPopUpEdit2D"))->title(), QStringLiteral("PopUp Edit 2D"));
}

TEST_F(MainWindowLoad, MenuStatesAfterLoad)
{
    ui::frmTunara_Main &w = loadWindow();
    ui::MenuCommands &c = w.commands();
    // The program's own states.
    EXPECT_TRUE(c.isAllowed(QStringLiteral("mnuNewTable")));
    for (const char *off : {"mnuEditTimingTable", "mnuSaveTbl", "mnuCloseTbl", "mnuPopUpPaste2D", "mnuPopUpPaste3D"})
        EXPECT_FALSE(c.isAllowed(QLatin1String(off))) << off;
    // What the user can choose: the commands this version has, nothing else.
    for (const char *on : {"mnuExit", "mnuPortSetup", "mnuHelpContents", "mnuAbout", "mnuEditModParams",
                           "mnuEditGPIOParams", "mnuPrintTable", "mnuPrintSetup", "mnuPrintPreview", "mnuExportPdf",
                           "mnuOpenFile", "mnuSaveFile", "mnuOpenRestorePoint", "mnuDownload", "mnuUpload",
                           "mnuNewTable", "mnuPopUpCopy2D", "mnuPopUpModify2D", "mnuPopUpCopy3D", "mnuPopUpModify3D"})
        EXPECT_TRUE(w.findChild<QAction *>(QLatin1String(on))->isEnabled()) << on;
    for (const char *off : {"mnuUndo", "mnuRedo", "mnuEditTimingTable", "mnuSaveTbl", "mnuCloseTbl",
                            "mnuPopUpPaste2D", "mnuPopUpPaste3D", "mnuInterpolate", "mnuSmooth"})
        EXPECT_FALSE(w.findChild<QAction *>(QLatin1String(off))->isEnabled()) << off;
}

TEST_F(MainWindowLoad, StoredPortIsSelected)
{
    settings->SaveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("12"));
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
    settings->SaveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("0"));
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(w.findChild<QComboBox *>(QStringLiteral("cboPort"))->currentIndex(), -1);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowLoad, BadStoredPortIsReportedAndIgnoreLetsTheLoadRun)
{
    for (const char *stored : {"abc", "256", "-1"}) {
        ui.calls.clear();
        settings->SaveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QLatin1String(stored));
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
    settings->SaveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("x"));
    ui.answers = {Answer::Abort};
    ui::frmTunara_Main &w = loadWindow();
    EXPECT_EQ(port.settingsApplied, 0);  // the next step never ran
    EXPECT_EQ(w.windowTitle(), Design);
}

TEST_F(MainWindowLoad, RetryReadsTheStoredPortAgain)
{
    settings->SaveSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), QStringLiteral("x"));
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
    // The first line is the usual message, the second says why.
    const QStringList lines = ui.messages()[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Chart template file Torvik_3D_1Bar_Timing_Chart.oc3 not found."));
    EXPECT_FALSE(lines[1].isEmpty());
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
    data.image.EEPROMBuffer.fill(0xA5);
    data.image.DataBufferEmpty = false;
    data.params.TrigTiming = 12;
    data.tables.table2D(5, 1) = 17;
    data.tables.table3D(3, 4) = 21;
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    ui::frmTunara_Main &w = makeWindow();
    w.protocol().AbortRequested = true;
    w.protocol().FirmwareID = QStringLiteral("old");
    w.protocol().ModuleType = QStringLiteral("Unknown");
    w.Clip.ClipText = QStringLiteral("1\t2");
    w.Clip.ClipColSpan = 1;
    w.DataFileTitle = QStringLiteral("old.dat");
    w.Form_Load();

    EXPECT_TRUE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.image.EEPROMBuffer[0], 0);
    EXPECT_EQ(data.image.EEPROMBuffer[255], 0);
    EXPECT_EQ(data.image.EEPROMBuffer[256], 0xA5);  // the top bytes are kept
    EXPECT_EQ(data.params, ModuleParameters{});
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table2D, Table2D{});
    EXPECT_EQ(data.tables.table3D, Table3D{});
    EXPECT_FALSE(w.protocol().AbortRequested);
    EXPECT_TRUE(w.protocol().FirmwareID.isEmpty());
    EXPECT_EQ(w.protocol().ModuleType, QStringLiteral("Torvik-1 Zoruro"));
    EXPECT_TRUE(w.Clip.ClipText.isEmpty());
    EXPECT_EQ(w.Clip.ClipColSpan, 0);
    EXPECT_TRUE(w.DataFileTitle.isEmpty());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tunara_Kelm_Main"));
    EXPECT_EQ(QDir::currentPath(), QDir(programFolder()).canonicalPath());
    // Serial settings applied once, the port not opened.
    EXPECT_EQ(port.settingsApplied, 1);
    EXPECT_EQ(port.opens, 0);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 0);
}

}  // namespace
}  // namespace tunara::test
