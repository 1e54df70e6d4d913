#include "files/restore_points.h"

#include "core/runtime_error.h"
#include "core/system_error_text.h"
#include "files/data_file.h"
#include "files/file_safety.h"
#include "files/restore_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunara::restore {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");
const QString IndexName = QStringLiteral("index");
constexpr int MaxFirmwareChars = 64;

using index::restoreError;

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

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6}-\\d{3})(?:-\\d+)?_([a-z-]+)_([A-Za-z0-9.+-]+)\\.dat$"));
    return re;
}

bool isPointName(const QString &name)
{
    return namePattern().match(name).hasMatch();
}

const EventName *eventOfKey(const QString &key)
{
    const auto *event = std::find_if(std::begin(EventNames), std::end(EventNames),
                                     [&key](const EventName &n) { return key == QLatin1String(n.key); });
    return event == std::end(EventNames) ? nullptr : event;
}

// The index's fields.
const QString SourceKey = QStringLiteral("source");
const QString FirmwareKey = QStringLiteral("firmware");
const QString TableKey = QStringLiteral("table");
const QString NoteKey = QStringLiteral("note");
const QString KeptKey = QStringLiteral("kept");
const QString UploadEndKey = QStringLiteral("upload");

QStringList pointsIn(const QString &folder)
{
    QStringList present;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.dat")}, QDir::Files))
        if (isPointName(name))
            present << name;
    return present;
}

// The entry one index line lists; none for an event of a later version.
std::optional<Entry> entryOf(const QString &folder, const index::Line &line, const QJsonObject &f)
{
    const QRegularExpressionMatch m = namePattern().match(line.name);
    const EventName *event = eventOfKey(m.captured(2));
    if (!event)
        return std::nullopt;  // an event of a later version: carried in the index, not listed
    Entry e;
    e.path = QDir(folder).filePath(line.name);
    e.time = QDateTime::fromString(m.captured(1), TimeFormat);
    e.event = event->event;
    e.problem = index::readPoint(e.path, e.bytes);
    // What a point kept before its details were recorded still tells:
    // events that read a module came from one, the firmware is in its name.
    e.source = f.value(SourceKey).isObject() ? index::sourceOf(f.value(SourceKey).toObject())
               : event->event == Event::Downloaded || event->event == Event::ModuleBeforeUpload
                   ? Source::module(0, QString())
                   : Source();
    e.firmware = f.value(FirmwareKey).isString() ? f.value(FirmwareKey).toString()
                 : m.captured(3) == QLatin1String("unknown") ? QString()
                                                              : m.captured(3).replace(u'+', u' ');
    const QString table = f.value(TableKey).toString();
    e.tableMode = !table.isEmpty() ? table : index::tableModeOf(e.bytes);
    e.note = f.value(NoteKey).toString();
    e.kept = f.value(KeptKey).toBool();
    e.uploadEnd = f.value(UploadEndKey).toString();
    return e;
}

template <typename Lines>
auto findLine(Lines &lines, const QString &name)
{
    return std::find_if(lines.begin(), lines.end(), [&name](const index::Line &l) { return l.name == name; });
}

}  // namespace

QString eventText(Event event)
{
    return QString::fromLatin1(nameOf(event).text);
}

struct RestorePoints::Order {
    index::File file;
    QList<index::Line> lines;  // oldest made first
};

QString RestorePoints::keep(const QByteArray &bytes, Event event, const QString &firmware, const QDateTime &when)
{
    return keep(bytes, event, Origin{Source(), firmware}, when);
}

QString RestorePoints::keep(const QByteArray &bytes, Event event, const Origin &origin, const QDateTime &when)
{
    if (bytes.size() != datafile::Size)
        throw restoreError(QStringLiteral("A restore point needs %1 bytes, not %2.").arg(datafile::Size).arg(bytes.size()));
    makeFolder();
    const index::Lock lock(m_folder);
    Order made = order();
    const QString stem = when.toString(TimeFormat);
    const QString tail = u'_' + QString::fromLatin1(nameOf(event).key) + u'_' + firmwarePart(origin.firmware) +
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
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const QString reason = writeFailureText(errno);
        file.close();
        QFile::remove(path);
        throw restoreError(QStringLiteral("Cannot write the restore point %1: %2.").arg(path, reason));
    }
    file.close();
    index::Line line{QFileInfo(path).fileName(), {}, {}};
    line.fields.insert(SourceKey, index::sourceJson(origin.source));
    line.fields.insert(FirmwareKey, origin.firmware.trimmed());
    line.fields.insert(TableKey, index::tableModeOf(bytes));
    made.lines << line;
    // The oldest beyond the newest Kept go, but never a point kept for good,
    // and never one whose file is there for a line whose file is gone.
    const QStringList there = pointsIn(m_folder);
    const QStringList dropped = index::prune(made.lines, QSet<QString>(there.begin(), there.end()), Kept);
    try {
        save(made);
    } catch (const RuntimeError &) {
        // Reported as not kept, so not left behind unlisted either.
        QFile::remove(path);
        throw;
    }
    for (const QString &name : dropped)
        QFile::remove(QDir(m_folder).filePath(name));
    return path;
}

