#include "files/csv_text.h"

namespace tunara::csv {

namespace {

// A small state machine over one text; each call of next() yields one record.
class RecordReader {
public:
    RecordReader(QStringView text, char16_t separator) : m_text(text), m_separator(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Reads one record; returns a problem's reason, or an empty string.
    QString next(QStringList &fields)
    {
        fields.clear();
        QString field;
        while (true) {
            if (atEnd()) {
                fields << field;
                return QString();
            }
            const QChar c = m_text[m_pos];
            if (c == u'"' && field.trimmed().isEmpty()) {
                const QString reason = readQuoted(field);
                if (!reason.isEmpty()) {
                    fields << field;
                    return reason;
                }
                continue;
            }
            ++m_pos;
            if (c == m_separator) {
                fields << field;
                field.clear();
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && !atEnd() && m_text[m_pos] == u'\n')
                    ++m_pos;
                fields << field;
                return QString();
            } else {
                field += c;
            }
        }
    }

private:
    // At an opening quote: reads up to the closing quote and any blanks after it.
    QString readQuoted(QString &field)
    {
        field.clear();
        ++m_pos;
        while (true) {
            if (atEnd())
                return QStringLiteral("a quoted cell is not closed");
            const QChar c = m_text[m_pos++];
            if (c != u'"') {
                field += c;
                continue;
            }
            if (!atEnd() && m_text[m_pos] == u'"') {
                field += u'"';
                ++m_pos;
                continue;
            }
            break;
        }
        while (!atEnd() && m_text[m_pos] != m_separator && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
            ++m_pos;
        if (!atEnd() && m_text[m_pos] != m_separator && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            return QStringLiteral("text after the closing quote of a quoted cell");
        return QString();
    }

    QStringView m_text;
    char16_t m_separator;
    qsizetype m_pos = 0;
};

}  // namespace

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

std::variant<std::vector<QStringList>, Problem> parse(QStringView text, char16_t separator)
{
    std::vector<QStringList> records;
    RecordReader reader(text, separator);
    QStringList fields;
    while (!reader.atEnd()) {
        const QString reason = reader.next(fields);
        records.push_back(fields);
        if (!reason.isEmpty())
            return Problem{int(records.size()), int(fields.size()), reason};
    }
    return records;
}

QString shown(const QString &field)
{
    QString text;
    for (const QChar c : field.left(20))
        text += c.isPrint() ? c : QChar(u'?');
    return field.size() > 20 ? text + QStringLiteral("...") : text;
}

}  // namespace tunara::csv
