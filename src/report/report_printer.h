#pragma once

#include "report/report_layout.h"

#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace tunara::report {

// Draws a chart scaled into the given rectangle (device pixels).
using ChartPicture = std::function<void(QPainter &painter, const QRectF &target)>;

// The report font at 8 points: the families this machine offers decide
// (chooseReportFontFamily); with neither report family installed, the
// system's fixed-width font.
QFont reportFont();

// The report's page when nobody has chosen one: landscape, so the chart is
// wide and both table blocks fit; A4, or Letter where the locale measures in
// inches; half-inch margins.
QPageLayout defaultPageLayout(const QLocale &locale = QLocale::system());

// Paints the document as one job, a device page per document page, the
// chart picture in its rectangle on the chart page; lines are cut at the
// right edge of the printable area. `target` names the device in errors
// ("the printer \"X\""). Throws RuntimeError when a page cannot be started.
// A printer is such a device too: the window prints through this.
void paintReport(QPagedPaintDevice &device, const QString &target, ReportDocument doc, const ChartPicture &chart);

// The report as a PDF file under the output rule of files/file_safety.h
// (never over one of inputs, a link, a device or a folder). The file
// appears only when it is complete: a failure leaves an existing file as it
// was and no partial file behind. Throws RuntimeError naming the file and
// the reason.
void writeReportPdf(const QString &path, const QPageLayout &layout, const ReportDocument &doc,
                    const ChartPicture &chart, const QStringList &inputs = {});

}  // namespace tunara::report
