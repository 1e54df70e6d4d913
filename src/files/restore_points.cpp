#include "files/restore_points.h"

#include "core/runtime_error.h"
#include "files/data_file.h"
#include "files/stored_settings.h"
#include "module/parameter_codec.h"

#include "files/file_safety.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cstdint>
#include <vector>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunara::restore {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");
const QString IndexName = QStringLiteral("index");
const QString LockName = QStringLiteral("index.lock");
constexpr int MaxFirmwareChars = 64;

RuntimeError restoreError(const QString &text)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("Restore Point"), text);
}

// Holds the folder's lock file, so two programs keeping points at once
// take turns at the index and the pruning.
class FolderLock {
public:
    explicit FolderLock(const QString &folder)
    {
        m_fd = ::open(QFile::encodeName(QDir(folder).filePath(LockName)).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0)
            throw restoreError(QStringLiteral("Cannot lock the restore point folder %1: %2.")
                                   .arg(folder, qt_error_string(errno)));
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);  // releases the lock
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

struct EventName {
    Event event;
    const char *key;   // in the file name
    const char *text;  // in lists
};

constexpr EventName EventNames[] = {
    {Event::Downloaded, "downloaded", "Downloaded"},
    {Event::BeforeUpload, "before-upload", "Before upload"},
    {Event::BeforeDownload, "before-download", "Before download"},
    {Event::BeforeOpen, "before-open", "Before open"},
    {Event::ModuleBeforeUpload, "module-before-upload", "Module before upload"},
};

const EventName &nameOf(Event event)
{
    return *std::find_if(std::begin(EventNames), std::end(EventNames),
                         [event](const EventName &n) { return n.event == event; });
}

// Firmware text as a file-name part: letters, digits, dots and dashes kept,
// spaces as "+" (read back as spaces), anything else as "-" ("_" separates
// the parts); "unknown" when there is none.
QString firmwarePart(const QString &firmware)
{
    QString part;
    for (const QChar c : firmware.trimmed()) {
        if (c == u' ')
            part += u'+';
        else
            part += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'-' ? c : u'-';
    }
    // A name stays far below the system's limit whatever the module says.
    part.truncate(MaxFirmwareChars);
    return part.isEmpty() ? QStringLiteral("unknown") : part;
}

QString tableModeOf(const QString &path)
{
    try {
        ModuleData data;
        if (!datafile::fillImage(datafile::read(path), data.image))
            return QStringLiteral("unreadable");
        UpdateParams(data);
        return data.params.TimingTable3D ? QStringLiteral("3D")
               : data.params.TimingTable2D ? QStringLiteral("2D")
                                           : QStringLiteral("none");
    } catch (const RuntimeError &) {
        return QStringLiteral("unreadable");
    }
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6}-\\d{3})(?:-\\d+)?_([a-z-]+)_([A-Za-z0-9.+-]+)\\.dat$"));
    return re;
}

}  // namespace

QString eventText(Event event)
{
    return QString::fromLatin1(nameOf(event).text);
}

QString RestorePoints::defaultFolder()
{
    // The window's application data folder, named explicitly so that the
    // command-line tool (another application name) finds the same one.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' +
           StoredSettings::mainApplicationName() + QStringLiteral("/restore-points");
}

RestorePoints::RestorePoints(const QString &folder) : m_folder(folder.isEmpty() ? defaultFolder() : folder) {}

