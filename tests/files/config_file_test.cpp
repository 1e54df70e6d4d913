// The branding file "Tunara_Kelm.cfg": marker lines, splash settings,
// company lines, and what the splash makes of them.
#include "files/config_file.h"

#include "core/runtime_error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tunara;
using tunara::config::CompanyConfig;

namespace {

QStringList lines(std::initializer_list<const char *> texts)
{
    QStringList l;
    for (const char *t : texts)
        l << QString::fromUtf8(t);
    return l;
}

TEST(ConfigParse, MarkersBlockOneMarkerBlockTwoMarkerRest)
{
    const CompanyConfig c = config::parse(lines({"! Tunara branding", "! edit with care", "Ostrava Motor", "Verdana",
                                                 "20", "bold", "NULL", "!", "Ostrava", "Ostrava Motor s.r.o.",
                                                 "Main Street 1", "!", "never read", "! nor this"}));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(c.SplashSettings, lines({"Ostrava Motor", "Verdana", "20", "bold", "NULL"}));
    EXPECT_EQ(c.CompanyInfo, lines({"Ostrava", "Ostrava Motor s.r.o.", "Main Street 1"}));
}

TEST(ConfigParse, BlockTwoEndingAtTheEndOfTheFileIsComplete)
{
    const CompanyConfig c = config::parse(lines({"A", "B", "12", "", "logo.png", "!", "one", "two"}));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(c.SplashSettings.size(), 5);
    EXPECT_EQ(c.CompanyInfo, lines({"one", "two"}));
}

TEST(ConfigParse, EmptyLinesAreOrdinaryItems)
{
    const CompanyConfig c = config::parse(lines({"", "Arial", "", "", "NULL", "!", "", "x", ""}));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(c.SplashSettings, lines({"", "Arial", "", "", "NULL"}));
    EXPECT_EQ(c.CompanyInfo, lines({"", "x", ""}));
}

TEST(ConfigParse, OnlyALeadingExclamationMarkMakesAMarker)
{
    const CompanyConfig c = config::parse(lines({" !not a marker", "Hi!", "1", "2", "3", "!", "a!b"}));
    EXPECT_EQ(c.SplashSettings, lines({" !not a marker", "Hi!", "1", "2", "3"}));
    EXPECT_EQ(c.CompanyInfo, lines({"a!b"}));
}

TEST(ConfigParse, ItemsBeyondTheFifthDoNotEndBlockOne)
{
    const CompanyConfig c = config::parse(lines({"1", "2", "3", "4", "5", "6", "7", "!", "co"}));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(c.SplashSettings.size(), 7);
    EXPECT_EQ(config::splashItem(c.SplashSettings, 5), QStringLiteral("5"));
    EXPECT_EQ(c.CompanyInfo, lines({"co"}));
}

TEST(ConfigParse, EmptyBlockTwoLeavesCompanyInfoEmpty)
{
    for (const QStringList &l : {lines({"1", "2", "3", "4", "5", "!"}), lines({"1", "2", "3", "4", "5", "!", "!", "x"})}) {
        const CompanyConfig c = config::parse(l);
        EXPECT_FALSE(c.error.has_value());
        EXPECT_TRUE(c.CompanyInfo.isEmpty());
    }
}

TEST(ConfigMalformed, EndsBeforeAMarkerClosesBlockOne)
{
    const CompanyConfig c = config::parse(lines({"!", "Name", "Arial", "28"}));
    ASSERT_TRUE(c.error.has_value());
    EXPECT_FALSE(c.error->isEmpty());
    EXPECT_TRUE(c.CompanyInfo.isEmpty());
}

TEST(ConfigMalformed, NothingButMarkersOrNothingAtAll)
{
    EXPECT_TRUE(config::parse(lines({"!", "!"})).error.has_value());
    EXPECT_TRUE(config::parse(QStringList{}).error.has_value());
}

TEST(ConfigMalformed, FewerThanFiveSplashItemsFailWhenTheMissingItemIsUsed)
{
    const CompanyConfig c = config::parse(lines({"Name", "Arial", "28", "!", "Co"}));
    EXPECT_FALSE(c.error.has_value());  // the file itself reads fine
    EXPECT_EQ(config::splashItem(c.SplashSettings, 3), QStringLiteral("28"));
    EXPECT_THROW(config::splashItem(c.SplashSettings, 4), RuntimeError);
    EXPECT_THROW(config::splashItem(c.SplashSettings, 5), RuntimeError);
    EXPECT_THROW(config::splashItem(c.SplashSettings, 0), RuntimeError);
    try {
        config::splashItem(c.SplashSettings, 5);
    } catch (const RuntimeError &e) {
        EXPECT_FALSE(e.description().isEmpty());
    }
}

TEST(ConfigDefaults, MissingFileGivesTheDefaultBrandingWithoutError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CompanyConfig c = config::read(dir.filePath(config::fileName()));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(c.SplashSettings,
              lines({"Halvern Zazorer", "Arial", "28", "bold italic", "Halvern_Sensors_Logo.gif"}));
    ASSERT_EQ(c.CompanyInfo.size(), 6);
    EXPECT_EQ(c.CompanyInfo[0], QStringLiteral("Halvern Zazorer"));
    EXPECT_EQ(c.CompanyInfo[1], QStringLiteral("Halvern Zazorer LLC"));
    for (const QString &line : c.CompanyInfo)
        EXPECT_FALSE(line.trimmed().isEmpty());
    EXPECT_EQ(config::fileName(), QStringLiteral("Tunara_Kelm.cfg"));
}

TEST(ConfigDefaults, DefaultSplashStyleIsArial28BoldItalicWithTheDefaultLogo)
{
    const QStringList s = config::defaults().SplashSettings;
    EXPECT_EQ(config::fontSizeOf(config::splashItem(s, 3)), 28.0);
    EXPECT_TRUE(config::isBold(config::splashItem(s, 4)));
    EXPECT_TRUE(config::isItalic(config::splashItem(s, 4)));
    EXPECT_EQ(config::logoFileOf(config::splashItem(s, 5)), QStringLiteral("Halvern_Sensors_Logo.gif"));
}

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString write(const QByteArray &content)
    {
        const QString p = dir.filePath(config::fileName());
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return p;
    }
    QTemporaryDir dir;
};

