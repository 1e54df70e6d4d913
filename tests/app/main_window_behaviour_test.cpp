#include "app/app_fixture.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/port_setup_panel.h"
#include "views/timing_grid.h"
#include "views/window_layout.h"
#include "app/commands/table_commands.h"
#include "link/module_protocol.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include "dialogs/help_window.h"
#include "dialogs/qt_user_interface.h"
#include "app/progress_frame.h"
#include <QScreen>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

const QString CRLF = QStringLiteral("\r\n");

class MainWindowBehaviour : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
    }
    ui::frmTunara_Main &shown()
    {
        ui::frmTunara_Main &w = loadWindow();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    // Opens the 2D or 3D table of a flat 20 degrees and types 25 into its
    // first cell; the working arrays as they were before.
    TimingTables openEditedTable(bool table3D)
    {
        data.params.TimingTable2D = !table3D;
        data.params.TimingTable3D = table3D;
        data.image.DataBufferEmpty = false;
        for (int p = 1; p <= SpeedPoints; ++p) {
            data.tables.table2D(p, 1) = 20;
            for (int m = 1; m <= PressureRows; ++m)
                data.tables.table3D(p, m) = 20;
        }
        window->applyTableMenuRule();
        choose(actions().editTimingTable);
        EXPECT_TRUE(window->isTableOpen());
        EXPECT_TRUE(window->tableCommands()->model().setValue(0, 0, 25, QStringLiteral("Typing")));
        ui.calls.clear();
        return data.tables;
    }
};

// ---- layout ----

TEST_F(MainWindowBehaviour, ResizeLaysOutAllFourViewsByTheRule)
{
    ui::frmTunara_Main &w = shown();
    w.resize(700, 500);
    QCoreApplication::processEvents();
    const double tpp = views::twipsPerPixelAt(w.logicalDpiY());
    const QRect outer = w.frameGeometry();
    // The status bar takes its height off the bottom of the client area.
    const int statusHeight = w.statusBar()->height();
    ASSERT_GT(statusHeight, 0);
    const views::TableViewsLayout l = views::layoutTableViews(outer.width() * tpp, (outer.height() - statusHeight) * tpp);
    const QRect chart(0, 0, views::twipsToPixels(l.chart.width, tpp), views::twipsToPixels(l.chart.height, tpp));
    const QRect grid(0, views::twipsToPixels(l.grid.top, tpp), views::twipsToPixels(l.grid.width, tpp),
                     views::twipsToPixels(l.grid.height, tpp));
    // Hidden views are laid out too.
    EXPECT_EQ(w.chart2D()->geometry(), chart);
    EXPECT_EQ(w.chart3D()->geometry(), chart);
    EXPECT_EQ(w.grid2D()->geometry(), grid);
    EXPECT_EQ(w.grid3D()->geometry(), grid);
    EXPECT_GT(grid.height(), 0);

    // Cells: every column Int(client width / 22) - 1 twips, in whole pixels
    // rounded down, so the 22 columns fit the grid.
    const int column = views::twipsToCellPixels(views::gridColumnWidth(w.grid2D()->contentsRect().width() * tpp), tpp);
    EXPECT_LE(22 * column, w.grid2D()->contentsRect().width());
    const int row2D = views::twipsToCellPixels(views::Grid2DRowHeight(w.grid2D()->contentsRect().height() * tpp), tpp);
    const int row3D = views::twipsToCellPixels(views::Grid3DRowHeight(w.grid3D()->contentsRect().height() * tpp), tpp);
    EXPECT_GT(row2D, row3D);
    // Raised only where the text needs more room.
    for (int c = 0; c < 22; ++c) {
        EXPECT_GE(w.grid2D()->columnWidth(c), column);
        EXPECT_GE(w.grid3D()->columnWidth(c), column);
    }
    EXPECT_EQ(w.grid2D()->rowHeight(1), row2D);
}

