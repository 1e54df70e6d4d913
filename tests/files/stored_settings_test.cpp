// The stored serial port setting, kept in an INI file of the test's own.
#include "files/stored_settings.h"

#include "core/runtime_error.h"
#include "support/process_state.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using namespace tunara;

namespace {

class StoredSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString ini() const { return dir.filePath(QStringLiteral("settings.ini")); }
    QTemporaryDir dir;
};

TEST_F(StoredSettingsTest, NothingStoredGivesPortOne)
{
    const StoredSettings s = StoredSettings::atFile(ini());
    EXPECT_EQ(s.commPortText(), QStringLiteral("1"));
    EXPECT_EQ(parseCommPort(s.commPortText()), 1);
}

TEST_F(StoredSettingsTest, SavedPortIsReadBackByALaterRun)
{
    {
        StoredSettings s = StoredSettings::atFile(ini());
        s.saveCommPort(12);
    }
    const StoredSettings later = StoredSettings::atFile(ini());
    EXPECT_EQ(later.commPortText(), QStringLiteral("12"));
    EXPECT_EQ(parseCommPort(later.commPortText()), 12);
}

TEST_F(StoredSettingsTest, PortLivesUnderPropertiesCommPort)
{
    {
        StoredSettings s = StoredSettings::atFile(ini());
        s.saveCommPort(7);
    }
    QSettings raw(ini(), QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList{QStringLiteral("Properties")});
    EXPECT_EQ(raw.value(QStringLiteral("Properties/CommPort")).toString(), QStringLiteral("7"));

    // and a value put there by hand is what the program reads
    raw.setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("200"));
    raw.sync();
    EXPECT_EQ(StoredSettings::atFile(ini()).commPortText(), QStringLiteral("200"));
}

TEST_F(StoredSettingsTest, AnyStringRoundTrips)
{
    const QString values[] = {QStringLiteral("a,b"), QStringLiteral("x=y;z"), QStringLiteral("  padded  "),
                              QStringLiteral("Ünïcødé"), QStringLiteral("\"quoted\""), QStringLiteral("")};
    {
        StoredSettings s = StoredSettings::atFile(ini());
        int k = 0;
        for (const QString &v : values)
            s.saveSetting(QStringLiteral("Properties"), QStringLiteral("Key%1").arg(k++), v);
    }
    const StoredSettings s = StoredSettings::atFile(ini());
    int k = 0;
    for (const QString &v : values)
        EXPECT_EQ(s.getSetting(QStringLiteral("Properties"), QStringLiteral("Key%1").arg(k++), QStringLiteral("dflt")), v);
    EXPECT_EQ(s.getSetting(QStringLiteral("Properties"), QStringLiteral("Missing"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
}

TEST_F(StoredSettingsTest, DefaultStoreIsNamedForTheMainApplication)
{
    const test::ProcessStateKeeper keeper;  // puts the settings folder back
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    EXPECT_EQ(StoredSettings::mainApplicationName(), QStringLiteral("Tunara_Kelm_Main"));
    {
        StoredSettings s;
        EXPECT_TRUE(s.location().startsWith(dir.path())) << s.location().toStdString();
        EXPECT_TRUE(s.location().contains(QStringLiteral("Tunara_Kelm_Main"))) << s.location().toStdString();
        s.saveCommPort(3);
    }
    EXPECT_EQ(StoredSettings().commPortText(), QStringLiteral("3"));
    EXPECT_TRUE(QFile::exists(StoredSettings().location()));
}

TEST(ParseCommPort, WholeNumbersFrom0To255)
{
    EXPECT_EQ(parseCommPort(QStringLiteral("12")), 12);
    EXPECT_EQ(parseCommPort(QStringLiteral("1")), 1);
    EXPECT_EQ(parseCommPort(QStringLiteral("0")), 0);  // no port selected
    EXPECT_EQ(parseCommPort(QStringLiteral("255")), 255);
    EXPECT_EQ(parseCommPort(QStringLiteral(" 7 ")), 7);
    // a conversion to a whole number: halves go to the even neighbour
    EXPECT_EQ(parseCommPort(QStringLiteral("2.5")), 2);
    EXPECT_EQ(parseCommPort(QStringLiteral("3.5")), 4);
    EXPECT_EQ(parseCommPort(QStringLiteral("255.4")), 255);
}

TEST(ParseCommPort, NotANumberOrOutOfRangeIsAnError)
{
    for (const char *t : {"abc", "", "-1", "256", "1000", "12abc", "Com3", "nan", "NaN", "inf", "-inf", "255.5"})
        EXPECT_THROW(parseCommPort(QString::fromLatin1(t)), RuntimeError) << '"' << t << '"';
}

}  // namespace
