#pragma once

#include "image/module_parameters.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

// The printed report as text: which lines go on which page, at which
// character columns. Nothing here knows fonts or printers; the renderer
// turns columns into positions and draws the chart picture where a page
// asks for it.
namespace tunara::report {

// Layout constants of the report, in twips (1/1440 inch) and columns.
inline constexpr int FirstSectionTopTwips = 500;
inline constexpr int SectionTopTwips = 2000;
inline constexpr int ChartTopTwips = 1000;
inline constexpr int TextColumn = 10;
inline constexpr int ValueColumn = 50;
inline constexpr int FirmwareValueColumn = 30;
inline constexpr int FieldWidth = 8;
inline constexpr int FontPointSize = 8;

// A text printed from a character column (counted from 1 at the left edge
// of the printable area).
struct ReportItem {
    int column = TextColumn;
    QString text;
    bool operator==(const ReportItem &) const = default;
};

// One printed line; no items is a blank line.
struct ReportLine {
    std::vector<ReportItem> items;
    bool operator==(const ReportLine &) const = default;
};

// Lines printed one below the other from a vertical position on the page.
struct TextBlock {
    int topTwips = SectionTopTwips;
    std::vector<ReportLine> lines;
};

struct ReportPage {
    std::vector<TextBlock> blocks;
    bool chart = false;  // the chart picture goes below the header
};

struct ReportDocument {
    std::vector<ReportPage> pages;
};

// Everything the report prints, as plain values.
struct ReportInputs {
    ModuleParameters params;
    QString firmwareId;
    QString companyName;  // CompanyInfo item 1
    QString printedAt;    // the date and time of printing, already formatted
    QString comment;      // serial number or comment; empty prints no serial line
    // The active table's grid as its cells read: row 0 the engine speeds,
    // column 0 the row captions (2 rows for 2D, 9 for 3D).
    QList<QStringList> tableCells;
    // The decimal mark of the parameters printed: the user's in the program,
    // the point from the command line.
    QLocale locale = QLocale::c();
};

// The whole report: with a table enabled a chart page, a table page and a
// parameter page; with none, one page carrying both the first section and
// the parameter section.
ReportDocument layoutReport(const ReportInputs &in);

// The module parameter listing, header line first.
std::vector<ReportLine> parameterListing(const ReportInputs &in);

// The table page's lines: header, serial line, "Timing Table", then the two
// blocks of fixed-width fields (columns 0 to 11, then 0 and 12 to 21).
std::vector<ReportLine> tableSection(const ReportInputs &in);

// "<company> Torvik-1 Zoruro Ignition Module Data Printed: <date time>".
QString headerText(const QString &companyName, const QString &printedAt);

// The date and time of printing: the locale's short date, a blank, its
// long time.
QString printedAtText(const QDateTime &when, const QLocale &locale = QLocale::system());

// A cell text in a field of exactly `width` characters: right-aligned,
// a longer text cut to its first `width` characters.
QString fixedWidth(const QString &text, int width = FieldWidth);

// Control characters (a pasted tab or line break) would break the columns:
// each becomes a blank.
QString printable(const QString &text);

// Cuts every item so that no line runs past `columns` characters.
void fitToColumns(ReportDocument &doc, int columns);

// The chart picture's rectangle in device pixels: left 0, top 1000 twips,
// the page's width, its height less 1000 twips; each extent divided by the
// device's twips per pixel in its direction and rounded, halves to even.
QRect chartRectangle(double pageWidthTwips, double pageHeightTwips, double twipsPerPixelX, double twipsPerPixelY);

// The report font: "Monospac821 BT" in whatever letter case it is offered,
// else "Courier New" when offered; empty when neither is (the caller then
// uses the system's fixed-width font).
QString chooseReportFontFamily(const QStringList &offered);

}  // namespace tunara::report
