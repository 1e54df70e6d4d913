#include "files/csv_text.h"


#include <algorithm>

namespace tunara::csv {

namespace {

// Text is decoded in pieces of about this many bytes.
constexpr qsizetype PieceBytes = 16 * 1024;

// The piece of the bytes that starts at from.
QByteArrayView pieceAt(QByteArrayView bytes, qsizetype from)
{
    return bytes.sliced(from, std::min(PieceBytes, bytes.size() - from));
}

const QChar Ellipsis(0x2026);

}  // namespace

bool isUtf8(QByteArrayView bytes)
{
    files::Utf8Pieces utf8;
    for (qsizetype at = 0; at < bytes.size() && !utf8.hasError(); at += PieceBytes)
        utf8.decode(pieceAt(bytes, at));
    return !utf8.hasError() && !utf8.endsInsideCharacter();
}

RecordReader::RecordReader(QByteArrayView utf8, char16_t separator, Limits limits)
    : m_bytes(utf8), m_separator(separator), m_limits(limits)
{
    if (m_bytes.startsWith("\xEF\xBB\xBF"))
        m_next = 3;
}

bool RecordReader::fill()
{
    while (m_pos >= m_chunk.size()) {
        if (m_next >= m_bytes.size())
            return false;
        const QByteArrayView piece = pieceAt(m_bytes, m_next);
        m_chunk = m_decoder.decode(piece);
        m_next += piece.size();
        m_pos = 0;
    }
    return true;
}

bool RecordReader::atEnd()
{
    return m_stopped || !fill();
}

void RecordReader::add(QChar c)
{
    if (m_field.size() < m_limits.fieldChars)
        m_field += c;
    else
        m_cut = true;
}

// Ends the field in hand; false when it ends the reading (a field beyond
// the limit that holds something).
bool RecordReader::endField(QStringList &fields)
{
    const QString field = m_cut ? m_field + Ellipsis : m_field;
    m_field.clear();
    m_cut = false;
    if (fields.size() < m_limits.fields) {
        fields << field;
        return true;
    }
    if (field.trimmed().isEmpty())
        return true;
    fields << field;
    m_stopped = true;
    return false;
}

QString RecordReader::next(QStringList &fields)
{
    fields.clear();
    m_field.clear();
    m_cut = false;
    while (true) {
        if (!fill()) {
            endField(fields);
            return QString();
        }
        const QChar c = peek();
        if (c == u'"' && !m_cut && m_field.trimmed().isEmpty()) {
            const QString reason = readQuoted();
            if (!reason.isEmpty()) {
                endField(fields);
                return reason;
            }
            continue;
        }
        get();
        if (c == m_separator) {
            if (!endField(fields))
                return QString();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && fill() && peek() == u'\n')
                get();
            endField(fields);
            return QString();
        } else {
            add(c);
        }
    }
}

// At an opening quote: reads up to the closing quote and any blanks after it.
QString RecordReader::readQuoted()
{
    m_field.clear();
    get();
    while (true) {
        if (!fill())
            return QStringLiteral("a quoted cell is not closed");
        const QChar c = get();
        if (c != u'"') {
            add(c);
            continue;
        }
        if (fill() && peek() == u'"') {
            add(u'"');
            get();
            continue;
        }
        break;
    }
    while (fill() && peek() != m_separator && (peek() == u' ' || peek() == u'\t'))
        get();
    if (fill() && peek() != m_separator && peek() != u'\r' && peek() != u'\n')
        return QStringLiteral("text after the closing quote of a quoted cell");
    return QString();
}

QString Problem::text() const
{
    if (row > 0 && column > 0)
        return QStringLiteral("row %1, column %2: %3").arg(row).arg(column).arg(reason);
    if (row > 0)
        return QStringLiteral("row %1: %2").arg(row).arg(reason);
    return reason;
}

QString quoted(const QString &field, char16_t separator)
{
    if (!field.contains(QChar(separator)) && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    QString text = field;
    return u'"' + text.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString record(const QStringList &fields, char16_t separator)
{
    QStringList out;
    for (const QString &f : fields)
        out << quoted(f, separator);
    return out.join(QChar(separator)) + QStringLiteral("\r\n");
}

QString shown(const QString &field)
{
    QString text;
    for (const QChar c : field.left(20))
        text += c.isPrint() ? c : QChar(u'?');
    return field.size() > 20 ? text + QStringLiteral("...") : text;
}

}  // namespace tunara::csv
