#include "files/office_file.h"

#include <QString>

#include <algorithm>

namespace tunara::files {

namespace {

const QByteArray LocalHeader("PK\x03\x04", 4);
const QByteArray CentralHeader("PK\x01\x02", 4);
const QByteArray EndRecord("PK\x05\x06", 4);
const QByteArray CompoundSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

constexpr qint64 LocalHeaderBytes = 30;
constexpr qint64 CentralHeaderBytes = 46;
constexpr qint64 EndRecordBytes = 22;
constexpr qint64 MaxCommentBytes = 0xFFFF;
// Far more than the list of parts of any workbook; a larger directory is
// not read, and the archive is walked from its start instead.
constexpr qint64 MaxDirectoryBytes = 4 * 1024 * 1024;

quint32 littleEndian(const QByteArray &bytes, qsizetype at, int width)
{
    if (at < 0 || at + width > bytes.size())
        return 0;
    quint32 value = 0;
    for (int k = width - 1; k >= 0; --k)
        value = (value << 8) | quint8(bytes[at + k]);
    return value;
}

// OpenDocument stores its type uncompressed in the "mimetype" entry; a
// text document or a presentation names another type there.
bool namesSpreadsheetType(const ReadAt &readAt, qint64 localHeader)
{
    static const QByteArray type("application/vnd.oasis.opendocument.spreadsheet");
    const QByteArray header = readAt(localHeader, LocalHeaderBytes);
    if (header.size() < LocalHeaderBytes || !header.startsWith(LocalHeader) || littleEndian(header, 8, 2) != 0)
        return false;
    const qint64 data = localHeader + LocalHeaderBytes + littleEndian(header, 26, 2) + littleEndian(header, 28, 2);
    return readAt(data, type.size()) == type;
}

bool isSpreadsheetEntry(const QByteArray &name, qint64 localHeader, const ReadAt &readAt)
{
    return name.startsWith("xl/") || (name == "mimetype" && namesSpreadsheetType(readAt, localHeader));
}

// The central directory named by the end record, or nothing when there is
// no end record that leads to one.
QByteArray centralDirectory(qint64 size, const ReadAt &readAt)
{
    const qint64 tailStart = std::max<qint64>(0, size - EndRecordBytes - MaxCommentBytes);
    const QByteArray tail = readAt(tailStart, size - tailStart);
    for (qsizetype at = tail.lastIndexOf(EndRecord); at >= 0; at = at > 0 ? tail.lastIndexOf(EndRecord, at - 1) : -1) {
        const qint64 dirSize = littleEndian(tail, at + 12, 4);
        const qint64 dirOffset = littleEndian(tail, at + 16, 4);
        if (at + EndRecordBytes > tail.size() || dirSize > MaxDirectoryBytes || dirOffset + dirSize > tailStart + at)
            continue;
        const QByteArray dir = readAt(dirOffset, dirSize);
        if (dir.size() == dirSize && dir.startsWith(CentralHeader))
            return dir;
    }
    return {};
}

bool listsSpreadsheet(const QByteArray &dir, const ReadAt &readAt)
{
    qsizetype at = 0;
    while (at + CentralHeaderBytes <= dir.size() && dir.mid(at, 4) == CentralHeader) {
        const quint32 nameSize = littleEndian(dir, at + 28, 2);
        const QByteArray name = dir.mid(at + CentralHeaderBytes, nameSize);
        if (isSpreadsheetEntry(name, littleEndian(dir, at + 42, 4), readAt))
            return true;
        at += CentralHeaderBytes + nameSize + littleEndian(dir, at + 30, 2) + littleEndian(dir, at + 32, 2);
    }
    return false;
}

// Entry after entry from the start, for an archive whose end is missing.
bool walksToSpreadsheet(qint64 size, const ReadAt &readAt)
{
    qint64 at = 0;
    for (int entries = 0; entries < 10000 && at + LocalHeaderBytes <= size; ++entries) {
        const QByteArray header = readAt(at, LocalHeaderBytes);
        if (header.size() < LocalHeaderBytes || !header.startsWith(LocalHeader))
            return false;
        const quint32 nameSize = littleEndian(header, 26, 2);
        if (isSpreadsheetEntry(readAt(at + LocalHeaderBytes, nameSize), at, readAt))
            return true;
        // An entry whose size follows its data leaves no way to the next one.
        if (littleEndian(header, 6, 2) & 0x08)
            return false;
        at += LocalHeaderBytes + nameSize + littleEndian(header, 28, 2) + littleEndian(header, 18, 4);
    }
    return false;
}

// A directory entry of a compound document: a stream named as a workbook.
bool isWorkbookStream(const QByteArray &entry)
{
    const quint32 nameBytes = littleEndian(entry, 0x40, 2);
    if (entry.size() < 128 || entry[0x42] != 2 || nameBytes < 2 || nameBytes > 64)
        return false;
    QString name;
    for (quint32 k = 0; k + 2 < nameBytes; k += 2)
        name += QChar(char16_t(littleEndian(entry, k, 2)));
    return name == QLatin1String("Workbook") || name == QLatin1String("Book");
}

}  // namespace

bool isSpreadsheetArchive(qint64 size, const ReadAt &readAt)
{
    const QByteArray dir = centralDirectory(size, readAt);
    return dir.isEmpty() ? walksToSpreadsheet(size, readAt) : listsSpreadsheet(dir, readAt);
}

bool isSpreadsheetCompound(qint64 size, const ReadAt &readAt)
{
    constexpr qint64 HeaderBytes = 512;
    constexpr quint32 LastSector = 0xFFFFFFF9;  // higher numbers end a chain
    constexpr qint64 ListedFatSectors = 109;    // the header lists the first ones
    const QByteArray header = readAt(0, HeaderBytes);
    if (header.size() < HeaderBytes || !header.startsWith(CompoundSignature))
        return false;
    const quint32 shift = littleEndian(header, 0x1E, 2);
    if (shift != 9 && shift != 12)
        return false;
    const qint64 sectorBytes = qint64(1) << shift;
    const auto offsetOf = [&](quint32 sector) { return (qint64(sector) + 1) * sectorBytes; };
    const auto next = [&](quint32 sector) -> quint32 {
        const qint64 perFatSector = sectorBytes / 4;
        if (sector / perFatSector >= ListedFatSectors)
            return LastSector + 1;
        const quint32 fatSector = littleEndian(header, 0x4C + 4 * qsizetype(sector / perFatSector), 4);
        const QByteArray link = readAt(offsetOf(fatSector) + (sector % perFatSector) * 4, 4);
        return link.size() == 4 ? littleEndian(link, 0, 4) : LastSector + 1;
    };
    quint32 sector = littleEndian(header, 0x30, 4);
    // A workbook's directory takes a sector or two; a looping chain ends here.
    for (int read = 0; read < 64 && sector <= LastSector && offsetOf(sector) < size; ++read) {
        const QByteArray dir = readAt(offsetOf(sector), sectorBytes);
        for (qsizetype at = 0; at + 128 <= dir.size(); at += 128)
            if (isWorkbookStream(dir.mid(at, 128)))
                return true;
        sector = next(sector);
    }
    return false;
}

}  // namespace tunara::files
