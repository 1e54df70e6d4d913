// The companion files the build puts beside the program.
#include "files/config_file.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

const QDir Resources(QStringLiteral(TUNARA_RESOURCES_DIR));

QString readText(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

TEST(ShippedFiles, SampleConfigurationGivesTheBuiltInValues)
{
    const config::CompanyConfig sample = config::read(Resources.filePath(QStringLiteral("Tunara_Kelm.cfg")));
    ASSERT_FALSE(sample.error) << sample.error->toStdString();
    EXPECT_EQ(sample.SplashSettings, config::defaults().SplashSettings);
    EXPECT_EQ(sample.CompanyInfo, config::defaults().CompanyInfo);
}

TEST(ShippedFiles, LogoIsARealGif)
{
    QImageReader reader(Resources.filePath(QStringLiteral("Halvern_Sensors_Logo.gif")));
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    const QImage logo = reader.read();
    ASSERT_FALSE(logo.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(logo.size(), QSize(99, 60));  // the splash's 1485 x 900 twips
}

TEST(ShippedFiles, HelpLinksAllResolve)
{
    const QDir help(Resources.filePath(QStringLiteral("Tunara_Kelm_Help")));
    ASSERT_TRUE(help.exists(QStringLiteral("index.html")));
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)(?:#[^\"]*)?\""));
    int pages = 0;
    for (const QString &page : help.entryList({QStringLiteral("*.html")})) {
        ++pages;
        const QString html = readText(help.filePath(page));
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(help.exists(target)) << page.toStdString() << " links to missing " << target.toStdString();
        }
        // Every page is reachable from the contents page.
        if (page != QStringLiteral("index.html")) {
            EXPECT_TRUE(readText(help.filePath(QStringLiteral("index.html"))).contains(page)) << page.toStdString();
        }
    }
    EXPECT_GE(pages, 6);
}

TEST(ShippedFiles, HelpExplainsEveryMenuCommand)
{
    const QString menus = readText(Resources.filePath(QStringLiteral("Tunara_Kelm_Help/menus.html")));
    for (const char *caption :
         {"New Timing Table", "Open File", "Save File", "Print Parameters And Timing Table", "Print Setup...", "Exit",
          "Edit Module Parameters", "Edit Idle Stabilization And GPIO Parameters", "Edit Timing Table",
          "Save Timing Table Edits To Buffer", "Close Timing Table", "Download From EEPROM", "Upload To EEPROM",
          "Port Setup", "Contents", "About..."})
        EXPECT_TRUE(menus.contains(QStringLiteral("<td>%1</td>").arg(QLatin1String(caption)))) << caption;

    const QString table = readText(Resources.filePath(QStringLiteral("Tunara_Kelm_Help/table_editing.html")));
    for (const char *expression : {"30", "-5", "+10", "80%", "-7.5%", "+15%"})
        EXPECT_TRUE(table.contains(QStringLiteral("<code>%1</code>").arg(QLatin1String(expression)))) << expression;
}

}  // namespace
}  // namespace tunara::test
