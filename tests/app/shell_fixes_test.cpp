// Shell behaviour found by trying the program as a new user: Enter on the
// common error dialog, where the help opens, the window's minimum size and
// a screenshot into a missing folder.
#include "app/app_fixture.h"
#include "dialogs/error_dialog.h"
#include "dialogs/help_window.h"
#include "app/port_setup_panel.h"
#include "app/progress_frame.h"
#include "dialogs/qt_user_interface.h"
#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace tunara::test {
namespace {

TEST(CommonErrorDialog, EnterAnswersAbortSoAFailingStepIsNotRepeated)
{
    ui::QtUserInterface user;
    ui::CommonErrorDialog dialog(user);
    bool defaultWasAbort = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        defaultWasAbort = box->defaultButton() == box->button(QMessageBox::Abort);
        QTest::keyClick(box, Qt::Key_Return);
    });
    const ErrorChoice choice = dialog.ErrorDialog(RuntimeError(5, QStringLiteral("Form Load"), QStringLiteral("bad port")));
    EXPECT_TRUE(defaultWasAbort);
    EXPECT_EQ(choice, ErrorChoice::Abort);
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

TEST(StartOptions, AScreenshotIntoAMissingFolderIsRefused)
{
    const QString missing = QStringLiteral("/nonexistent-tunara-folder/shot.png");
    const ui::ParsedOptions p = ui::parseStartOptions({QStringLiteral("tunara"), QStringLiteral("--screenshot"), missing});
    EXPECT_FALSE(p.options);
    EXPECT_EQ(p.exitCode, 2);
    EXPECT_TRUE(p.message.contains(QStringLiteral("/nonexistent-tunara-folder"))) << p.message.toStdString();
    const ui::ParsedOptions empty = ui::parseStartOptions({QStringLiteral("tunara"), QStringLiteral("--screenshot="), });
    EXPECT_FALSE(empty.options);
    EXPECT_EQ(empty.exitCode, 2);
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
