#include "files/data_file.h"

#include "core/runtime_error.h"
#include "core/system_error_text.h"
#include "files/file_safety.h"
#include "module/parameter_codec.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>

namespace tunara::datafile {

namespace {

RuntimeError fileError(const QString &what, const QString &path, const QString &reason)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("Data File"),
                        QStringLiteral("%1 %2: %3").arg(what, path, reason));
}

// The file's bytes past its head, read only when a recognition asks for
// them (an archive's directory at its end). The input rule has been applied
// by the read of the head; a file that stopped being a regular one since
// gives nothing.
files::ReadAt beyondHead(const QString &path, const QByteArray &head)
{
    auto file = std::make_shared<QFile>(path);
    return [file, head](qint64 offset, qint64 length) -> QByteArray {
        if (offset + length <= head.size())
            return head.mid(offset, length);
        if (!file->isOpen() && (!QFileInfo(file->fileName()).isFile() || !file->open(QIODevice::ReadOnly)))
            return {};
        return file->seek(offset) ? file->read(length) : QByteArray();
    };
}

}  // namespace

QString prematureEndMessage()
{
    return QStringLiteral("Error - reached premature end-of-file");
}

QByteArray read(const QString &path, qint64 count)
{
    try {
        // A longer file gives its first bytes, as it always has.
        return files::readInput(path, count, QStringLiteral("data file"), true);
    } catch (const files::FileRefused &e) {
        throw fileError(QStringLiteral("Cannot open"), path, e.reason());
    }
}

Loaded load(const QString &path, const QString &importAdvice)
{
    Loaded result;
    result.data.image.ClearEEPROMBuffer();
    QByteArray head;
    try {
        head = read(path, files::RecogniseHeadBytes);
    } catch (const RuntimeError &e) {
        result.error = e;
        result.refusal = e.description();
        return result;
    }
    // A head shorter than asked for is the whole file.
    const bool whole = head.size() < files::RecogniseHeadBytes;
    const qint64 size = whole ? head.size() : std::max<qint64>(QFileInfo(path).size(), head.size());
    result.otherKind = whole ? files::recogniseOtherFile(head, size)
                             : files::recogniseOtherFile(head, size, beyondHead(path, head));
    if (result.otherKind) {
        result.outcome = Loaded::Outcome::NotADataFile;
        result.refusal = files::notADataFileText(path, *result.otherKind, importAdvice);
        return result;
    }
    ModuleImage image;
    image.ClearEEPROMBuffer();
    if (!fillImage(head.left(Size), image)) {
        result.outcome = Loaded::Outcome::Short;
        result.refusal = prematureEndMessage();
        return result;
    }
    result.outcome = Loaded::Outcome::Loaded;
    result.data.image = image;
    result.data.image.DataBufferEmpty = false;
    UpdateParams(result.data);
    return result;
}

bool fillImage(const QByteArray &bytes, ModuleImage &image)
{
    const int count = std::min<int>(int(bytes.size()), Size);
    for (int k = 0; k < count; ++k)
        image.EEPROMBuffer[ModuleImage::FirstTransferAddress + k] = static_cast<std::uint8_t>(bytes[k]);
    return count == Size;
}

void write(const QString &path, const ModuleImage &image, const QStringList &inputs)
{
    const QByteArray bytes = transferBytes(image);
    try {
        files::AtomicFile file(path, inputs);
        // A short write (a full disk) is caught by the flush in commit(),
        // which names the system's reason.
        errno = 0;
        if (file.device().write(bytes) != Size)
            throw files::FileRefused(files::FileRefused::Cause::System, writeFailureText(errno));
        file.commit();
    } catch (const files::FileRefused &e) {
        const bool create = e.cause() != files::FileRefused::Cause::System;
        const bool replace = e.cause() == files::FileRefused::Cause::FolderReadOnly && QFileInfo::exists(path);
        throw fileError(replace  ? QStringLiteral("Cannot replace")
                        : create ? QStringLiteral("Cannot create")
                                 : QStringLiteral("Cannot write"),
                        path, e.reason());
    }
}

QString captionTitle(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString name = cut < 0 ? path : path.mid(cut + 1);
    return name.size() > 40 ? QStringLiteral("...") + name.right(40) : name;
}

}  // namespace tunara::datafile
