#pragma once

// Reads a PDF back the way a person checks a printout: its pages, its text
// line by line, where each word starts, and whether a page region holds a
// drawing. Uses poppler's pdftotext, pdfinfo and pdftoppm.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace tunara::test {

inline QString runTool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " failed (poppler-utils installed?): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pdfPageCount(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(runTool(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The text of one page (1-based), lines with their blanks collapsed.
inline QStringList pdfPageLines(const QString &pdf, int page)
{
    const QString text = runTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                  QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    QStringList lines;
    for (const QString &line : text.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    return lines;
}

struct PdfWord {
    int page;
    double x;
    double y;
    QString text;
};

// Every word with its left edge and top, in points.
inline std::vector<PdfWord> pdfWords(const QString &pdf)
{
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression token(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page")))
            ++page;
        else
            words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

// Share of non-white pixels of a page region (fractions of the page).
inline double inkShare(const QString &pdf, int page, const QRectF &region)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
                                         QStringLiteral("-l"), QString::number(page), pdf, stem});
    const QImage image(stem + QStringLiteral(".png"));
    if (image.isNull())
        return 0;
    const QRect r(int(region.x() * image.width()), int(region.y() * image.height()), int(region.width() * image.width()),
                  int(region.height() * image.height()));
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return double(ink) / (r.width() * r.height());
}

}  // namespace tunara::test
