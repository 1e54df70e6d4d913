#pragma once

#include "files/other_file.h"
#include "image/module_image.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The ".dat" data file: exactly image bytes 16..279, raw, no header.
namespace tunara::datafile {

inline constexpr int Size = ModuleImage::TransferLength;  // 264

QString prematureEndMessage();  // "Error - reached premature end-of-file"

// Reads at most the first 264 bytes of a file (a shorter file gives fewer).
// Throws RuntimeError when the file cannot be opened or read, or is not a
// regular file (a folder, a device, a pipe, a broken link), naming the cause.
QByteArray read(const QString &path);

// What an open reads of a file: its first 264 bytes (fewer for a short
// file) and, when the file is recognisably something else (a CSV file, a
// picture, ...), what it is. Throws as read() does.
struct FileStart {
    QByteArray bytes;
    std::optional<files::OtherFileKind> otherKind;
};
FileStart readStart(const QString &path);

// Copies the bytes into the image from address 16 on, in order. Returns
// false when they run out before address 279 (a short file); the bytes that
// were there have been copied, as a byte-by-byte read would leave them.
bool fillImage(const QByteArray &bytes, ModuleImage &image);

// Writes image bytes 16..279 to the path under the output rule of
// files/file_safety.h: never over one of inputs, a link, a device or a
// folder, and an existing file is replaced only once the new content is
// completely on disk. Throws RuntimeError, leaving an existing file as it was.
void write(const QString &path, const ModuleImage &image, const QStringList &inputs = {});

// The file name as the caption shows it: the part after the last separator,
// shortened to "..." and its last 40 characters when longer than 40.
QString captionTitle(const QString &path);

}  // namespace tunara::datafile
