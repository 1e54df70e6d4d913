#pragma once

#include <QByteArray>
#include <QString>

#include "files/office_file.h"

#include <optional>

// Files that a user may pick by mistake where a data file belongs: a table
// exported as CSV, a spreadsheet, a scan or a manual. Told apart from a data
// file by their first bytes, so an open can say what the file is instead of
// loading text or a picture into the module image.
namespace tunara::files {

enum class OtherFileKind { Csv, Text, Pdf, Png, Gif, Jpeg, Zip, Spreadsheet, CompoundDocument };

// How much of a file's start recogniseOtherFile() needs to see.
inline constexpr qint64 RecogniseHeadBytes = 4096;

// What the file is when it is recognisably not a data file; nothing for a
// data file or a file of unknown kind (which opens as any file does). head
// is the file's start (its first RecogniseHeadBytes bytes, or all of a
// shorter file), size the whole file's size. A file of exactly 264 bytes
// that a decode and an encode give back unchanged - every file this program
// saves - is a data file whatever its first bytes look like.
// A ZIP archive or a compound document is a spreadsheet when what it holds
// says so (see files/office_file.h); readAt reaches the rest of the file.
// Without it only the head is looked into.
std::optional<OtherFileKind> recogniseOtherFile(const QByteArray &head, qint64 size, const ReadAt &readAt);
std::optional<OtherFileKind> recogniseOtherFile(const QByteArray &head, qint64 size);

// The kind with its article, as a sentence names it: "a CSV file", "a PNG image".
QString otherFileKindName(OtherFileKind kind);

// One line for a refused open: "<path> is a CSV file, not a data file: "
// and what to do. importAdvice says where the user brings a table in from
// CSV ("use File > ...", "import it with ..."); CSV files and spreadsheets
// get it, the other kinds (and every kind where there is no import) the
// advice to choose a data file.
QString notADataFileText(const QString &path, OtherFileKind kind, const QString &importAdvice);

}  // namespace tunara::files
