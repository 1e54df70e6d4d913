#include "report/report_printer.h"

#include "core/runtime_error.h"
#include "files/file_safety.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <optional>

namespace tunara::report {

namespace {

// The number the language gives a printer failure.
constexpr int PrinterErrorNumber = 482;
constexpr double TwipsPerInch = 1440;

RuntimeError reportError(const QString &description)
{
    return RuntimeError(PrinterErrorNumber, QStringLiteral("Printer"), description);
}

// Column positions and line height of the report font on this device.
struct TextGrid {
    double columnWidth = 0;
    double lineHeight = 0;
    double ascent = 0;
    double twipsPerPixelY = 1;
};

void drawBlock(QPainter &painter, const TextGrid &grid, const TextBlock &block)
{
    double top = block.topTwips / grid.twipsPerPixelY;
    for (const ReportLine &line : block.lines) {
        for (const ReportItem &item : line.items)
            painter.drawText(QPointF((item.column - 1) * grid.columnWidth, top + grid.ascent), item.text);
        top += grid.lineHeight;
    }
}

void drawChart(QPainter &painter, const QRect &rect, const ChartPicture &chart)
{
    painter.save();
    painter.setClipRect(rect);
    chart(painter, QRectF(rect));
    painter.restore();
}

}  // namespace

QFont reportFont()
{
    const QString family = chooseReportFontFamily(QFontDatabase::families());
    QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(FontPointSize);
    return font;
}

QPageLayout defaultPageLayout(const QLocale &locale)
{
    const QPageSize size(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Landscape, QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
}

void paintReport(QPagedPaintDevice &device, const QString &target, ReportDocument doc, const ChartPicture &chart)
{
    // Page width and height are those of the printable area, where column 1 starts.
    const double twipsPerPixelX = TwipsPerInch / device.logicalDpiX();
    const double twipsPerPixelY = TwipsPerInch / device.logicalDpiY();
    const QRect chartRect = chartRectangle(device.width() * twipsPerPixelX, device.height() * twipsPerPixelY,
                                           twipsPerPixelX, twipsPerPixelY);
    QPainter painter;
    if (!painter.begin(&device))
        throw reportError(QStringLiteral("The report could not be started on %1.").arg(target));
    const QFont font = reportFont();
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const TextGrid grid{metrics.horizontalAdvance(u'0'), metrics.lineSpacing(), metrics.ascent(), twipsPerPixelY};
    fitToColumns(doc, int(std::floor(device.width() / grid.columnWidth)));

    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            throw reportError(QStringLiteral("A new page could not be started on %1.").arg(target));
        painter.setPen(Qt::black);
        for (const TextBlock &block : doc.pages[i].blocks)
            drawBlock(painter, grid, block);
        if (doc.pages[i].chart && chart)
            drawChart(painter, chartRect, chart);
    }
    if (!painter.end())
        throw reportError(QStringLiteral("The report could not be finished on %1.").arg(target));
}

void writeReportPdf(const QString &path, const QPageLayout &layout, const ReportDocument &doc,
                    const ChartPicture &chart, const QStringList &inputs)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw reportError(QStringLiteral("The report could not be written to %1: the folder %2 does not exist.")
                              .arg(shown, QDir::toNativeSeparators(info.absolutePath())));
    const auto failed = [&](const files::FileRefused &e) {
        return reportError(QStringLiteral("The report could not be written to %1: %2.").arg(shown, e.reason()));
    };
    std::optional<files::AtomicFile> file;
    try {
        file.emplace(path, inputs);
    } catch (const files::FileRefused &e) {
        throw failed(e);
    }
    {
        QPdfWriter writer(&file->device());
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Tunara"));
        writer.setTitle(QStringLiteral("Torvik-1 Zoruro Ignition Module Data"));
        paintReport(writer, QStringLiteral("the file %1").arg(shown), doc, chart);
    }
    try {
        file->commit();
    } catch (const files::FileRefused &e) {
        throw failed(e);
    }
}

}  // namespace tunara::report
