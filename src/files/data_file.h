#pragma once

#include "core/runtime_error.h"
#include "files/other_file.h"
#include "image/module_image.h"
#include "module/module_data.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The ".dat" data file: exactly image bytes 16..279, raw, no header.
namespace tunara::datafile {

inline constexpr int Size = ModuleImage::TransferLength;  // 264

QString prematureEndMessage();  // "Error - reached premature end-of-file"

// Reads at most the first count bytes of a file (a shorter file gives
// fewer). Throws RuntimeError when the file cannot be opened or read, or is
// not a regular file (a folder, a device, a pipe, a broken link), naming
// the cause.
QByteArray read(const QString &path, qint64 count = Size);

// What a load made of a file: the one way every part of the program (the
// window's open, drop, comparison and history, the command line, the
// simulated module) reads a data file.
struct Loaded {
    enum class Outcome {
        Loaded,        // data holds the file, decoded
        Unreadable,    // error says why (missing, a folder, no permission, ...)
        NotADataFile,  // otherKind says what the file is instead
        Short,         // fewer than 264 bytes
    };
    Outcome outcome = Outcome::Unreadable;
    // The image (bytes 16..279 from the file) and its decoded parameters
    // and tables; a cleared, empty image for any other outcome.
    ModuleData data;
    std::optional<files::OtherFileKind> otherKind;
    std::optional<RuntimeError> error;
    // Why the file was refused, as one line: the error's description, the
    // line of files::notADataFileText() naming the path, or for a short file
    // prematureEndMessage() alone (the open command's own text; callers that
    // show it away from the open name the path beside it). Empty when loaded.
    QString refusal;

    bool ok() const { return outcome == Outcome::Loaded; }
};

// Reads, recognises and decodes a data file. importAdvice is the caller's
// way to bring a table in from CSV (see files::notADataFileText()); empty
// where there is none. Never throws for what the file holds or lacks.
Loaded load(const QString &path, const QString &importAdvice = {});

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
