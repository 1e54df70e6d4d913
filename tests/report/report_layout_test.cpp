// The report's text, column for column, without a printer: the parameter
// listing for the edge cases, texts that would break the columns, the chart
// rectangle's rounding and the font choice. Pages and tables: report_cli_test.
#include "report/report_layout.h"

#include <gtest/gtest.h>

using namespace tunara;
using namespace tunara::report;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// The lines as a fixed-pitch printer puts them: each item from its column.
QStringList asPrinted(const std::vector<ReportLine> &lines)
{
    QStringList out;
    for (const ReportLine &line : lines) {
        QString text;
        for (const ReportItem &item : line.items)
            text = text.leftJustified(item.column - 1) + item.text;
        out << text;
    }
    return out;
}

QString at10(const QString &text)
{
    return QString(9, u' ') + text;
}

QString labelled(const QString &label, const QString &value)
{
    return at10(label).leftJustified(49) + value;
}

ReportInputs inputs(const ModuleParameters &p, const QString &comment = QString())
{
    return {p, QStringLiteral("Torvik-1 Zoruro V2.1"), QStringLiteral("Halvern"), QStringLiteral("07/12/2026 09:00:00"),
            comment, {}};
}

}  // namespace

TEST(ReportListing, EdgeCasesPrintTheirLinesAtColumns10And50)
{
    ModuleParameters p;
    p.TimingTable2D = true;
    p.FixedMaxRPMLimit = true;
    p.MaxRPMLimit = 6500;
    p.StartRetard = 57;  // 5.01 degrees
    p.RetardComp = 17;   // 2.99 -> 3 half degrees
    p.CrankPulses = 4;
    p.GPIO2Mode = 0x13;
    p.GPIO2MinRPM = 3000;
    p.GPIO2MaxRPM = 10500;
    p.IdleStabAdv = 91;  // 7.9989 -> 8
    const QStringList lines = asPrinted(parameterListing(inputs(p, QStringLiteral("SN 42"))));
    const QStringList expected{
        at10(QStringLiteral("Halvern Torvik-1 Zoruro Ignition Module Data Printed: 07/12/2026 09:00:00")),
        QString(),
        at10(QStringLiteral("Serial/Comment: SN 42")),
        at10(QStringLiteral("Firmware ID:")).leftJustified(29) + QStringLiteral("Torvik-1 Zoruro V2.1"),
        QString(),
        at10(QStringLiteral("Module Parameters")),
        QString(),
        at10(QStringLiteral("General Options")),
        labelled(QStringLiteral("RPM Limit Disabled:"), QStringLiteral("False")),
        labelled(QStringLiteral("Multi-Spark Disabled:"), QStringLiteral("False")),
        labelled(QStringLiteral("Timing Functions Disabled:"), QStringLiteral("False")),
        labelled(QStringLiteral("Fixed Maximum RPM Limit Enabled:"), QStringLiteral("True")),
        labelled(QStringLiteral("Fixed Maximum RPM Limit:"), QStringLiteral("6500")),
        labelled(QStringLiteral("Automatic Start Retard Enabled:"), QStringLiteral("True")),
        labelled(QStringLiteral("Start Retard (Deg):"), QStringLiteral("5")),
        labelled(QStringLiteral("High Speed Data Logging Enabled:"), QStringLiteral("False")),
        labelled(QStringLiteral("Cranking Pulses:"), QStringLiteral(" 4")),
        labelled(QStringLiteral("Retard Compensation (Deg):"), QStringLiteral("1.5")),
        QString(),
        at10(QStringLiteral("Timing Table Options")),
        at10(QStringLiteral("2D Timing Table Enabled")),
        labelled(QStringLiteral("Trigger Signal Timing (Deg):"), QStringLiteral("30.0")),
        QString(),
        at10(QStringLiteral("Idle Stabilization Parameters")),
        QString(),
        labelled(QStringLiteral("Idle Stabilization Enabled:"), QStringLiteral("False")),
        labelled(QStringLiteral("Trigger Pulses After Start:"), QStringLiteral(" 50")),
        labelled(QStringLiteral("Minimum Idle RPM:"), QStringLiteral("500")),
        labelled(QStringLiteral("Idle Stabilization Advance (Deg):"), QStringLiteral("8")),
        QString(),
        at10(QStringLiteral("General Purpose Input/Ouput Parameters")),
        QString(),
        at10(QStringLiteral("GPIO2 RPM Window Switch")),
        labelled(QStringLiteral("Minimum RPM:"), QStringLiteral("3000")),
        labelled(QStringLiteral("Maximum RPM:"), QStringLiteral("10500")),
    };
    EXPECT_EQ(lines, expected);

    // The other branches (the 3D ones are read back in report_cli_test).
    p = ModuleParameters{};
    p.RPMLimitEnable = false;
    const QStringList other = asPrinted(parameterListing(inputs(p)));
    EXPECT_EQ(other[2], expected[3]);  // no serial line
    EXPECT_TRUE(other.contains(labelled(QStringLiteral("RPM Limit Disabled:"), QStringLiteral("True"))));
    EXPECT_TRUE(other.contains(labelled(QStringLiteral("Automatic Start Retard Enabled:"), QStringLiteral("False"))));
    EXPECT_FALSE(other.join(u'\n').contains(QStringLiteral("Start Retard (Deg):")));
    EXPECT_FALSE(other.join(u'\n').contains(QStringLiteral("Fixed Maximum RPM Limit:")));
    EXPECT_TRUE(other.contains(at10(QStringLiteral("Timing Table Disabled"))));
}