TEST_F(MainWindowBehaviour, GridCellsNeverShrinkBelowTheirText)
{
    // At the smallest window the rule's cells are far too small: every
    // heading and value keeps the room its text needs and the grid scrolls.
    ui::frmTunara_Main &w = shown();
    for (const QSize size : {w.minimumSize(), QSize(1280, 800)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        for (views::TimingGrid *grid : {w.grid2D(), w.grid3D()}) {
            const QFontMetrics text(grid->font());
            for (int r = 0; r < grid->rowCount(); ++r) {
                EXPECT_GE(grid->rowHeight(r), text.height()) << size.width();
                for (int c = 0; c < grid->columnCount(); ++c)
                    EXPECT_GT(grid->columnWidth(c), text.horizontalAdvance(grid->cellText(r, c))) << r << ", " << c;
            }
        }
    }
    // At 1280 x 800 the data columns keep the rule's width and all 22
    // columns, the wider heading column too, fit without scrolling.
    const double tpp = views::twipsPerPixelAt(w.logicalDpiY());
    const int column = views::twipsToCellPixels(views::gridColumnWidth(w.grid3D()->contentsRect().width() * tpp), tpp);
    int total = 0;
    for (int c = 0; c < 22; ++c) {
        if (c > 0) {
            EXPECT_EQ(w.grid3D()->columnWidth(c), column);
        }
        total += w.grid3D()->columnWidth(c);
    }
    EXPECT_LE(total, w.grid3D()->viewport()->width());
}

TEST_F(MainWindowBehaviour, ResizeClosesThePortAndReappliesTheSettings)
{
    ui::frmTunara_Main &w = shown();
    port.opened = true;
    w.lineErrors().CommErrorCount = 2;
    const int applied = port.settingsApplied;
    w.Form_Resize();
    EXPECT_FALSE(port.opened);
    EXPECT_EQ(port.settingsApplied, applied + 1);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 0);
}

TEST_F(MainWindowBehaviour, MinimisingClosesThePortWithoutReapplyingRestoringReapplies)
{
    ui::frmTunara_Main &w = shown();
    port.opened = true;
    w.lineErrors().CommErrorCount = 2;
    const int applied = port.settingsApplied;
    w.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.isMinimized());
    EXPECT_FALSE(port.opened);
    EXPECT_EQ(port.settingsApplied, applied);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 2);

    w.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_GT(port.settingsApplied, applied);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 0);
}

// ---- Esc ----

TEST_F(MainWindowBehaviour, IdleEscLeavesNoAbortPendingHidesLabelsAndStillReachesTheControl)
{
    ui::frmTunara_Main &w = shown();
    w.chart2D()->showValueLabel(QStringLiteral("12.0"), 3);
    w.chart3D()->showValueLabel(QStringLiteral("8.0"), 3, 2);
    w.mnuPortSetup_Click();
    QComboBox *cbo = w.portPanel()->list();

    // A control that records the keys it receives.
    struct Counter : QObject {
        int escapes = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape)
                ++escapes;
            return false;
        }
    } counter;
    cbo->installEventFilter(&counter);

    QTest::keyClick(cbo, Qt::Key_A);
    EXPECT_FALSE(w.protocol().state().abortRequested());
    EXPECT_TRUE(w.chart2D()->isValueLabelVisible());

    QTest::keyClick(cbo, Qt::Key_Escape);
    EXPECT_FALSE(w.protocol().state().abortRequested());  // only a running transfer listens
    EXPECT_FALSE(w.chart2D()->isValueLabelVisible());
    EXPECT_FALSE(w.chart3D()->isValueLabelVisible());
    EXPECT_EQ(counter.escapes, 1);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowBehaviour, EscInAnotherWindowIsNotTheMainWindowsKey)
{
    ui::frmTunara_Main &w = shown();
    QWidget other;
    other.show();
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_FALSE(w.protocol().state().abortRequested());
}

// ---- exit ----

TEST_F(MainWindowBehaviour, ExitWithNoTableOpenAsksNothing)
{
    ui::frmTunara_Main &w = shown();
    port.opened = true;
    w.findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(port.opened);
}

