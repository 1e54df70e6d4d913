#include "files/restore_index.h"

#include "core/runtime_error.h"
#include "core/system_error_text.h"
#include "files/data_file.h"
#include "files/file_safety.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tunara::restore::index {

namespace {

// Far above any index a user makes (a note holds at most 10,000
// characters), so that only a file that is not an index is refused.
constexpr qint64 IndexCap = 64 * 1024 * 1024;

}  // namespace

namespace {

// Takes one line of the index into `index`; `at` is where it starts.
void readLine(File &index, QByteArrayView raw, qsizetype at, Fields fields,
              const std::function<bool(const QString &)> &isPointName, QHash<QString, qsizetype> &placeOf)
{
    const QString decoded = QString::fromUtf8(raw);
    const QString text = decoded.trimmed();
    if (text.isEmpty())
        return;
    if (decoded.toUtf8() != raw)
        index.invalidText = true;
    Line line;
    const bool json = text.startsWith(u'{');
    if (json) {
        line.fields = QJsonDocument::fromJson(text.toUtf8()).object();
        line.name = line.fields.take(QStringLiteral("name")).toString();
    } else {
        line.name = text;  // an index of names alone
    }
    if (!isPointName(line.name)) {
        ++index.unreadableLines;
        return;
    }
    if (fields == Fields::OnDemand) {
        // Only the name is held; the fields are read again when asked for.
        line.fields = {};
        if (json)
            line.spans.push_back({at, raw.size()});
    }
    // A name listed twice keeps its first place; what a later line adds is
    // kept with it.
    const auto same = placeOf.constFind(line.name);
    if (same == placeOf.cend()) {
        placeOf.insert(line.name, index.lines.size());
        index.lines << line;
        return;
    }
    index.duplicates = true;
    Line &first = index.lines[*same];
    first.spans += line.spans;
    for (auto it = line.fields.begin(); it != line.fields.end(); ++it)
        first.fields.insert(it.key(), it.value());
}

}  // namespace

File read(const QString &path, const std::function<bool(const QString &)> &isPointName, Fields fields)
{
    File index;
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno != ENOENT)
            index.readProblem = files::reasonFor(errno, path);
        return index;
    }
    index.regular = S_ISREG(st.st_mode);
    if (!index.regular) {
        index.readProblem = QStringLiteral("it is not a plain file");
        return index;
    }
    QByteArray bytes;
    try {
        bytes = files::readInput(path, IndexCap, QStringLiteral("index"));
    } catch (const files::FileRefused &e) {
        index.readProblem = e.reason();
        return index;
    }
    QHash<QString, qsizetype> placeOf;
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        readLine(index, QByteArrayView(bytes).sliced(from, end - from), from, fields, isPointName, placeOf);
        from = end + 1;
    }
    if (fields == Fields::OnDemand)
        index.text = bytes;
    return index;
}

QJsonObject fieldsOf(const File &index, const Line &line)
{
    QJsonObject fields = line.fields;
    for (const Span &span : line.spans) {
        const QByteArray text = index.text.sliced(span.from, span.size);
        const QJsonObject later = QJsonDocument::fromJson(text).object();
        for (auto it = later.begin(); it != later.end(); ++it)
            if (it.key() != QStringLiteral("name"))
                fields.insert(it.key(), it.value());
    }
    return fields;
}

QStringList problemsOf(const File &index, const QString &path)
{
    if (!index.readProblem.isEmpty())
        return {QStringLiteral("The index %1 cannot be read (%2): the points are listed in the order their "
                               "files were written, with what their files tell.")
                    .arg(path, index.readProblem)};
    if (!index.damaged())
        return {};
    QStringList why;
    if (index.unreadableLines > 0)
        why << (index.unreadableLines == 1 ? QStringLiteral("1 line cannot be read")
                                           : QStringLiteral("%1 lines cannot be read").arg(index.unreadableLines));
    if (index.duplicates)
        why << QStringLiteral("a point is listed twice");
    if (index.invalidText)
        why << QStringLiteral("it holds bytes that are not text");
    return {QStringLiteral("The index %1 is damaged (%2); the points are listed in the order their "
                           "files were written. The index is kept aside whole at the next change.")
                .arg(path, why.join(QStringLiteral(", ")))};
}

QByteArray bytesOf(const QList<Line> &lines)
{
    QByteArray bytes;
    for (const Line &line : lines) {
        QJsonObject object = line.fields;
        object.insert(QStringLiteral("name"), line.name);
        bytes += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    }
    return bytes;
}

void moveAside(const QString &path)
{
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = stem + QStringLiteral("-%1").arg(n);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        throw files::FileRefused(files::FileRefused::Cause::System, files::reasonFor(errno, path));
}

bool isKept(const Line &line)
{
    return line.fields.value(QStringLiteral("kept")).toBool();
}

