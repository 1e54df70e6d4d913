#include "link/port_open_failure.h"

#include "link/port_lock.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace tunara::link {

namespace {

QString noDeviceText()
{
    return QStringLiteral("no such device. Check that the adapter is plugged in and that the port is the right one.");
}

QString genericPermissionText()
{
    return QStringLiteral("permission denied. The device's permissions do not let this user read and write it.");
}

#ifdef Q_OS_UNIX
bool userIsInGroup(gid_t group)
{
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(std::size_t(count), 0);
    const int got = ::getgroups(count, groups.data());
    for (int k = 0; k < got; ++k)
        if (groups[std::size_t(k)] == group)
            return true;
    return false;
}

QString groupName(gid_t group)
{
    const struct group *entry = ::getgrgid(group);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(group);
}

QString userName()
{
    const struct passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("$USER");
}

// Serial devices are opened through a group (dialout on Debian): when that
// group may read and write the device and this user is not in it, that is
// what to fix.
QString permissionText(const struct stat &device)
{
    const bool groupMayUse = (device.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (!groupMayUse || userIsInGroup(device.st_gid))
        return genericPermissionText();
    const QString group = groupName(device.st_gid);
    return QStringLiteral("permission denied. This user is not in the group \"%1\" that may use the device: "
                          "run sudo adduser %2 %1, then log out and in again.")
        .arg(group, userName());
}

#endif

}  // namespace

QString inUseText(const QString &holder)
{
    return holder.isEmpty()
               ? QStringLiteral("the device is in use by another program. Close that program and try again.")
               : QStringLiteral("the device is in use by another program (%1). Close that program and try again.")
                     .arg(holder);
}

QString explainOpenFailure(const QString &path, QSerialPort::SerialPortError error, const QString &portReason)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat device {};
    if (::stat(name.constData(), &device) != 0) {
        const int cause = errno;
        if (cause == ENOENT || cause == ENOTDIR)
            return noDeviceText();
        if (cause == EACCES)
            return genericPermissionText();
        return portReason;
    }
    if (error == QSerialPort::DeviceNotFoundError)
        return noDeviceText();
    // Judged with the effective ids, as the open itself was.
    if (::faccessat(AT_FDCWD, name.constData(), R_OK | W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return permissionText(device);
    // The device may be opened, yet the port reported a permission error:
    // its lock file is taken, or another program opened it exclusively.
    if (error == QSerialPort::PermissionError) {
        const std::optional<PortLockHolder> holder = livePortLockHolder(path);
        return inUseText(holder ? holder->describe() : QString());
    }
#else
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return noDeviceText();
    case QSerialPort::PermissionError:
        // Windows opens a port for one program only: "access denied" means in use.
        return inUseText(QString());
    default:
        break;
    }
#endif
    return portReason;
}

}  // namespace tunara::link
