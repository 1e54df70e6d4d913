#include "app/app_fixture.h"
#include "dialogs/splash_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace tunara::test {
namespace {

using ui::Answer;

// The configuration file's cases, end to end: the splash reads the file,
// and the main window shows what it read.
class Splash : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
        removeProgramFile(QStringLiteral("Tunara_Kelm.cfg"));
    }

    // Load, show until the timer closes it, then the main window with the
    // splash's lists, as the start-up procedure does.
    ui::frmTunara_Splash &runSplash(int intervalMs = 0)
    {
        splash = std::make_unique<ui::frmTunara_Splash>(ui, programFolder(), intervalMs);
        splash->Form_Load();
        splash->exec();
        return *splash;
    }
    ui::frmTunara_Main &mainAfterSplash()
    {
        makeWindow(splash->company().CompanyInfo).Form_Load();
        return *window;
    }
    void writeConfig(const QByteArray &text) { writeProgramFile(QStringLiteral("Tunara_Kelm.cfg"), text); }

    std::unique_ptr<ui::frmTunara_Splash> splash;
};

TEST_F(Splash, WithoutConfigurationFileTheDefaultsBrandEverything)
{
    ui::frmTunara_Splash &s = runSplash();
    const QLabel *name = s.companyNameLabel();
    EXPECT_EQ(name->text(), QStringLiteral("Halvern Zazorer"));
    EXPECT_EQ(name->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(name->font().pointSizeF(), 28);
    EXPECT_TRUE(name->font().bold());
    EXPECT_TRUE(name->font().italic());
    EXPECT_FALSE(s.logo()->pixmap().isNull());  // Halvern_Sensors_Logo.gif from the program folder
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tunara_Kelm_Splash"));
    EXPECT_TRUE(ui.calls.empty());

    ui::frmTunara_Main &w = mainAfterSplash();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Halvern Zazorer Tunara Torvik Zoruro Version 1.0"));
    ui.answers = {Answer::OK};
    w.mnuAbout_Click();
    const QString about = ui.messages().back().text;
    EXPECT_TRUE(about.startsWith(QStringLiteral("Halvern Zazorer Tunara Torvik Zoruro Version 1.00\r\n")));
    // Five contact lines after the blank line.
    EXPECT_EQ(about.section(QStringLiteral("\r\n\r\n"), 1).count(QStringLiteral("\r\n")), 5);
}

TEST_F(Splash, BlocksAreReadUpToTheSecondMarker)
{
    writeConfig("! comment one\n! comment two\nAcme Ignition\nDejaVu Sans\n20 pt\nItalic\nNULL\n!\n"
                "Acme\nAcme Ignition Ltd\n1 Main St\n!\nnot read\nnor this\n");
    ui::frmTunara_Splash &s = runSplash();
    EXPECT_EQ(s.company().SplashSettings.size(), 5);
    EXPECT_EQ(s.company().CompanyInfo,
              (QStringList{QStringLiteral("Acme"), QStringLiteral("Acme Ignition Ltd"), QStringLiteral("1 Main St")}));
    EXPECT_EQ(s.companyNameLabel()->text(), QStringLiteral("Acme Ignition"));
    EXPECT_EQ(s.companyNameLabel()->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(s.companyNameLabel()->font().pointSizeF(), 20);
    EXPECT_FALSE(s.companyNameLabel()->font().bold());
    EXPECT_TRUE(s.companyNameLabel()->font().italic());
    EXPECT_TRUE(s.logo()->pixmap().isNull());
    EXPECT_TRUE(ui.calls.empty());

    ui::frmTunara_Main &w = mainAfterSplash();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Acme Tunara Torvik Zoruro Version 1.0"));
}

TEST_F(Splash, StyleWordsIgnoreCase)
{
    const struct {
        const char *style;
        bool bold, italic;
    } cases[] = {{"BOLD", true, false}, {"Italic", false, true}, {"", false, false}, {"Bold ITALIC", true, true}};
    for (const auto &c : cases) {
        writeConfig(QByteArray("Acme\nArial\n12\n") + c.style + "\nnull\n!\nAcme\n");
        ui::frmTunara_Splash &s = runSplash();
        EXPECT_EQ(s.companyNameLabel()->font().bold(), c.bold) << c.style;
        EXPECT_EQ(s.companyNameLabel()->font().italic(), c.italic) << c.style;
    }
}

TEST_F(Splash, FontSizeIsTheLeadingNumberAndNoNumberKeepsTheDesignSize)
{
    writeConfig("Acme\nArial\n14.5 points\nbold\nNULL\n!\nAcme\n");
    EXPECT_EQ(runSplash().companyNameLabel()->font().pointSizeF(), 14.5);
    // A size of 0 has no font; the splash keeps its design size.
    writeConfig("Acme\nArial\nlarge\nbold\nNULL\n!\nAcme\n");
    EXPECT_EQ(runSplash().companyNameLabel()->font().pointSizeF(), 28);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(Splash, CompanyLinesEndingAtTheEndOfTheFileAreComplete)
{
    writeConfig("Acme\nArial\n12\nbold\nNuLL\n!\nAcme\nline 2\nline 3");
    ui::frmTunara_Splash &s = runSplash();
    EXPECT_EQ(s.company().CompanyInfo.size(), 3);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(Splash, MissingLogoIsReportedAndIgnoreShowsTheSplashWithoutIt)
{
    writeConfig("Acme\nArial\n12\nbold\nno_such_logo.gif\n!\nAcme\n");
    ui.answers = {Answer::Ignore};
    ui::frmTunara_Splash &s = runSplash();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("no_such_logo.gif")));
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("not found")));
    EXPECT_TRUE(s.logo()->pixmap().isNull());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tunara_Kelm_Splash"));
}