RestorePoints::Order RestorePoints::order() const
{
    return order(index::Fields::Parsed);
}

Listing RestorePoints::listing() const
{
    Listing listing;
    eachEntry([&listing](const QStringList &problems) { listing.problems = problems; },
              [&listing](const Entry &e) { listing.entries << e; });
    return listing;
}

void RestorePoints::eachEntry(const std::function<void(const QStringList &)> &problems,
                              const std::function<void(const Entry &)> &each) const
{
    const Order made = order(index::Fields::OnDemand);
    problems(index::problemsOf(made.file, QDir(m_folder).filePath(IndexName)));
    for (auto line = made.lines.crbegin(); line != made.lines.crend(); ++line)
        if (const std::optional<Entry> e = entryOf(m_folder, *line, index::fieldsOf(made.file, *line)))
            each(*e);
}

void RestorePoints::setNote(const QString &point, const QString &note)
{
    const QString kept = normalisedNote(note);
    change(point, [&kept](QJsonObject &fields) {
        if (kept.isEmpty())
            fields.remove(NoteKey);
        else
            fields.insert(NoteKey, kept);
    });
}

void RestorePoints::setUploadEnd(const QString &point, const QString &end)
{
    change(point, [&end](QJsonObject &fields) { fields.insert(UploadEndKey, end); });
}

void RestorePoints::setKept(const QString &point, bool kept)
{
    change(point, [kept](QJsonObject &fields) {
        if (kept)
            fields.insert(KeptKey, true);
        else
            fields.remove(KeptKey);
    });
}

std::optional<Entry> RestorePoints::entry(const QString &point) const
{
    const QString name = pointName(point);
    if (name.isEmpty())
        return std::nullopt;
    const Order made = order();
    const auto line = findLine(made.lines, name);
    return line == made.lines.end() ? std::nullopt : entryOf(m_folder, *line, line->fields);
}

QString RestorePoints::pointName(const QString &point) const
{
    const QString name = QFileInfo(point).fileName();
    if (!isPointName(name) || (point.contains(u'/') && !isFolder(QFileInfo(point).absolutePath())))
        return QString();
    return name;
}

void RestorePoints::change(const QString &point, const std::function<void(QJsonObject &)> &edit)
{
    const QString name = pointName(point);
    if (name.isEmpty())
        throw restoreError(QStringLiteral("%1 is not a restore point in %2.").arg(point, m_folder));
    makeFolder();
    const index::Lock lock(m_folder);
    Order made = order();
    const auto line = findLine(made.lines, name);
    if (line == made.lines.end())
        throw restoreError(QStringLiteral("%1 is not a restore point in %2.").arg(point, m_folder));
    edit(line->fields);
    save(made);
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

RestorePoints::Order RestorePoints::order(index::Fields fields) const
{
    // The index lists the points oldest first in the order they were made,
    // whatever the clock said when naming them. Its order is trusted only
    // whole: read through no link, every line readable, each point once,
    // and every point in the folder listed. Otherwise the order is rebuilt
    // from when each file was written, never from the times in the names,
    // which a clock set wrong wrote; what the readable lines recorded stays
    // with their points either way.
    Order made;
    made.file = index::read(QDir(m_folder).filePath(IndexName), isPointName, fields);
    const QStringList present = pointsIn(m_folder);
    QSet<QString> indexed;
    for (const index::Line &line : made.file.lines)
        indexed.insert(line.name);
    const bool whole = !made.file.damaged() && std::all_of(present.begin(), present.end(), [&indexed](const QString &name) {
        return indexed.contains(name);
    });
    if (whole) {
        made.lines = made.file.lines;
        return made;
    }
    // Points the index remembers whose files are gone keep their order,
    // before every point whose file is there.
    QHash<QString, index::Line> recorded;
    const QSet<QString> there(present.begin(), present.end());
    for (const index::Line &line : made.file.lines) {
        if (there.contains(line.name))
            recorded.insert(line.name, line);
        else
            made.lines << line;
    }
    for (const QString &name : index::byWriteTime(m_folder, present))
        made.lines << recorded.value(name, index::Line{name, {}, {}});
    return made;
}

void RestorePoints::save(const Order &made) const
{
    // A damaged index goes aside whole before the new one replaces it; an
    // index that cannot be written loses no point, since the points it
    // would leave out are removed only after it is written.
    const QString path = QDir(m_folder).filePath(IndexName);
    try {
        if (made.file.regular && made.file.damaged())
            index::moveAside(path);
        files::writeWhole(path, index::bytesOf(made.lines), {}, 0600);
    } catch (const files::FileRefused &e) {
        throw restoreError(QStringLiteral("Cannot write the restore point index %1: %2.").arg(path, e.reason()));
    }
}

}  // namespace tunara::restore