QStringList prune(QList<Line> &lines, const QSet<QString> &present, qsizetype budget)
{
    qsizetype withFile = 0;
    qsizetype withoutFile = 0;
    for (const Line &line : lines)
        if (!isKept(line))
            ++(present.contains(line.name) ? withFile : withoutFile);
    // Lines without a file age out first, while all the lines together are
    // over the budget; a point with a file goes only while those with files
    // alone are.
    for (auto it = lines.begin(); withoutFile > 0 && withFile + withoutFile > budget && it != lines.end();) {
        if (!isKept(*it) && !present.contains(it->name)) {
            it = lines.erase(it);
            --withoutFile;
        } else {
            ++it;
        }
    }
    QStringList dropped;
    for (auto it = lines.begin(); withFile > budget && it != lines.end();) {
        if (isKept(*it) || !present.contains(it->name)) {
            ++it;
        } else {
            dropped << it->name;
            it = lines.erase(it);
            --withFile;
        }
    }
    return dropped;
}

RuntimeError restoreError(const QString &text)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("Restore Point"), text);
}

Lock::Lock(const QString &folder)
{
    m_fd = ::open(QFile::encodeName(QDir(folder).filePath(QStringLiteral("index.lock"))).constData(),
                  O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0)
        throw restoreError(QStringLiteral("Cannot lock the restore point folder %1: %2.")
                               .arg(folder, systemErrorText(errno)));
}

Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd);  // releases the lock
}

namespace {

constexpr struct {
    Source::Kind kind;
    const char *key;
} SourceKinds[] = {{Source::Kind::Unknown, "unknown"},
                   {Source::Kind::File, "file"},
                   {Source::Kind::Module, "module"},
                   {Source::Kind::Program, "program"}};

}  // namespace

QJsonObject sourceJson(const Source &s)
{
    QJsonObject o;
    for (const auto &k : SourceKinds)
        if (k.kind == s.kind)
            o.insert(QStringLiteral("kind"), QLatin1String(k.key));
    if (s.kind == Source::Kind::File) {
        o.insert(QStringLiteral("name"), s.fileName);
        o.insert(QStringLiteral("folder"), s.folder);
    } else if (s.kind == Source::Kind::Module) {
        o.insert(QStringLiteral("port"), s.port);
        o.insert(QStringLiteral("device"), s.device);
    }
    return o;
}

Source sourceOf(const QJsonObject &o)
{
    Source s;
    const QString kind = o.value(QStringLiteral("kind")).toString();
    for (const auto &k : SourceKinds)
        if (kind == QLatin1String(k.key))
            s.kind = k.kind;
    s.fileName = o.value(QStringLiteral("name")).toString();
    s.folder = o.value(QStringLiteral("folder")).toString();
    s.port = std::clamp(o.value(QStringLiteral("port")).toInt(), 0, 255);
    s.device = o.value(QStringLiteral("device")).toString();
    return s;
}

QString tableModeOf(const QByteArray &bytes)
{
    if (bytes.size() != datafile::Size)
        return QStringLiteral("unreadable");
    const ModuleParameters p = decodePoint(bytes).params;
    return p.TimingTable3D ? QStringLiteral("3D") : p.TimingTable2D ? QStringLiteral("2D") : QStringLiteral("none");
}

QString readPoint(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("its file is a link to nothing") : QStringLiteral("the file is gone");
    if (!info.isFile())
        return QStringLiteral("it is not a plain file");
    if (info.size() != datafile::Size)
        return QStringLiteral("the file holds %1 bytes, not %2").arg(info.size()).arg(datafile::Size);
    try {
        bytes = files::readInput(path, files::DataFileCap, QStringLiteral("restore point"));
    } catch (const files::FileRefused &e) {
        return QStringLiteral("the file cannot be read: %1").arg(e.reason());
    }
    if (bytes.size() != datafile::Size) {  // it changed while it was read
        const qsizetype size = bytes.size();
        bytes.clear();
        return QStringLiteral("the file holds %1 bytes, not %2").arg(size).arg(datafile::Size);
    }
    if (const auto other = files::recogniseOtherFile(bytes, bytes.size())) {
        bytes.clear();
        return QStringLiteral("the file is %1, not a data file").arg(files::otherFileKindName(*other));
    }
    return QString();
}

// By the time each file was written (a point is never changed after);
// those written within one tick of the file system's clock in the order
// the file system numbered them.
QStringList byWriteTime(const QString &folder, const QStringList &names)
{
    struct Made {
        QString name;
        std::int64_t nanoseconds;
        ino_t inode;
    };
    std::vector<Made> made;
    for (const QString &name : names) {
        struct stat point {};
        if (::lstat(QFile::encodeName(QDir(folder).filePath(name)).constData(), &point) == 0)
            made.push_back({name, std::int64_t(point.st_mtim.tv_sec) * 1000000000 + point.st_mtim.tv_nsec,
                            point.st_ino});
    }
    std::sort(made.begin(), made.end(), [](const Made &a, const Made &b) {
        return a.nanoseconds != b.nanoseconds ? a.nanoseconds < b.nanoseconds : a.inode < b.inode;
    });
    QStringList order;
    for (const Made &m : made)
        order << m.name;
    return order;
}

}  // namespace tunara::restore::index
