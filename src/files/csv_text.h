#pragma once

#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

// Comma-separated text as RFC 4180 describes it: fields separated by commas
// (or another separator: a semicolon, a tab), records by line breaks (CR LF,
// LF or CR), fields in double quotes may hold separators, line breaks and
// doubled quotes.
namespace tunara::csv {

// Where a text or a table read from it went wrong. Rows and columns count
// from 1 as a spreadsheet shows them; 0 when the problem is not tied to one.
struct Problem {
    int row = 0;
    int column = 0;
    QString reason;

    // "row 3, column 5: <reason>", "row 10: <reason>" or the reason alone.
    QString text() const;
};

// One field, quoted only when it holds the separator, a quote or a line break.
QString quoted(const QString &field, char16_t separator = u',');

// Fields joined by the separator, ended by CR LF.
QString record(const QStringList &fields, char16_t separator = u',');

// All records of a text. An unclosed quote or text after a closing quote is
// a problem; a line break at the very end does not make an extra record.
std::variant<std::vector<QStringList>, Problem> parse(QStringView text, char16_t separator = u',');

// A cell's text for a message: at most 20 characters, anything that is not
// printable shown as '?'.
QString shown(const QString &field);

}  // namespace tunara::csv