TEST_F(Splash, UnreadableLogoIsReported)
{
    writeProgramFile(QStringLiteral("broken.gif"), "GIF89a but not really");
    writeConfig("Acme\nArial\n12\nbold\nbroken.gif\n!\nAcme\n");
    ui.answers = {Answer::Ignore};
    runSplash();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("cannot be read")));
}

TEST_F(Splash, FileEndingInsideTheSplashSettingsIsReported)
{
    writeConfig("Acme\nArial\n12\n");
    ui.answers = {Answer::Ignore, Answer::Ignore, Answer::Ignore};
    ui::frmTunara_Splash &s = runSplash();
    const std::vector<UiCall> m = ui.messages();
    ASSERT_EQ(m.size(), 3u);  // the file, then the missing items 4 and 5
    EXPECT_TRUE(m[0].text.contains(QStringLiteral("marker")));
    EXPECT_TRUE(m[1].text.contains(QStringLiteral("4")));
    EXPECT_TRUE(m[2].text.contains(QStringLiteral("5")));
    // What was read is used.
    EXPECT_EQ(s.companyNameLabel()->text(), QStringLiteral("Acme"));
    EXPECT_TRUE(s.company().CompanyInfo.isEmpty());

    // Without company lines the main window reports it once and runs.
    ui.answers = {Answer::Ignore};
    ui::frmTunara_Main &w = mainAfterSplash();
    EXPECT_EQ(ui.messages().size(), 4u);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tunara Torvik Zoruro Version 1.0"));
}

TEST_F(Splash, AbortEndsTheLoadButTheSplashStillShowsAndCloses)
{
    writeConfig("Acme\nArial\n12\nbold\nmissing.gif\n!\nAcme\n");
    ui.answers = {Answer::Abort};
    ui::frmTunara_Splash &s = runSplash();
    EXPECT_EQ(s.result(), QDialog::Accepted);
    EXPECT_NE(QCoreApplication::applicationName(), QStringLiteral("Tunara_Kelm_Splash"));
}

TEST_F(Splash, TimerClosesTheSplashAfterItsInterval)
{
    ui::frmTunara_Splash s(ui, programFolder());
    EXPECT_EQ(s.unloadTimer()->interval(), 4000);
    EXPECT_EQ(s.unloadTimer()->objectName(), QStringLiteral("tmrSplashUnload"));
    s.Form_Load();
    s.show();
    EXPECT_TRUE(s.unloadTimer()->isActive());
    s.tmrSplashUnload_Timer();
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(s.objectName(), QStringLiteral("frmTunara_Splash"));
}

}  // namespace
}  // namespace tunara::test
