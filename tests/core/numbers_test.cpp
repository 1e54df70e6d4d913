// Number rules every subsystem relies on: whole-number conversion, the
// leading-number parse of typed text and the display patterns.
#include "core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <limits>

using namespace tunara::numbers;

namespace {

struct Case {
    double in;
    double out;
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const Case cases[] = {{2.5, 2},   {3.5, 4},   {-2.5, -2}, {0.5, 0},   {1.5, 2},     {-0.5, 0},
                          {-1.5, -2}, {-3.5, -4}, {4.5, 4},   {255.5, 256}, {254.5, 254}, {50.5, 50},
                          {51.5, 52}, {0.0, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << "value " << c.in;
}

TEST(RoundHalfEven, NonHalvesGoToTheNearest)
{
    const Case cases[] = {{2.4999999, 2},          {2.5000001, 3},  {-2.5000001, -3}, {-2.4999999, -2},
                          {0.49999999999999994, 0}, {56.88, 57},     {-0.2, 0},        {-0.6, -1},
                          {1e15 + 0.25, 1e15},      {7.0, 7},        {-7.0, -7}};
    for (const Case &c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << "value " << c.in;
}

TEST(RoundHalfEven, NonFiniteValuesPassThrough)
{
    EXPECT_TRUE(std::isnan(roundHalfEven(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::infinity()), std::numeric_limits<double>::infinity());
}

TEST(IntFloor, LargestWholeNumberNotAbove)
{
    const Case cases[] = {{2.9, 2}, {2.0, 2}, {-2.5, -3}, {-0.0001, -1}, {-3.0, -3}, {0.9999, 0}, {10900.7, 10900}};
    for (const Case &c : cases)
        EXPECT_EQ(intFloor(c.in), c.out) << "value " << c.in;
}

struct TextCase {
    const char *text;
    double value;
};

TEST(LeadingNumber, TakesSignDigitsAndDecimals)
{
    const TextCase cases[] = {{"30", 30},         {"-5", -5},        {"+10", 10},        {"+15", 15},
                              {"-7.5", -7.5},     {"80%", 80},       {"-7.5%", -7.5},    {" 12.5x", 12.5},
                              {".5", 0.5},        {"-.5", -0.5},     {"5.", 5},          {"25.0", 25},
                              {"0012", 12},       {"3000 RPM", 3000}, {"1.2.3", 1.2},     {"10,5", 10},
                              {"12pt", 12},       {"\t7", 7}};
    for (const TextCase &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << "text \"" << c.text << '"';
}

TEST(LeadingNumber, TextWithoutALeadingNumberGivesZero)
{
    const char *texts[] = {"abc", "", " ", ".", "-", "+", "--5", "+-5", "x12", "- 5", "%", "-.", "e5"};
    for (const char *t : texts)
        EXPECT_EQ(leadingNumber(QString::fromUtf8(t)), 0.0) << "text \"" << t << '"';
}

TEST(LeadingNumber, OnlyPlainDigitsCount)
{
    // Arabic-Indic digits and full-width digits are digits to Unicode, not to
    // a field that holds degrees or RPM.
    EXPECT_EQ(leadingNumber(QStringLiteral("\u0663\u0664")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("\uFF15")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("4\u0663")), 4.0);
}

TEST(LeadingNumber, ExponentsAreNotPartOfTheNumber)
{
    EXPECT_EQ(leadingNumber(QStringLiteral("1e3")), 1.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("2.5E-1")), 2.5);
}

TEST(LeadingNumber, LongDigitRunsKeepTheirValue)
{
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("12345678901234567890")), 12345678901234567890.0);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("0.") + QString(30, u'0') + u'1'), 1e-31);
    // Beyond a double's range: an infinity of the right sign, never 0 (a
    // typed 400-digit number must be reported as too large, not too small).
    EXPECT_EQ(leadingNumber(QString(400, u'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u'-' + QString(400, u'9')), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
}

struct FormatCase {
    double value;
    const char *pattern;
    const char *text;
};

TEST(Format, WholeNumberPatterns)
{
    const FormatCase cases[] = {
        {0, "#0", "0"},           {7, "#0", "7"},          {3.7, "#0", "4"},         {3.2, "#0", "3"},
        {40, "#0", "40"},         {-7, "#0", "-7"},        {1234567, "#0", "1234567"},
        {5, "##00", "05"},        {0, "##00", "00"},       {30, "##00", "30"},       {109, "##00", "109"},
        {3000, "##00", "3000"},   {10900, "##00", "10900"}, {-5, "##00", "-05"},
        {0, "###0", "0"},         {500, "###0", "500"},     {2000, "###0", "2000"},   {1999.6, "###0", "2000"},
        {0, "####0", "0"},        {3000, "####0", "3000"}, {10900, "####0", "10900"}, {12750, "####0", "12750"},
        {-50, "####0", "-50"},
    };
    for (const FormatCase &c : cases)
        EXPECT_EQ(format(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.text))
            << c.value << " as " << c.pattern;
}

TEST(Format, NoDigitGrouping)
{
    for (const char *pattern : {"#0", "##00", "###0", "####0"})
        EXPECT_EQ(format(10000, QString::fromLatin1(pattern)), QStringLiteral("10000")) << pattern;
    EXPECT_EQ(format(10000, QStringLiteral("#0.0")), QStringLiteral("10000.0"));
    EXPECT_EQ(format(1234567.25, QStringLiteral("0.0")), QStringLiteral("1234567.2"));
}

TEST(Format, OneDecimalPatterns)
{
    const FormatCase cases[] = {
        {0, "#0.0", "0.0"},          {25, "#0.0", "25.0"},      {24.9897, "#0.0", "25.0"},
        {27.75, "#0.0", "27.8"},     {-7.58, "#0.0", "-7.6"},  {21.975, "#0.0", "22.0"},
        {0.3, "#0.0", "0.3"},        {40, "#0.0", "40.0"},      {-22.4145, "#0.0", "-22.4"},
        {0.3, "0.0", "0.3"},         {12.34, "0.0", "12.3"},    {0, "0.0", "0.0"},
        {2.6367, "0.0", "2.6"},      {-1.05001, "0.0", "-1.1"},
    };
    for (const FormatCase &c : cases)
        EXPECT_EQ(format(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.text))
            << c.value << " as " << c.pattern;
}

TEST(Format, ExactHalvesFollowTheProgramsRoundingRule)
{
    // Whole-number conversions send halves to the even neighbour; a pattern
    // without decimals shows the same whole number the program computes.
    EXPECT_EQ(format(2.5, QStringLiteral("#0")), QStringLiteral("2"));
    EXPECT_EQ(format(3.5, QStringLiteral("#0")), QStringLiteral("4"));
    EXPECT_EQ(format(5050.0 / 100, QStringLiteral("##00")), QStringLiteral("50"));
}

TEST(Format, ValuesRoundingToZeroShowNoMinusSign)
{
    EXPECT_EQ(format(-0.04, QStringLiteral("#0.0")), QStringLiteral("0.0"));
    EXPECT_EQ(format(-0.04, QStringLiteral("0.0")), QStringLiteral("0.0"));
    EXPECT_EQ(format(-0.4, QStringLiteral("#0")), QStringLiteral("0"));
    EXPECT_EQ(format(-0.4, QStringLiteral("##00")), QStringLiteral("00"));
    EXPECT_EQ(format(-0.0, QStringLiteral("####0")), QStringLiteral("0"));
    // but a value that does not round to zero keeps its sign
    EXPECT_EQ(format(-0.06, QStringLiteral("#0.0")), QStringLiteral("-0.1"));
    EXPECT_EQ(format(-0.6, QStringLiteral("#0")), QStringLiteral("-1"));
}

TEST(PlainWholeNumber, OneBlankInPlaceOfThePlusSign)
{
    EXPECT_EQ(plainWholeNumber(3000), QStringLiteral(" 3000"));
    EXPECT_EQ(plainWholeNumber(2), QStringLiteral(" 2"));
    EXPECT_EQ(plainWholeNumber(0), QStringLiteral(" 0"));
    EXPECT_EQ(plainWholeNumber(-5), QStringLiteral("-5"));
    EXPECT_EQ(plainWholeNumber(10000), QStringLiteral(" 10000"));
}

// The one reader of typed numbers: what it takes and, as important, what it
// never reads as some other number.
TEST(ReadNumber, TakesAPlainDecimalAndRefusesEverythingElse)
{
    const struct {
        QString text;
        std::optional<double> value;
    } cases[] = {
        {"25", 25},          {" -7.5\t", -7.5},      {"+3", 3},        {"12,5", 12.5},    {"-,5", -0.5},
        {".5", 0.5},         {"5.", 5},              {"0012", 12},     {"\u00a022\u00a0", 22},
        {"1e9", {}},         {"2.5E-1", {}},         {"1.000,5", {}},  {"1,000.5", {}},   {"12,5abc", {}},
        {"25 deg", {}},      {"\u0663", {}},         {"4\u0663", {}},  {"\uff15", {}},    {"", {}},
        {"  ", {}},          {"-", {}},              {".", {}},        {"- 5", {}},       {"--5", {}},
        {"2 5", {}},         {"0x10", {}},           {"nan", {}},      {"inf", {}},       {"5%", {}},
        {QString(400, u'9'), {}},                    {QString(5000, u'0') + "12", 12},
        {"1." + QString(5000, u'0') + "1", 1},       {QString(300, u'1'), std::stod(std::string(300, '1'))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readNumber(c.text), c.value) << c.text.left(20).toStdString();
    const std::optional<double> negativeZero = readNumber(QStringLiteral("-0"));
    ASSERT_TRUE(negativeZero);
    EXPECT_FALSE(std::signbit(*negativeZero));
}

}  // namespace
