// Shown numbers and dates follow the locale handed in, never the C
// library's: the command line and files pass the C locale and keep the point.
#include "core/numbers.h"
#include "core/shown_numbers.h"
#include "core/system_error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <string>

using namespace tunara::numbers;

namespace {

struct Row {
    const char *locale;
    double value;
    const char *pattern;
    const char *expected;
};

// Puts the C library's numbers in German for one test, as LANG=de_DE with a
// Qt locale that says otherwise leaves a running program.
class GermanCNumbers {
public:
    GermanCNumbers() : m_was(std::setlocale(LC_NUMERIC, nullptr))
    {
        m_set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~GermanCNumbers() { std::setlocale(LC_NUMERIC, m_was.c_str()); }
    bool set() const { return m_set; }

private:
    std::string m_was;
    bool m_set = false;
};

TEST(ShownNumbers, FollowTheGivenLocaleOnly)
{
    const GermanCNumbers german;
    if (!german.set())
        std::fprintf(stderr, "de_DE.UTF-8 is not installed: the C library keeps its point\n");
    const Row rows[] = {
        {"C", 2.5, "#0.0", "2.5"},          {"C", -7.5, "#0.0", "-7.5"},        {"C", 12345.25, "0.0", "12345.2"},
        {"en_US", 12345.25, "#0.0", "12345.2"}, {"en_US", 0.125, "0.00", "0.12"}, {"fr_FR", 2.5, "#0.0", "2,5"},
        {"fr_FR", -7.5, "#0.0", "-7,5"},    {"fr_FR", 1500, "###0", "1500"},    {"fr_FR", -0.04, "#0.0", "0,0"},
        {"de_DE", 12345.75, "#0.0", "12345,8"}, {"de_DE", 0.375, "0.00", "0,38"}, {"de_DE", 3, "##00", "03"},
        {"de_DE", 0.25, "#0.0", "0,2"},     {"de_DE", 2.5, "#0", "2"},
    };
    for (const Row &r : rows) {
        const QLocale locale = QString::fromLatin1(r.locale) == u"C" ? QLocale::c() : QLocale(QString::fromLatin1(r.locale));
        EXPECT_EQ(shown(r.value, QString::fromLatin1(r.pattern), locale).toStdString(), r.expected)
            << r.locale << ' ' << r.value << ' ' << r.pattern;
    }
    // Files and the command line keep the point whatever the C library says.
    EXPECT_EQ(format(2.5, QStringLiteral("#0.0")).toStdString(), "2.5");
    EXPECT_EQ(format(-7.25, QStringLiteral("0.0000")).toStdString(), "-7.2500");
    EXPECT_EQ(shownFixed(0.35156, 4, QLocale(QStringLiteral("fr_FR"))).toStdString(), "0,3516");
    EXPECT_EQ(shownWhole(-12, QLocale(QStringLiteral("de_DE"))).toStdString(), "-12");
    EXPECT_EQ(shownWhole(15000, QLocale(QStringLiteral("en_US"))).toStdString(), "15000");
}

TEST(ShownDates, OneShortAndOneLongFormPerLocale)
{
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 5, 9));
    EXPECT_EQ(longDate(when.date(), QLocale(QStringLiteral("fr_FR"))).toStdString(), "mardi 8 décembre 2026");
    EXPECT_EQ(longDate(when.date(), QLocale(QStringLiteral("en_US"))).toStdString(), "Tuesday, December 8, 2026");
    EXPECT_EQ(shortDateTime(when, QLocale(QStringLiteral("de_DE"))).toStdString(), "08.12.26 14:05:09");
    EXPECT_EQ(shortDateTime(when, QLocale(QStringLiteral("fr_FR"))).toStdString(), "08/12/2026 14:05:09");
}

// A cause named in a message stays in the message's English whatever
// language the C library would have used.
TEST(SystemErrorText, EnglishWhateverTheCLibrarySays)
{
    const std::string was = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "de_DE.UTF-8");
    EXPECT_EQ(tunara::systemErrorText(ENOSPC).toStdString(), "no space left on the device");
    EXPECT_EQ(tunara::systemErrorText(ENXIO), tunara::systemErrorText(ENODEV));
    EXPECT_EQ(tunara::systemErrorText(99999).toStdString(), "system error 99999");
    EXPECT_EQ(tunara::writeFailureText(0).toStdString(), "the data could not be written");
    std::setlocale(LC_MESSAGES, was.c_str());
}

}  // namespace