TEST_F(ConfigFile, ReadsLinesWithEitherLineEnding)
{
    const QByteArray lf = "!c\nName\nArial\n28\nbold\nNULL\n!\nCo\nLine 2\n!\nrest\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace("\n", "\r");
    const QByteArray bom = "\xEF\xBB\xBF" + lf;
    for (const QByteArray &content : {lf, crlf, cr, bom}) {
        const CompanyConfig c = config::read(write(content));
        EXPECT_FALSE(c.error.has_value());
        EXPECT_EQ(c.SplashSettings, lines({"Name", "Arial", "28", "bold", "NULL"}));
        EXPECT_EQ(c.CompanyInfo, lines({"Co", "Line 2"}));
    }
}

TEST_F(ConfigFile, LastLineWithoutLineEndIsRead)
{
    const CompanyConfig c = config::read(write("N\nF\n9\n\nNULL\n!\nCo\nlast"));
    EXPECT_EQ(c.CompanyInfo, lines({"Co", "last"}));
}

TEST_F(ConfigFile, NonAsciiTextSurvives)
{
    const CompanyConfig c = config::read(write("Zażółć Motor\nArial\n28\nbold\nNULL\n!\nMüller & Søn\n"));
    EXPECT_EQ(config::splashItem(c.SplashSettings, 1), QString::fromUtf8("Zażółć Motor"));
    EXPECT_EQ(c.CompanyInfo, lines({"Müller & Søn"}));
}

TEST_F(ConfigFile, TextInAWindowsCodePageKeepsItsLetters)
{
    // "Müller" in Latin-1 is not valid UTF-8.
    const CompanyConfig c = config::read(write("M\xFCller Motor\nArial\n28\nbold\nNULL\n!\nM\xFCller\n"));
    EXPECT_FALSE(c.error.has_value());
    EXPECT_EQ(config::splashItem(c.SplashSettings, 1), QString::fromUtf8("Müller Motor"));
    EXPECT_EQ(c.CompanyInfo, lines({"Müller"}));
}

TEST_F(ConfigFile, EmptyFileIsMalformed)
{
    EXPECT_TRUE(config::read(write("")).error.has_value());
}

TEST_F(ConfigFile, FolderInPlaceOfTheFileIsAnErrorNotTheDefaults)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(config::fileName()));
    const CompanyConfig c = config::read(dir.filePath(config::fileName()));
    EXPECT_TRUE(c.error.has_value());
    EXPECT_TRUE(c.SplashSettings.isEmpty());
}

TEST(SplashStyle, BoldAndItalicIgnoreCase)
{
    struct Style {
        const char *text;
        bool bold, italic;
    };
    const Style cases[] = {{"bold italic", true, true}, {"BOLD", true, false},       {"Italic", false, true},
                           {"", false, false},          {"regular", false, false},   {"ITALIC BOLD", true, true},
                           {"semibold", true, false},   {"BoLd,iTaLiC", true, true}};
    for (const Style &s : cases) {
        EXPECT_EQ(config::isBold(QString::fromUtf8(s.text)), s.bold) << s.text;
        EXPECT_EQ(config::isItalic(QString::fromUtf8(s.text)), s.italic) << s.text;
    }
}

TEST(SplashStyle, FontSizeIsTheLeadingNumber)
{
    EXPECT_EQ(config::fontSizeOf(QStringLiteral("28")), 28.0);
    EXPECT_EQ(config::fontSizeOf(QStringLiteral("14pt")), 14.0);
    EXPECT_EQ(config::fontSizeOf(QStringLiteral("10.5")), 10.5);
    EXPECT_EQ(config::fontSizeOf(QStringLiteral("large")), 0.0);
    EXPECT_EQ(config::fontSizeOf(QString()), 0.0);
}

TEST(SplashStyle, NullLogoInAnyCaseMeansNoLogo)
{
    for (const char *t : {"NULL", "null", "Null", "nUlL"})
        EXPECT_FALSE(config::logoFileOf(QString::fromLatin1(t)).has_value()) << t;
    for (const char *t : {"logo.gif", "NULL.gif", "nullity.png", ""})
        EXPECT_EQ(config::logoFileOf(QString::fromLatin1(t)), QString::fromLatin1(t)) << t;
}

}  // namespace
