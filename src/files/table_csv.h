#pragma once

#include "files/csv_dialect.h"
#include "files/csv_text.h"
#include "tables/timing_tables.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

// A timing table as a CSV file in the grid's layout: a heading row with the
// speed points in RPM, then the advance row (2D, labelled "ADV") or the eight
// pressure rows labelled as the grid labels them (3D). Commas and a decimal
// point, or semicolons and a decimal comma; CR LF line ends, UTF-8.
namespace tunara::tablecsv {

// Larger files are refused before they are read.
inline constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// The most characters of a cell the reading keeps: far more than any
// number, heading or label of a table. A longer cell is cut (and so read as
// none of these), which bounds what a file of one huge line costs.
inline constexpr qsizetype MaxCellChars = 256;

// The CSV of a table. Every advance is written with enough digits that
// reading it back and encoding it gives the same byte as the value itself.
QByteArray write2D(const Table2D &table, int trigTiming, csv::Dialect dialect = csv::CommaPoint);
QByteArray write3D(const Table3D &table, int trigTiming, std::uint8_t mapSensor,
                   csv::Dialect dialect = csv::CommaPoint);

template <typename Table>
using Result = std::variant<Table, csv::Problem>;

// A CSV read back into a whole table, or the first problem with its row and
// column: empty or binary text, a missing or extra row or column, a heading
// or label that is not the table's, a cell that is not a number or lies
// outside the advance window of the trigger timing. The separator is the
// first comma, semicolon or tab of row 1; the decimal mark is the comma
// after semicolons and otherwise the mark of the first cell that has one
// (after commas a quoted "29,2089" as well as 29.2089); a cell with the other mark, with both marks
// (thousands separators) or a short row that another separator would split
// whole is refused. A UTF-8 byte order mark, quoted cells, CR LF line ends
// and trailing empty cells and rows are accepted. Column 2 of the 2D result
// is the trigger timing.
Result<Table2D> read2D(const QByteArray &bytes, int trigTiming);
Result<Table3D> read3D(const QByteArray &bytes, int trigTiming, std::uint8_t mapSensor);

// Where the front end that imports sends a file that is no CSV: how it
// imports a spreadsheet's table once saved as CSV ("use Import Table into
// Grid") and how it opens a data file ("use File > Open").
struct ImportAdvice {
    QString importCsv;
    QString openDataFile;
};

// The refusal of a file that is recognisably not CSV text, as one line
// naming the path and what the file is: a spreadsheet (whatever its
// archive's order), a data file, a picture or another document. Nothing
// for text, which the reading judges.
std::optional<QString> notCsvText(const QString &path, const QByteArray &bytes, const ImportAdvice &advice);

// An advance as the CSV writes it: four decimals at most, or every digit
// when fewer would be stored as a different byte.
QString advanceText(double advance, int trigTiming);

// Reads a CSV file whole under the input rule of files/file_safety.h:
// folders, pipes, devices and files larger than MaxFileBytes are refused.
// Throws RuntimeError with a one-line reason.
QByteArray readFile(const QString &path);

// Writes the file in one piece under the output rule of files/file_safety.h
// (never over one of inputs): an existing file is replaced only once the
// new content is on disk. Throws RuntimeError with a one-line reason.
void writeFile(const QString &path, const QByteArray &bytes, const QStringList &inputs = {});

}  // namespace tunara::tablecsv