TEST_F(MainWindowBehaviour, ExitWithATableOpenAndCancelStaysOpenButLetsThePortGo)
{
    for (bool table3D : {false, true}) {
        ui.calls.clear();
        ui::frmTunara_Main &w = shown();
        if (table3D)
            w.session().openNew3D(Table3D{}, 20);
        else
            w.session().openNew2D(Table2D{}, 20);
        port.opened = true;
        ui.answers = {Answer::Cancel};
        w.mnuExit_Click();
        ASSERT_EQ(ui.messages().size(), 1u);
        const UiCall m = ui.messages()[0];
        EXPECT_EQ(m.text, QStringLiteral("Save timing table before exiting?"));
        EXPECT_EQ(m.title, QStringLiteral("Exit Program"));
        EXPECT_EQ(m.buttons, Buttons::YesNoCancel);
        EXPECT_EQ(m.icon, Icon::Exclamation);
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(port.opened);
    }
}

TEST_F(MainWindowBehaviour, ExitWithATableOpenAndNoLeavesWithoutSaving)
{
    ui::frmTunara_Main &w = shown();
    const TimingTables before = openEditedTable(false);
    ui.answers = {Answer::No, Answer::Yes};  // no save; exit with the image not written anywhere
    w.mnuExit_Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(data.tables.table2D, before.table2D);
}

TEST_F(MainWindowBehaviour, ExitWithATableOpenAndYesSavesThenLeaves)
{
    ui::frmTunara_Main &w = shown();
    const TimingTables before = openEditedTable(true);
    ui.answers = {Answer::Yes, Answer::Yes};
    w.mnuExit_Click();
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Save timing table before exiting?"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_NE(data.tables.table3D, before.table3D);
    // 25 as the module stores it, within one step.
    EXPECT_NEAR(data.tables.table3D(1, editor::TableEditModel::pressureIndexOfRow(0)), 25, 0.044);
}

TEST_F(MainWindowBehaviour, ClosingTheMainWindowClosesTheProgramsOtherWindows)
{
    ui::frmTunara_Main &w = shown();
    QWidget help;
    help.show();
    w.close();
    EXPECT_FALSE(help.isVisible());
}

// ---- About and Help ----

TEST_F(MainWindowBehaviour, AboutListsTheCompanyLines)
{
    ui::frmTunara_Main &w = shown();
    ui.answers = {Answer::OK};
    w.findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    ASSERT_EQ(ui.messages().size(), 1u);
    const UiCall m = ui.messages()[0];
    EXPECT_EQ(m.title, QStringLiteral("About"));
    EXPECT_EQ(m.buttons, Buttons::OK);
    EXPECT_EQ(m.icon, Icon::Information);
    const QStringList info = config::defaults().CompanyInfo;
    ASSERT_EQ(info.size(), 6);
    EXPECT_EQ(m.text, QStringLiteral("Halvern Zazorer Tunara Torvik Zoruro Version 1.00") + CRLF +
                          ui::frmTunara_Main::copyrightLine() + CRLF + CRLF + info[1] + CRLF + info[2] + CRLF +
                          info[3] + CRLF + info[4] + CRLF + info[5] + CRLF);
}

TEST_F(MainWindowBehaviour, AboutWithOneCompanyItemEndsAfterTheCopyright)
{
    EXPECT_EQ(ui::frmTunara_Main::aboutText({QStringLiteral("Acme")}),
              QStringLiteral("Acme Tunara Torvik Zoruro Version 1.00") + CRLF + ui::frmTunara_Main::copyrightLine() +
                  CRLF + CRLF);
    // Without any company line the text starts with the product.
    EXPECT_TRUE(ui::frmTunara_Main::aboutText({}).startsWith(QStringLiteral("Tunara Torvik Zoruro Version 1.00\r\n")));
}

TEST_F(MainWindowBehaviour, HelpContentsShowsTheContentsPage)
{
    ui::frmTunara_Main &w = shown();
    w.findChild<QAction *>(QStringLiteral("mnuHelpContents"))->trigger();
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].kind, UiCall::Kind::Help);
    EXPECT_EQ(ui.calls[0].text, programFile(QStringLiteral("Tunara_Kelm_Help/index.html")));
}

TEST_F(MainWindowBehaviour, MissingHelpIsReportedAndTheProgramRuns)
{
    QDir(programFile(QStringLiteral("Tunara_Kelm_Help"))).removeRecursively();
    ui::frmTunara_Main &w = shown();
    ui.answers = {Answer::OK};
    w.mnuHelpContents_Click();
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].kind, UiCall::Kind::Message);
    EXPECT_EQ(ui.calls[0].title, QStringLiteral("Help"));
    EXPECT_TRUE(ui.calls[0].text.contains(QStringLiteral("index.html")));
    EXPECT_TRUE(w.isVisible());
}