QString RestorePoints::keep(const QByteArray &bytes, Event event, const QString &firmware, const QDateTime &when)
{
    if (bytes.size() != datafile::Size)
        throw restoreError(QStringLiteral("A restore point needs %1 bytes, not %2.").arg(datafile::Size).arg(bytes.size()));
    makeFolder();
    const FolderLock lock(m_folder);
    const QString stem = when.toString(TimeFormat);
    const QString tail = u'_' + QString::fromLatin1(nameOf(event).key) + u'_' + firmwarePart(firmware) +
                         QStringLiteral(".dat");
    // The name is taken by creating it: two programs keeping an image in the
    // same millisecond each get their own file.
    QFile file;
    QString path = QDir(m_folder).filePath(stem + tail);
    try {
        for (int n = 2; !files::createExclusive(file, path, 0600); ++n)
            path = QDir(m_folder).filePath(stem + QStringLiteral("-%1").arg(n) + tail);
    } catch (const files::FileRefused &e) {
        throw restoreError(QStringLiteral("Cannot create the restore point %1: %2.").arg(path, e.reason()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const QString reason = file.errorString();
        file.close();
        QFile::remove(path);
        throw restoreError(QStringLiteral("Cannot write the restore point %1: %2.").arg(path, reason));
    }
    file.close();
    QStringList order = creationOrder();
    order.removeAll(QFileInfo(path).fileName());
    order << QFileInfo(path).fileName();
    try {
        prune(order);
    } catch (const RuntimeError &) {
        // Reported as not kept, so not left behind unlisted either.
        QFile::remove(path);
        throw;
    }
    return path;
}

QList<Entry> RestorePoints::list() const
{
    QList<Entry> entries;
    const QDir dir(m_folder);
    QStringList names = creationOrder();
    std::reverse(names.begin(), names.end());
    for (const QString &name : names) {
        const QRegularExpressionMatch m = namePattern().match(name);
        const auto *event = std::find_if(std::begin(EventNames), std::end(EventNames), [&](const EventName &n) {
            return m.captured(2) == QLatin1String(n.key);
        });
        if (event == std::end(EventNames))
            continue;
        Entry e;
        e.path = dir.filePath(name);
        e.time = QDateTime::fromString(m.captured(1), TimeFormat);
        e.event = event->event;
        e.firmware = m.captured(3) == QLatin1String("unknown") ? QString() : m.captured(3).replace(u'+', u' ');
        e.tableMode = tableModeOf(e.path);
        entries << e;
    }
    return entries;
}

void RestorePoints::makeFolder() const
{
    // Kept images are the user's own: the folder is closed to other users.
    const QByteArray name = QFile::encodeName(m_folder);
    if (!QDir().mkpath(QFileInfo(m_folder).absolutePath()) || (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST))
        throw restoreError(QStringLiteral("Cannot create the restore point folder %1.").arg(m_folder));
    // The permissions are set on the folder itself, never through a link
    // planted at its name onto whatever the link points to.
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode))
        throw restoreError(QStringLiteral("The restore point folder %1 is a symbolic link; name the folder itself "
                                          "or remove the link.")
                               .arg(m_folder));
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const bool closed = fd >= 0 && ::fchmod(fd, 0700) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!closed)
        throw restoreError(QStringLiteral("Cannot use the restore point folder %1: %2.")
                               .arg(m_folder, files::reasonFor(error, m_folder)));
}

QStringList RestorePoints::creationOrder() const
{
    // The index lists the points oldest first in the order they were made,
    // whatever the clock said when naming them. It is trusted only whole:
    // read through no link, nothing but point names, each once, and every
    // point in the folder listed. Otherwise the order is rebuilt from when
    // each file was written (a point is never changed after), never from
    // the times in the names, which a clock set wrong wrote.
    const QDir dir(m_folder);
    QStringList present;
    for (const QString &name : dir.entryList({QStringLiteral("*.dat")}, QDir::Files))
        if (namePattern().match(name).hasMatch())
            present << name;
    QStringList indexed;
    bool whole = false;
    const QString index = dir.filePath(IndexName);
    struct stat st {};
    if (::lstat(QFile::encodeName(index).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        try {
            indexed = QString::fromUtf8(files::readInput(index, files::TextCap, QStringLiteral("index")))
                          .split(u'\n', Qt::SkipEmptyParts);
            whole = std::all_of(indexed.begin(), indexed.end(),
                                [](const QString &name) { return namePattern().match(name).hasMatch(); }) &&
                    QSet<QString>(indexed.begin(), indexed.end()).size() == indexed.size() &&
                    std::all_of(present.begin(), present.end(),
                                [&indexed](const QString &name) { return indexed.contains(name); });
        } catch (const files::FileRefused &) {
            // unreadable: rebuilt below
        }
    }
    if (whole) {
        QStringList order;
        for (const QString &name : indexed)
            if (present.contains(name))
                order << name;
        return order;
    }
    struct Made {
        QString name;
        std::int64_t nanoseconds;
        ino_t inode;
    };
    std::vector<Made> made;
    for (const QString &name : present) {
        struct stat point {};
        if (::lstat(QFile::encodeName(dir.filePath(name)).constData(), &point) == 0)
            made.push_back({name, std::int64_t(point.st_mtim.tv_sec) * 1000000000 + point.st_mtim.tv_nsec,
                            point.st_ino});
    }
    // Points written within one tick of the file system's clock come in the
    // order the file system numbered them.
    std::sort(made.begin(), made.end(), [](const Made &a, const Made &b) {
        return a.nanoseconds != b.nanoseconds ? a.nanoseconds < b.nanoseconds : a.inode < b.inode;
    });
    QStringList order;
    for (const Made &m : made)
        order << m.name;
    return order;
}

void RestorePoints::prune(QStringList order) const
{
    // The index that leaves the oldest out is written first: a folder whose
    // index cannot be written loses no point.
    const QDir dir(m_folder);
    const QStringList dropped = order.mid(0, std::max<qsizetype>(order.size() - Kept, 0));
    order.remove(0, dropped.size());
    try {
        files::writeWhole(dir.filePath(IndexName), order.join(u'\n').toUtf8() + '\n', {}, 0600);
    } catch (const files::FileRefused &e) {
        throw restoreError(QStringLiteral("Cannot write the restore point index %1: %2.")
                               .arg(dir.filePath(IndexName), e.reason()));
    }
    for (const QString &name : dropped)
        QFile::remove(dir.filePath(name));
}

}  // namespace tunara::restore
