#include "report/report_layout.h"

#include "core/numbers.h"
#include "core/shown_numbers.h"

#include <algorithm>

namespace tunara::report {

namespace {

ReportLine blank()
{
    return {};
}

ReportLine text(const QString &t, int column = TextColumn)
{
    return {{{column, t}}};
}

ReportLine labelled(const QString &label, const QString &value, int valueColumn = ValueColumn)
{
    return {{{TextColumn, label}, {valueColumn, value}}};
}

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// A stored angle in whole degrees: steps x 0.0879, halves to even.
double wholeDegrees(int steps)
{
    return numbers::roundHalfEven(steps * DegreesPerStep);
}

ReportLine headerLine(const ReportInputs &in)
{
    return text(headerText(in.companyName, in.printedAt));
}

bool hasSerialLine(const ReportInputs &in)
{
    return !in.comment.isEmpty();
}

ReportLine serialLine(const ReportInputs &in)
{
    return text(QStringLiteral("Serial/Comment: ") + printable(in.comment));
}

void appendGeneralOptions(std::vector<ReportLine> &lines, const ModuleParameters &p, const QLocale &locale)
{
    lines.push_back(text(QStringLiteral("General Options")));
    lines.push_back(labelled(QStringLiteral("RPM Limit Disabled:"), boolText(!p.RPMLimitEnable)));
    lines.push_back(labelled(QStringLiteral("Multi-Spark Disabled:"), boolText(!p.MultiSparkEnable)));
    lines.push_back(labelled(QStringLiteral("Timing Functions Disabled:"), boolText(!p.TimingEnable)));
    lines.push_back(labelled(QStringLiteral("Fixed Maximum RPM Limit Enabled:"), boolText(p.FixedMaxRPMLimit)));
    if (p.FixedMaxRPMLimit)
        lines.push_back(labelled(QStringLiteral("Fixed Maximum RPM Limit:"),
                                 numbers::format(p.MaxRPMLimit, QStringLiteral("##00"))));
    lines.push_back(labelled(QStringLiteral("Automatic Start Retard Enabled:"), boolText(p.StartRetard > 0)));
    if (p.StartRetard > 0)
        lines.push_back(labelled(QStringLiteral("Start Retard (Deg):"),
                                 numbers::format(wholeDegrees(p.StartRetard), QStringLiteral("#0"))));
    lines.push_back(labelled(QStringLiteral("High Speed Data Logging Enabled:"), boolText(p.HighSpeedDataLog)));
    lines.push_back(labelled(QStringLiteral("Cranking Pulses:"), numbers::plainWholeNumber(p.CrankPulses)));
    // To the nearest half degree: twice the angle rounded, then halved.
    const double retardComp = numbers::roundHalfEven(p.RetardComp * 2 * DegreesPerStep) / 2;
    lines.push_back(labelled(QStringLiteral("Retard Compensation (Deg):"),
                             numbers::shown(retardComp, QStringLiteral("#0.0"), locale)));
}

QString mapSensorText(std::uint8_t mapSensor)
{
    switch (mapSensor) {
    case 1:
        return QStringLiteral("2 bar MAP Sensor");
    case 2:
        return QStringLiteral("3 bar MAP Sensor");
    default:
        return QStringLiteral("1 bar MAP Sensor");
    }
}

void appendTableOptions(std::vector<ReportLine> &lines, const ModuleParameters &p, const QLocale &locale)
{
    lines.push_back(text(QStringLiteral("Timing Table Options")));
    const ReportLine trigger =
        labelled(QStringLiteral("Trigger Signal Timing (Deg):"), numbers::shown(p.TrigTiming, QStringLiteral("#0.0"), locale));
    if (p.TimingTable2D) {
        lines.push_back(text(QStringLiteral("2D Timing Table Enabled")));
        lines.push_back(trigger);
    } else if (p.TimingTable3D) {
        lines.push_back(text(QStringLiteral("3D Timing Table Enabled")));
        lines.push_back(text(mapSensorText(p.MAPSensor)));
        lines.push_back(trigger);
    } else {
        lines.push_back(text(QStringLiteral("Timing Table Disabled")));
    }
}

void appendIdleStabilisation(std::vector<ReportLine> &lines, const ModuleParameters &p)
{
    lines.push_back(text(QStringLiteral("Idle Stabilization Parameters")));
    lines.push_back(blank());
    lines.push_back(labelled(QStringLiteral("Idle Stabilization Enabled:"), boolText(p.IdleStabEnable)));
    lines.push_back(labelled(QStringLiteral("Trigger Pulses After Start:"),
                             numbers::plainWholeNumber(p.IdleStabTrigStartNum)));
    lines.push_back(labelled(QStringLiteral("Minimum Idle RPM:"), numbers::format(p.MinIdleRPM, QStringLiteral("###0"))));
    lines.push_back(labelled(QStringLiteral("Idle Stabilization Advance (Deg):"),
                             numbers::format(wholeDegrees(p.IdleStabAdv), QStringLiteral("#0"))));
}

void appendGpio(std::vector<ReportLine> &lines, const ModuleParameters &p)
{
    lines.push_back(text(QStringLiteral("General Purpose Input/Ouput Parameters")));
    lines.push_back(blank());
    if ((p.GPIO2Mode & 0x0F) == 3) {
        lines.push_back(text(QStringLiteral("GPIO2 RPM Window Switch")));
        lines.push_back(labelled(QStringLiteral("Minimum RPM:"), numbers::format(p.GPIO2MinRPM, QStringLiteral("####0"))));
        lines.push_back(labelled(QStringLiteral("Maximum RPM:"), numbers::format(p.GPIO2MaxRPM, QStringLiteral("####0"))));
    } else {
        lines.push_back(text(QStringLiteral("GPIO2 Data Log Only (Default)")));
    }
}

// Columns 0 and `first`..`last` of one grid row as fixed-width fields.
QString fieldRow(const QStringList &row, int first, int last)
{
    QString line = fixedWidth(row.value(0));
    for (int c = first; c <= last; ++c)
        line += fixedWidth(row.value(c));
    return line;
}

}  // namespace

QString headerText(const QString &companyName, const QString &printedAt)
{
    return printable(companyName) + QStringLiteral(" Torvik-1 Zoruro Ignition Module Data Printed: ") + printedAt;
}

QString printedAtText(const QDateTime &when, const QLocale &locale)
{
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' + locale.toString(when.time(), QLocale::LongFormat);
}

QString fixedWidth(const QString &text, int width)
{
    return printable(text).left(width).rightJustified(width);
}

QString printable(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return out;
}

std::vector<ReportLine> parameterListing(const ReportInputs &in)
{
    const ModuleParameters &p = in.params;
    std::vector<ReportLine> lines{headerLine(in), blank()};
    if (hasSerialLine(in))
        lines.push_back(serialLine(in));
    lines.push_back(labelled(QStringLiteral("Firmware ID:"), printable(in.firmwareId), FirmwareValueColumn));
    lines.push_back(blank());
    lines.push_back(text(QStringLiteral("Module Parameters")));
    lines.push_back(blank());
    appendGeneralOptions(lines, p, in.locale);
    lines.push_back(blank());
    appendTableOptions(lines, p, in.locale);
    lines.push_back(blank());
    appendIdleStabilisation(lines, p);
    lines.push_back(blank());
    appendGpio(lines, p);
    return lines;
}

std::vector<ReportLine> tableSection(const ReportInputs &in)
{
    std::vector<ReportLine> lines{headerLine(in), blank()};
    if (hasSerialLine(in))
        lines.push_back(serialLine(in));
    lines.push_back(blank());
    lines.push_back(text(QStringLiteral("Timing Table")));
    lines.push_back(blank());
    // 0 .. 5000 RPM, then 5500 .. 10000 RPM, each row repeating its caption.
    for (const QStringList &row : in.tableCells)
        lines.push_back(text(fieldRow(row, 1, 11)));
    lines.push_back(blank());
    lines.push_back(blank());
    for (const QStringList &row : in.tableCells)
        lines.push_back(text(fieldRow(row, 12, 21)));
    return lines;
}

ReportDocument layoutReport(const ReportInputs &in)
{
    TextBlock first{FirstSectionTopTwips, {headerLine(in)}};
    if (hasSerialLine(in))
        first.lines.push_back(serialLine(in));
    const TextBlock parameters{SectionTopTwips, parameterListing(in)};

    ReportDocument doc;
    if (in.params.TimingTable2D || in.params.TimingTable3D) {
        doc.pages.push_back({{first}, true});
        doc.pages.push_back({{TextBlock{SectionTopTwips, tableSection(in)}}, false});
        doc.pages.push_back({{parameters}, false});
    } else {
        doc.pages.push_back({{first, parameters}, false});
    }
    return doc;
}

void fitToColumns(ReportDocument &doc, int columns)
{
    for (ReportPage &page : doc.pages)
        for (TextBlock &block : page.blocks)
            for (ReportLine &line : block.lines)
                for (ReportItem &item : line.items)
                    item.text.truncate(std::max(0, columns - item.column + 1));
}

QRect chartRectangle(double pageWidthTwips, double pageHeightTwips, double twipsPerPixelX, double twipsPerPixelY)
{
    const auto pixels = [](double twips, double perPixel) { return int(numbers::roundHalfEven(twips / perPixel)); };
    return QRect(0, pixels(ChartTopTwips, twipsPerPixelY), pixels(pageWidthTwips, twipsPerPixelX),
                 pixels(pageHeightTwips - ChartTopTwips, twipsPerPixelY));
}

QString chooseReportFontFamily(const QStringList &offered)
{
    for (const QString &family : offered)
        if (family.compare(QStringLiteral("Monospac821 BT"), Qt::CaseInsensitive) == 0)
            return family;
    for (const QString &family : offered)
        if (family.compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0)
            return family;
    return {};
}

}  // namespace tunara::report
