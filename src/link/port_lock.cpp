#include "link/port_lock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace tunara::link {

namespace {

// A small text file (a lock file, a process name); "" when unreadable.
QByteArray readSmall(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096);
}

// "LCK..ttyUSB0" for /dev/ttyUSB0, "LCK..pts_3" for /dev/pts/3.
QString lockFileName(const QString &devicePath)
{
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

bool processLives(qint64 pid)
{
#ifdef Q_OS_UNIX
    // EPERM: the process is there, it only belongs to another user.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return false;
#endif
}

}  // namespace

QString PortLockHolder::describe() const
{
    return program.isEmpty() ? QStringLiteral("process %1").arg(pid)
                             : QStringLiteral("%1, process %2").arg(program).arg(pid);
}

QStringList portLockFolders()
{
    return {QStringLiteral("/var/lock"),         QStringLiteral("/etc/locks"), QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),   QStringLiteral("/tmp"),       QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),  QDir::tempPath()};
}

std::optional<PortLockHolder> livePortLockHolder(const QString &devicePath, const QStringList &folders)
{
    const QString name = lockFileName(devicePath);
    for (const QString &folder : folders) {
        const QByteArray content = readSmall(folder + u'/' + name);
        // The first line is the holder's process number, padded or not; Qt
        // writes the program's name on the second.
        const QList<QByteArray> lines = content.split('\n');
        bool isNumber = false;
        const qint64 pid = lines.value(0).trimmed().toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || !processLives(pid))
            continue;
        QString program = QString::fromLocal8Bit(readSmall(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed());
        if (program.isEmpty())
            program = QString::fromLocal8Bit(lines.value(1).trimmed());
        return PortLockHolder{pid, program};
    }
    return std::nullopt;
}

}  // namespace tunara::link
