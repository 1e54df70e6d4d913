#include "files/other_file.h"

#include "files/data_file.h"
#include "files/office_file.h"
#include "files/utf8_pieces.h"
#include "module/parameter_codec.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace tunara::files {

namespace {

std::optional<OtherFileKind> bySignature(const QByteArray &head, qint64 size, const ReadAt &readAt)
{
    static const struct {
        QByteArray start;
        OtherFileKind kind;
    } signatures[] = {
        {QByteArray("%PDF-"), OtherFileKind::Pdf},
        {QByteArray("\x89PNG", 4), OtherFileKind::Png},
        {QByteArray("GIF87a"), OtherFileKind::Gif},
        {QByteArray("GIF89a"), OtherFileKind::Gif},
        {QByteArray("\xFF\xD8\xFF", 3), OtherFileKind::Jpeg},
        {QByteArray("\xD0\xCF\x11\xE0", 4), OtherFileKind::CompoundDocument},
        {QByteArray("PK\x03\x04", 4), OtherFileKind::Zip},
    };
    for (const auto &s : signatures) {
        if (!head.startsWith(s.start))
            continue;
        if (s.kind == OtherFileKind::Zip && isSpreadsheetArchive(size, readAt))
            return OtherFileKind::Spreadsheet;
        if (s.kind == OtherFileKind::CompoundDocument && isSpreadsheetCompound(size, readAt))
            return OtherFileKind::Spreadsheet;
        return s.kind;
    }
    return std::nullopt;
}

// The head as text when it is one: valid UTF-8 without zero bytes, nothing
// but printable characters, tabs and line breaks. A head cut from a longer
// file may end inside a character; that last character is left out.
std::optional<QString> asText(const QByteArray &head, bool whole)
{
    if (head.contains('\0'))
        return std::nullopt;
    Utf8Pieces utf8;
    QString text = utf8.decode(head);
    if (utf8.hasError() || (whole && utf8.endsInsideCharacter()))
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (qsizetype k = 0; k < text.size(); ++k) {
        char32_t c = text[k].unicode();
        if (QChar::isHighSurrogate(c) && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[k], text[k + 1]);
            ++k;
        }
        const bool allowed = c == u'\t' || c == u'\r' || c == u'\n' || QChar::isPrint(c) ||
                             QChar::category(c) == QChar::Other_Format;
        if (!allowed)
            return std::nullopt;
    }
    return text;
}

// A line of numbers between separators, as a spreadsheet exports a table:
// at least two cells that are numbers (a decimal comma after semicolons).
bool isCsvLine(const QString &line)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    const QChar separator = line.contains(u';') ? u';' : line.contains(u',') ? u',' : u'\t';
    int numbers = 0;
    for (QString cell : line.split(separator)) {
        cell = cell.trimmed();
        if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
            cell = cell.mid(1, cell.size() - 2).trimmed();
        if (number.match(cell).hasMatch() && ++numbers >= 2)
            return true;
    }
    return false;
}

}  // namespace

std::optional<OtherFileKind> recogniseOtherFile(const QByteArray &head, qint64 size)
{
    return recogniseOtherFile(head, size, [&head](qint64 offset, qint64 length) {
        return offset < head.size() ? head.mid(offset, length) : QByteArray();
    });
}

std::optional<OtherFileKind> recogniseOtherFile(const QByteArray &head, qint64 size, const ReadAt &readAt)
{
    if (size == datafile::Size && head.size() >= datafile::Size) {
        ModuleImage image;
        datafile::fillImage(head, image);
        if (isAsSaved(image))
            return std::nullopt;
    }
    if (const auto kind = bySignature(head, size, readAt))
        return kind;
    const bool whole = size <= head.size();
    const std::optional<QString> text = asText(head, whole);
    if (!text || !text->contains(QRegularExpression(QStringLiteral("[\r\n]"))))
        return std::nullopt;
    QStringList lines = text->split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!whole)
        lines.removeLast();  // cut off by the head's end
    if (std::any_of(lines.begin(), lines.end(), isCsvLine))
        return OtherFileKind::Csv;
    return OtherFileKind::Text;
}

QString otherFileKindName(OtherFileKind kind)
{
    switch (kind) {
    case OtherFileKind::Csv: return QStringLiteral("a CSV file");
    case OtherFileKind::Text: return QStringLiteral("a text file");
    case OtherFileKind::Pdf: return QStringLiteral("a PDF file");
    case OtherFileKind::Png: return QStringLiteral("a PNG image");
    case OtherFileKind::Gif: return QStringLiteral("a GIF image");
    case OtherFileKind::Jpeg: return QStringLiteral("a JPEG image");
    case OtherFileKind::Zip: return QStringLiteral("a ZIP archive");
    case OtherFileKind::Spreadsheet: return QStringLiteral("a spreadsheet");
    case OtherFileKind::CompoundDocument: return QStringLiteral("an .xls or .doc file");
    }
    return QString();
}

QString notADataFileText(const QString &path, OtherFileKind kind, const QString &importAdvice)
{
    QString advice;
    switch (importAdvice.isEmpty() ? OtherFileKind::Text : kind) {
    case OtherFileKind::Csv:
        advice = importAdvice;
        break;
    case OtherFileKind::Spreadsheet:
        advice = QStringLiteral("save its table as CSV, then ") + importAdvice;
        break;
    default:
        advice = QStringLiteral("choose a .dat file saved by this program or downloaded from a module");
        break;
    }
    return QStringLiteral("%1 is %2, not a data file: %3").arg(path, otherFileKindName(kind), advice);
}

}  // namespace tunara::files