TEST(ReportDocumentLayout, UnsafeTextsFieldsChartRectangleAndFont)
{
    ModuleParameters p;
    p.TimingTable2D = true;
    // A 500-character comment with a tab and a line break, a 200-character
    // company line: one line each, no control characters, cut at the edge.
    ReportInputs in = inputs(p, QStringLiteral("A\tB\nC") + QString(495, u'x'));
    in.companyName = QString(200, u'H');
    ReportDocument doc = layoutReport(in);
    fitToColumns(doc, 120);
    const ReportLine &serial = doc.pages[0].blocks[0].lines[1];
    EXPECT_EQ(serial.items[0].text, (QStringLiteral("Serial/Comment: A B C") + QString(495, u'x')).left(111));
    EXPECT_EQ(doc.pages[0].blocks[0].lines[0].items[0].text, QString(111, u'H'));
    EXPECT_EQ(fixedWidth(QStringLiteral("10000")), QStringLiteral("   10000"));
    EXPECT_EQ(fixedWidth(QStringLiteral("123456789")), QStringLiteral("12345678"));

    // Twips to device pixels, halves to even: 1000 / 4 = 250, 2250 / 4.5 = 500,
    // 10 / 4 = 2.5 -> 2, 1750 / 500 = 3.5 -> 4.
    EXPECT_EQ(chartRectangle(2250, 11000, 4.5, 4), QRect(0, 250, 500, 2500));
    EXPECT_EQ(chartRectangle(10, 1010, 4, 4), QRect(0, 250, 2, 2));
    EXPECT_EQ(chartRectangle(1750, 2750, 500, 500).width(), 4);

    EXPECT_EQ(chooseReportFontFamily({QStringLiteral("Courier New"), QStringLiteral("MONOSPAC821 bt")}),
              QStringLiteral("MONOSPAC821 bt"));
    EXPECT_EQ(chooseReportFontFamily({QStringLiteral("DejaVu Sans"), QStringLiteral("Courier New")}),
              QStringLiteral("Courier New"));
    EXPECT_TRUE(chooseReportFontFamily({QStringLiteral("DejaVu Sans Mono")}).isEmpty());
}
