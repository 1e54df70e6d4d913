#include "files/data_file.h"

#include "core/runtime_error.h"
#include "files/file_safety.h"

#include <QFileInfo>

namespace tunara::datafile {

namespace {

RuntimeError fileError(const QString &what, const QString &path, const QString &reason)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("Data File"),
                        QStringLiteral("%1 %2: %3").arg(what, path, reason));
}

}  // namespace

QString prematureEndMessage()
{
    return QStringLiteral("Error - reached premature end-of-file");
}

QByteArray read(const QString &path)
{
    try {
        // A longer file gives its first 264 bytes, as it always has.
        return files::readInput(path, Size, QStringLiteral("data file"), true);
    } catch (const files::FileRefused &e) {
        throw fileError(QStringLiteral("Cannot open"), path, e.reason());
    }
}

FileStart readStart(const QString &path)
{
    QByteArray head;
    try {
        head = files::readInput(path, files::RecogniseHeadBytes, QStringLiteral("data file"), true);
    } catch (const files::FileRefused &e) {
        throw fileError(QStringLiteral("Cannot open"), path, e.reason());
    }
    // A head shorter than asked for is the whole file.
    const qint64 size = head.size() < files::RecogniseHeadBytes ? head.size()
                                                                 : std::max<qint64>(QFileInfo(path).size(), head.size());
    return {head.left(Size), files::recogniseOtherFile(head, size)};
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
        if (file.device().write(bytes) != Size)
            throw files::FileRefused(files::FileRefused::Cause::System, file.device().errorString());
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
