#include "files/csv_dialect.h"

#include "files/csv_text.h"

#include <QRegularExpression>

namespace tunara::csv {

namespace {

QString markName(char16_t mark)
{
    return mark == u',' ? QStringLiteral("a decimal comma") : QStringLiteral("a decimal point");
}

char16_t code(QChar c)
{
    return c.unicode();
}

char16_t code(char c)
{
    return char16_t(quint8(c));
}

template <typename Text>
char16_t separatorOf(Text text)
{
    bool inQuotes = false;
    for (const auto ch : text) {
        const char16_t c = code(ch);
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == u',' || c == u';' || c == u'\t'))
            return c;
        else if (!inQuotes && (c == u'\r' || c == u'\n'))
            break;
    }
    return u',';
}

}  // namespace

char16_t detectSeparator(QStringView text)
{
    return separatorOf(text);
}

char16_t detectSeparator(QByteArrayView utf8)
{
    return separatorOf(utf8);
}

QString separatorName(char16_t separator)
{
    switch (separator) {
    case u';':
        return QStringLiteral("semicolons");
    case u'\t':
        return QStringLiteral("tabs");
    default:
        return QStringLiteral("commas");
    }
}

QString withDecimal(QString pointText, Dialect dialect)
{
    return pointText.replace(u'.', QChar(dialect.decimal));
}

NumberReader::NumberReader(char16_t separator)
    : m_separator(separator), m_mark(separator == u';' ? u',' : 0)
{
}

std::variant<double, QString> NumberReader::read(const QString &text, int row, int column)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    QString t = text.trimmed();
    const bool point = t.contains(u'.');
    const bool comma = t.contains(u',');
    const QString notNumber = QStringLiteral("\"%1\" is not a number").arg(shown(t));
    if (point && comma)
        return notNumber + QStringLiteral(": thousands separators are not read");
    if (!number.match(t).hasMatch())
        return notNumber;
    if (point || comma) {
        const char16_t mark = point ? u'.' : u',';
        if (m_mark == 0) {
            m_mark = mark;
            m_markSetBy = QStringLiteral("row %1, column %2").arg(row).arg(column);
        } else if (mark != m_mark) {
            const QString why = m_markSetBy.isEmpty()
                                    ? QStringLiteral("cells separated by %1 take %2").arg(separatorName(m_separator), markName(m_mark))
                                    : QStringLiteral("%1 uses %2").arg(m_markSetBy, markName(m_mark));
            return notNumber + QStringLiteral(": ") + why;
        }
        t.replace(u',', u'.');
    }
    return t.toDouble();
}

}  // namespace tunara::csv
