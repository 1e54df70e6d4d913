#include "files/file_safety.h"

#include "core/system_error_text.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunara::files {

namespace {

using Cause = FileRefused::Cause;

// The bytes of a name. A lone surrogate has none; a name that came from
// bytes that were not valid UTF-8 holds replacement characters instead and
// names no file, which reasonFor() tells apart from a missing one.
QByteArray encoded(const QString &path)
{
    for (qsizetype k = 0; k < path.size(); ++k) {
        const QChar c = path[k];
        const bool paired = c.isHighSurrogate() && k + 1 < path.size() && path[k + 1].isLowSurrogate();
        if (paired)
            ++k;
        else if (c.isSurrogate())
            throw FileRefused(Cause::System, QStringLiteral("invalid name encoding: the name is not valid UTF-8"));
    }
    return QFile::encodeName(path);
}

FileRefused systemRefusal(int error, const QString &path)
{
    const Cause cause = error == ENOENT ? Cause::Missing : Cause::System;
    const QString reason = reasonFor(error, path);
    return FileRefused(reason.contains(QStringLiteral("points to nothing")) ? Cause::BrokenLink : cause, reason);
}

QString parentOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

std::optional<FileId> idOf(const struct stat &st)
{
    return FileId{st.st_dev, st.st_ino};
}

void refuseInputs(const struct stat &target, const QStringList &inputs)
{
    for (const QString &in : inputs)
        if (fileId(in) == idOf(target))
            throw FileRefused(Cause::IsInput, QStringLiteral("it is one of the command's own input files"));
}

// Mode bits of an existing target, so a replaced file keeps its permissions.
std::optional<mode_t> existingMode(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    return std::nullopt;
}

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// At most limit bytes, with room for the size the file has, growing only if
// it grows meanwhile.
QByteArray readUpTo(int fd, qint64 limit, qint64 size)
{
    QByteArray bytes(std::min(limit, size + 1), Qt::Uninitialized);
    qint64 got = 0;
    while (got < limit) {
        if (got == bytes.size())
            bytes.resize(std::min(limit, qint64(bytes.size()) * 2));
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(qint64(bytes.size()) - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileRefused(Cause::System, systemErrorText(errno));
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

// Why a folder takes no new file, when that is why creating one in it
// failed; nothing when the folder is not to blame.
std::optional<FileRefused> readOnlyFolder(const QString &folder)
{
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return std::nullopt;
    const int error = errno;
    const QString what = error == EROFS                     ? QStringLiteral("is on a read-only disk")
                         : error == EACCES || error == EPERM ? QStringLiteral("is read-only for this user")
                                                             : QString();
    if (what.isEmpty())
        return std::nullopt;
    return FileRefused(Cause::FolderReadOnly,
                       QStringLiteral("the folder %1 %2, so no file can be created or replaced in it; "
                                      "choose another folder")
                           .arg(folder, what));
}

}  // namespace

std::optional<FileId> fileId(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return idOf(st);
}

QString reasonFor(int error, const QString &path)
{
    switch (error) {
    case ENOENT: {
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
            return QStringLiteral("the symbolic link points to nothing");
        return path.contains(QChar::ReplacementCharacter)
                   ? QStringLiteral("invalid name encoding: the name is not valid UTF-8")
                   : QStringLiteral("no such file");
    }
    case ENAMETOOLONG:
        return QStringLiteral("the name is too long for the system");
    case ELOOP:
        return QStringLiteral("the symbolic links form a loop");
    case EILSEQ:
        return QStringLiteral("invalid name encoding");
    case ENOTDIR:
        return QStringLiteral("a part of the path is not a folder");
    default:
        return systemErrorText(error);
    }
}

QByteArray readInput(const QString &path, qint64 cap, const QString &noun, bool truncate)
{
    const QByteArray name = encoded(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        throw systemRefusal(errno, path);
    if (S_ISDIR(st.st_mode))
        throw FileRefused(Cause::Folder, QStringLiteral("it is a folder, not a %1").arg(noun));
    if (!S_ISREG(st.st_mode))
        throw FileRefused(Cause::NotRegular, QStringLiteral("it is a device or a pipe, not a regular file"));
    const QString tooLarge = QStringLiteral("larger than %1 bytes, too large for a %2").arg(cap).arg(noun);
    if (!truncate && st.st_size > cap)
        throw FileRefused(Cause::TooLarge, tooLarge);
    // Non-blocking, so a pipe swapped in after the check cannot hang the open.
    const Descriptor fd{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (fd.fd < 0)
        throw systemRefusal(errno, path);
    struct stat opened {};
    if (::fstat(fd.fd, &opened) != 0 || !S_ISREG(opened.st_mode))
        throw FileRefused(Cause::NotRegular, QStringLiteral("it is a device or a pipe, not a regular file"));
    QByteArray bytes = readUpTo(fd.fd, truncate ? cap : cap + 1, opened.st_size);
    if (bytes.size() > cap)
        throw FileRefused(Cause::TooLarge, tooLarge);
    return bytes;
}

void checkOutput(const QString &path, const QStringList &inputs)
{
    const QByteArray name = encoded(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        const int error = errno;
        if (error != ENOENT)
            throw systemRefusal(error, path);
        struct stat folder {};
        if (::stat(QFile::encodeName(parentOf(path)).constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
            throw FileRefused(Cause::Missing, QStringLiteral("the folder %1 does not exist").arg(parentOf(path)));
        return;
    }
    if (S_ISLNK(st.st_mode))
        throw FileRefused(Cause::SymLink, QStringLiteral("it is a symbolic link; name the file it points to"));
    if (S_ISDIR(st.st_mode))
        throw FileRefused(Cause::Folder, QStringLiteral("it is a folder, not a file"));
    if (!S_ISREG(st.st_mode))
        throw FileRefused(Cause::NotRegular, QStringLiteral("it is a device or a pipe, not a regular file"));
    refuseInputs(st, inputs);
}

bool createExclusive(QFile &file, const QString &path, mode_t mode)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        if (errno == EEXIST)
            return false;
        throw systemRefusal(errno, path);
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        const int error = errno;
        ::close(fd);
        throw FileRefused(Cause::System, writeFailureText(error));
    }
    return true;
}

AtomicFile::AtomicFile(const QString &path, const QStringList &inputs, mode_t mode)
    : m_path(path), m_inputs(inputs)
{
    checkOutput(path, inputs);
    const std::optional<mode_t> keep = existingMode(path);
    const QFileInfo info(path);
    for (int n = 0;; ++n) {
        // Short enough beside any name the system allows.
        m_temp = info.absolutePath() +
                 QStringLiteral("/.%1.%2-%3.tmp").arg(info.fileName().left(64)).arg(::getpid()).arg(n);
        try {
            if (createExclusive(m_file, m_temp, keep.value_or(mode)))
                break;
        } catch (const FileRefused &) {
            // The system's "permission denied" would point at the file,
            // which may well be writable itself.
            if (std::optional<FileRefused> folder = readOnlyFolder(info.absolutePath()))
                throw *folder;
            throw;
        }
    }
    if (keep)
        ::fchmod(m_file.handle(), *keep);
}

AtomicFile::~AtomicFile()
{
    if (!m_done) {
        m_file.close();
        ::unlink(QFile::encodeName(m_temp).constData());
    }
}

void AtomicFile::commit()
{
    errno = 0;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError || ::fsync(m_file.handle()) != 0) {
        const int error = errno;
        throw FileRefused(Cause::System, systemErrorText(error));
    }
    m_file.close();
    // Whatever was put at the name while the file was written is checked again.
    checkOutput(m_path, m_inputs);
    if (::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_path).constData()) != 0)
        throw systemRefusal(errno, m_path);
    m_done = true;
}

void writeWhole(const QString &path, const QByteArray &bytes, const QStringList &inputs, mode_t mode)
{
    AtomicFile file(path, inputs, mode);
    errno = 0;
    if (file.device().write(bytes) != bytes.size())
        throw FileRefused(Cause::System, writeFailureText(errno));
    file.commit();
}

void createStream(QFile &file, const QString &path, const QStringList &inputs, mode_t mode)
{
    checkOutput(path, inputs);
    struct stat st {};
    if (::lstat(encoded(path).constData(), &st) == 0 && ::unlink(encoded(path).constData()) != 0)
        throw systemRefusal(errno, path);
    if (!createExclusive(file, path, mode))
        throw FileRefused(Cause::System, QStringLiteral("another file took the name while it was being created"));
}

}  // namespace tunara::files
