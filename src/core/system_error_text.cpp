#include "core/system_error_text.h"

#include <cerrno>

namespace tunara {

QString systemErrorText(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("no such file or folder");
    case EACCES:
    case EPERM: return QStringLiteral("permission denied");
    case ENOSPC: return QStringLiteral("no space left on the device");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("the disk quota is used up");
#endif
    case EROFS: return QStringLiteral("the file system is read-only");
    case EIO: return QStringLiteral("an input/output error");
    case ENODEV:
    case ENXIO: return QStringLiteral("the device is gone");
    case EBUSY: return QStringLiteral("the device or file is busy");
    case EEXIST: return QStringLiteral("it exists already");
    case ENOTDIR: return QStringLiteral("a part of the path is not a folder");
    case EISDIR: return QStringLiteral("it is a folder");
    case EMFILE:
    case ENFILE: return QStringLiteral("too many files are open");
    case ENAMETOOLONG: return QStringLiteral("the name is too long");
    case EFBIG: return QStringLiteral("the file is too large");
    case EINVAL: return QStringLiteral("an invalid argument");
    case EAGAIN: return QStringLiteral("the resource is busy for now");
    case EPIPE: return QStringLiteral("the other end is closed");
    case ELOOP: return QStringLiteral("too many symbolic links");
    case 0: return QStringLiteral("an unknown error");
    default: return QStringLiteral("system error %1").arg(error);
    }
}

QString writeFailureText(int error)
{
    return error != 0 ? systemErrorText(error) : QStringLiteral("the data could not be written");
}

}  // namespace tunara