// ---- port set-up ----

TEST_F(MainWindowBehaviour, PortSetupShowsThePanelWithTheDevice)
{
    ui::frmTunara_Main &w = shown();
    auto *frame = w.findChild<QWidget *>(QStringLiteral("fraPortSelect"));
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isHidden());
    w.findChild<QAction *>(QStringLiteral("mnuPortSetup"))->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(w.portPanel()->title(), QStringLiteral("Data Port Setup"));
    EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("lblPort"))->text(), QStringLiteral("Port"));
    EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("lblPortDevice"))->text(), QStringLiteral("device of Com1"));
    auto *ok = w.findChild<QPushButton *>(QStringLiteral("cmdPortSelectOK"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(frame->isHidden());
}

TEST_F(MainWindowBehaviour, ChoosingAPortStoresItAndClosesTheOpenPort)
{
    ui::frmTunara_Main &w = shown();
    w.mnuPortSetup_Click();
    port.opened = true;
    QComboBox *cbo = w.portPanel()->list();
    cbo->setCurrentIndex(11);
    emit cbo->activated(11);
    EXPECT_EQ(settings->getSetting(QStringLiteral("Properties"), QStringLiteral("CommPort"), {}), QStringLiteral("12"));
    EXPECT_EQ(port.number, 12);
    EXPECT_FALSE(port.opened);
    EXPECT_EQ(w.portPanel()->deviceLabel()->text(), QStringLiteral("device of Com12"));
    EXPECT_TRUE(w.portPanel()->isVisible());  // the choice is in force; OK only hides the panel

    // The next start selects the stored port.
    ui::frmTunara_Main &again = loadWindow();
    EXPECT_EQ(again.portPanel()->list()->currentText(), QStringLiteral("Com12"));
}

// ---- line errors ----

TEST_F(MainWindowBehaviour, LineErrorAsksRetryOrCancel)
{
    ui::frmTunara_Main &w = shown();
    port.opened = true;
    ui.answers = {Answer::Retry};
    port.reportLineError(1004);
    ASSERT_EQ(ui.messages().size(), 1u);
    const UiCall m = ui.messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("Framing error."));
    EXPECT_EQ(m.title, QStringLiteral("Communications Error"));
    EXPECT_EQ(m.buttons, Buttons::RetryCancel);
    EXPECT_EQ(m.icon, Icon::Critical);
    EXPECT_EQ(port.discards, 1);
    EXPECT_TRUE(port.opened);

    ui.answers = {Answer::Cancel};
    port.reportLineError(1009);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Parity error."));
    EXPECT_FALSE(port.opened);
    EXPECT_EQ(w.lineErrors().CommErrorCount, 2);

    // A resize starts the count again.
    w.Form_Resize();
    EXPECT_EQ(w.lineErrors().CommErrorCount, 0);
}


TEST(HelpWindow, OpensWholeOnTheOwnersScreen)
{
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    ui::QtUserInterface user;
    user.showHelp(&owner, QStringLiteral(TUNARA_RESOURCES_DIR "/Tunara_Kelm_Help/index.html"));
    auto *help = owner.findChild<ui::HelpWindow *>();
    ASSERT_NE(help, nullptr);
    const QRect area = owner.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(help->frameGeometry())) << help->frameGeometry().x() << "," << help->frameGeometry().y();
    EXPECT_LE(std::abs(help->frameGeometry().center().x() - area.center().x()), 1);
}

class MainWindowSize : public AppTest {};

TEST_F(MainWindowSize, TheSmallestWindowShowsThePortPanelAndProgressFrameWhole)
{
    installAll();
    ui::frmTunara_Main &w = loadWindow();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.resize(50, 50);
    QCoreApplication::processEvents();
    const QRect client = w.centralWidget()->rect();
    EXPECT_TRUE(client.contains(w.portPanel()->geometry()));
    EXPECT_TRUE(client.contains(w.progressFrame()->geometry()));
}

}  // namespace
}  // namespace tunara::test
