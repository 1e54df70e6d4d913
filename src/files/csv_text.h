#pragma once

#include "files/utf8_pieces.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <limits>

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

// True when the bytes are UTF-8 text: checked a piece at a time, without a
// decoded copy of the whole.
bool isUtf8(QByteArrayView bytes);

// The records of UTF-8 text, one at a time. The text is decoded a piece at
// a time as the reading goes, so the reader holds the record in hand and
// little more whatever the text's size; the caller stops when it has seen
// enough. A byte order mark at the start is skipped; a line break at the
// very end does not make an extra record.
class RecordReader {
public:
    // What a record keeps; reading a table of a known size needs no more.
    struct Limits {
        // Fields kept of a record. Blank fields beyond them are dropped; the
        // first one that holds something is kept as the record's last
        // field and ends the reading (atEnd() is true from then on).
        qsizetype fields = std::numeric_limits<qsizetype>::max();
        // Characters kept of a field. A longer one keeps its first
        // fieldChars characters followed by an ellipsis (U+2026), so it
        // reads as text and never as a number.
        qsizetype fieldChars = std::numeric_limits<qsizetype>::max();
    };

    // utf8 must be valid UTF-8 (see isUtf8()) and must outlive the reader.
    RecordReader(QByteArrayView utf8, char16_t separator, Limits limits);
    RecordReader(QByteArrayView utf8, char16_t separator) : RecordReader(utf8, separator, Limits()) {}

    bool atEnd();

    // Reads one record into fields. Returns why it is broken (an unclosed
    // quote, text after a closing quote), or an empty string.
    QString next(QStringList &fields);

    // How many bytes of the text have been decoded so far.
    qsizetype bytesRead() const { return m_next; }

private:
    bool fill();
    QChar peek() const { return m_chunk[m_pos]; }
    QChar get() { return m_chunk[m_pos++]; }
    void add(QChar c);
    bool endField(QStringList &fields);
    QString readQuoted();

    QByteArrayView m_bytes;
    char16_t m_separator;
    Limits m_limits;
    qsizetype m_next = 0;  // the first byte not decoded yet
    files::Utf8Pieces m_decoder;
    QString m_chunk;       // the piece decoded last
    qsizetype m_pos = 0;   // the next character of m_chunk
    QString m_field;       // the field being read
    bool m_cut = false;    // m_field lost characters to the limit
    bool m_stopped = false;
};

// A cell's text for a message: at most 20 characters, anything that is not
// printable shown as '?'.
QString shown(const QString &field);

}  // namespace tunara::csv
