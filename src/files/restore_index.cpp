#include "files/restore_index.h"

#include "files/file_safety.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

#include <cerrno>
#include <sys/stat.h>

namespace tunara::restore::index {

namespace {

// Far above any index a user makes (a note holds at most 10,000
// characters), so that only a file that is not an index is refused.
constexpr qint64 IndexCap = 64 * 1024 * 1024;

}  // namespace

File read(const QString &path, const std::function<bool(const QString &)> &isPointName)
{
    File index;
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno != ENOENT) {
            index.exists = true;
            index.readProblem = files::reasonFor(errno, path);
        }
        return index;
    }
    index.exists = true;
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
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString text = QString::fromUtf8(raw).trimmed();
        if (text.isEmpty())
            continue;
        if (QString::fromUtf8(raw).toUtf8() != raw)
            index.invalidText = true;
        Line line;
        if (text.startsWith(u'{')) {
            const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
            line.fields = doc.object();
            line.name = line.fields.take(QStringLiteral("name")).toString();
        } else {
            line.name = text;  // an index of names alone
        }
        if (!isPointName(line.name)) {
            ++index.unreadableLines;
            continue;
        }
        // A name listed twice keeps its first place; what a later line
        // adds is kept with it.
        const auto same = std::find_if(index.lines.begin(), index.lines.end(),
                                       [&line](const Line &l) { return l.name == line.name; });
        if (same == index.lines.end()) {
            index.lines << line;
        } else {
            index.duplicates = true;
            for (auto it = line.fields.begin(); it != line.fields.end(); ++it)
                same->fields.insert(it.key(), it.value());
        }
    }
    return index;
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

QString moveAside(const QString &path)
{
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = stem + QStringLiteral("-%1").arg(n);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        throw files::FileRefused(files::FileRefused::Cause::System, files::reasonFor(errno, path));
    return aside;
}

}  // namespace tunara::restore::index
