#include "files/data_file.h"

#include "core/runtime_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace tunara::datafile {

namespace {

RuntimeError fileError(const QString &what, const QString &path, const QString &reason)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("Data File"),
                        QStringLiteral("%1 %2: %3").arg(what, path, reason));
}

enum class PathKind { Missing, BrokenLink, Regular, Folder, Other };

PathKind kindOf(const QString &path)
{
#ifdef Q_OS_UNIX
    // QFileInfo counts devices and pipes as files; the system does not.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return ::lstat(name.constData(), &st) == 0 ? PathKind::BrokenLink : PathKind::Missing;
    return S_ISREG(st.st_mode) ? PathKind::Regular : S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? PathKind::BrokenLink : PathKind::Missing;
    return info.isDir() ? PathKind::Folder : info.isFile() ? PathKind::Regular : PathKind::Other;
#endif
}

// A data file is a regular file (or a link to one). Anything else is
// refused before it is opened: a FIFO would block the open, a device would
// hand out endless bytes, and replacing a device node or a folder with a
// file would break the system.
void requireRegularFile(const QString &what, const QString &path, bool mayBeMissing)
{
    switch (kindOf(path)) {
    case PathKind::Regular:
        return;
    case PathKind::Missing:
        if (mayBeMissing)
            return;
        throw fileError(what, path, QStringLiteral("no such file"));
    case PathKind::BrokenLink:
        throw fileError(what, path, QStringLiteral("the symbolic link points to nothing"));
    case PathKind::Folder:
        throw fileError(what, path, QStringLiteral("it is a folder, not a data file"));
    case PathKind::Other:
        break;
    }
    throw fileError(what, path, QStringLiteral("it is a device or a pipe, not a regular file"));
}

}  // namespace

QString prematureEndMessage()
{
    return QStringLiteral("Error - reached premature end-of-file");
}

QByteArray read(const QString &path)
{
    requireRegularFile(QStringLiteral("Cannot open"), path, false);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("Cannot open"), path, file.errorString());
    QByteArray bytes;
    // A pipe or device may hand out fewer bytes per call than asked for.
    while (bytes.size() < Size) {
        const QByteArray chunk = file.read(Size - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError)
        throw fileError(QStringLiteral("Cannot read"), path, file.errorString());
    return bytes;
}

bool fillImage(const QByteArray &bytes, ModuleImage &image)
{
    const int count = std::min<int>(int(bytes.size()), Size);
    for (int k = 0; k < count; ++k)
        image.EEPROMBuffer[ModuleImage::FirstTransferAddress + k] = static_cast<std::uint8_t>(bytes[k]);
    return count == Size;
}

void write(const QString &path, const ModuleImage &image)
{
    requireRegularFile(QStringLiteral("Cannot create"), path, true);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(QStringLiteral("Cannot create"), path, file.errorString());
    const auto *first = reinterpret_cast<const char *>(image.EEPROMBuffer.data() + ModuleImage::FirstTransferAddress);
    errno = 0;
    // QSaveFile buffers the bytes and its commit() does not notice when
    // flushing them fails part-way (a full disk): it would put a truncated
    // file in place of the old one and report success. Flush here and check.
    if (file.write(first, Size) != Size || !file.flush()) {
        // A short write leaves Qt without a reason of its own; the system's
        // (disk full, file too large) is the one worth showing.
        const int systemError = errno;
        QString reason = file.errorString();
        if (file.error() == QFileDevice::NoError || reason == QLatin1String("Unknown error"))
            reason = systemError != 0 ? qt_error_string(systemError) : QStringLiteral("not every byte was written");
        file.cancelWriting();
        throw fileError(QStringLiteral("Cannot write"), path, reason);
    }
    if (!file.commit())
        throw fileError(QStringLiteral("Cannot write"), path, file.errorString());
}

QString captionTitle(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString name = cut < 0 ? path : path.mid(cut + 1);
    return name.size() > 40 ? QStringLiteral("...") + name.right(40) : name;
}

}  // namespace tunara::datafile
