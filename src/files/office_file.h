#pragma once

#include <QByteArray>

#include <functional>

// Spreadsheets told apart from other archives and office documents by what
// they hold, not by their name or by the order a program wrote them in.
namespace tunara::files {

// Up to length bytes of the file at offset (fewer at its end, none past it).
using ReadAt = std::function<QByteArray(qint64 offset, qint64 length)>;

// A ZIP archive holding a workbook: entries under "xl/" (Office Open XML),
// or a stored "mimetype" entry naming an OpenDocument spreadsheet. The
// archive's central directory at its end lists every entry wherever it lies;
// an archive without one (cut short) is walked from its first entry.
bool isSpreadsheetArchive(qint64 size, const ReadAt &readAt);

// A compound document (the older Office format) whose directory holds a
// workbook stream ("Workbook", or "Book" of the oldest versions).
bool isSpreadsheetCompound(qint64 size, const ReadAt &readAt);

}  // namespace tunara::files
