// The smaller window parts: the help viewer, the progress frame, the grids.
#include "dialogs/help_window.h"
#include "app/progress_frame.h"
#include "dialogs/qt_user_interface.h"
#include "views/timing_grid.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

const QString HelpContents = QStringLiteral(TUNARA_RESOURCES_DIR "/Tunara_Kelm_Help/index.html");

TEST(HelpWindow, OpensTheContentsPageAndFollowsLinks)
{
    ui::HelpWindow help;
    help.showContents(HelpContents);
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Tunara Torvik Zoruro Help - Contents"));
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("Port set-up")));

    help.browser()->setSource(QUrl(QStringLiteral("port_setup.html")));
    EXPECT_TRUE(help.browser()->source().toString().endsWith(QStringLiteral("port_setup.html")));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Port set-up"));
    EXPECT_TRUE(help.browser()->isBackwardAvailable());
    help.browser()->home();
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Tunara Torvik Zoruro Help - Contents"));
}

TEST(HelpWindow, TheProgramKeepsOneHelpWindow)
{
    QWidget owner;
    ui::QtUserInterface user;
    user.showHelp(&owner, HelpContents);
    user.showHelp(&owner, HelpContents);
    EXPECT_EQ(owner.findChildren<ui::HelpWindow *>().size(), 1);
    EXPECT_TRUE(owner.findChild<ui::HelpWindow *>()->isVisible());
}

// A name that does not exist goes back to the program, whose own "File not
// found." prompt answers it: the dialog never refuses it first.
TEST(OpenFileDialog, HandsBackANameThatDoesNotExist)
{
    QTemporaryDir dir;
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr) {
            name->setText(QStringLiteral("missing.dat"));
            QTest::keyClick(name, Qt::Key_Return);
        } else if (dialog) {
            dialog->close();
        }
    });
    ui::QtUserInterface user;
    EXPECT_EQ(user.openFileName(nullptr, QStringLiteral("Open File"), dir.path(), QStringLiteral("Data (*.dat)")),
              dir.filePath(QStringLiteral("missing.dat")));
}

TEST(ProgressFrame, ShowsCaptionAndKeepsTheBarWithinItsRange)
{
    QWidget window;
    ui::ProgressFrame frame(&window);
    EXPECT_EQ(frame.objectName(), QStringLiteral("fraProgress1"));
    EXPECT_EQ(frame.title(), QStringLiteral("Programming"));
    frame.hide();
    frame.showProgress(QStringLiteral("Reading EEPROM"));
    EXPECT_FALSE(frame.isHidden());
    EXPECT_EQ(frame.title(), QStringLiteral("Reading EEPROM"));
    EXPECT_EQ(frame.bar()->value(), 0);
    frame.setProgress(50);
    EXPECT_EQ(frame.bar()->value(), 50);
    frame.setProgress(140);
    EXPECT_EQ(frame.bar()->value(), 100);
    frame.hideProgress();
    EXPECT_TRUE(frame.isHidden());
}

TEST(TimingGrid, HeadingCellsCannotBeEditedDataCellsCan)
{
    views::TimingGrid grid(QStringLiteral("VSFlexGrid1"), 2, 22);
    views::setupGrid2D(grid);
    grid.setCellText(1, 3, QStringLiteral("12.5"));
    EXPECT_FALSE(grid.item(0, 3)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(grid.item(1, 0)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(grid.item(1, 3)->flags().testFlag(Qt::ItemIsEditable));
    EXPECT_EQ(grid.cellText(1, 3), QStringLiteral("12.5"));
    EXPECT_EQ(grid.cellText(1, 4), QString());

    // The 3D grid labels its rows for the sensor it is set up for.
    views::TimingGrid grid3(QStringLiteral("VSFlexGrid2"), 9, 22);
    views::setupGrid3D(grid3, 2);
    EXPECT_EQ(grid3.cellText(1, 0), QStringLiteral("20"));
    EXPECT_EQ(grid3.cellText(8, 0), QStringLiteral("90"));
}

}  // namespace
}  // namespace tunara::test
