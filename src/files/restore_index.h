#pragma once

#include "core/runtime_error.h"
#include "files/restore_points.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// The restore point folder's index and the files it lists, as the store
// reads and writes them: one line per point, oldest made first, each a JSON
// object with the point's file name and what was recorded beside it
// (source, firmware, table mode, note, kept). Lines of an older index hold
// the file name alone. Fields this version does not know are carried
// through every rewrite untouched.
namespace tunara::restore::index {

// Where a line stands in the index's text.
struct Span {
    qsizetype from = 0;
    qsizetype size = 0;
};

struct Line {
    QString name;
    QJsonObject fields;  // everything the line held but the name
    // Read on demand: the lines that hold the fields, in the order of the
    // index, the first line and any later one naming the point again.
    QList<Span> spans;
};

struct File {
    bool regular = false;   // a plain file, not a link or a folder
    QString readProblem;    // it exists but could not be read
    int unreadableLines = 0;
    bool duplicates = false;
    bool invalidText = false;  // bytes that are not UTF-8 (read as replacement characters)
    QList<Line> lines;
    QByteArray text;  // the index itself, kept when the fields are read on demand

    // The file holds something a rewrite would not carry over as it stands.
    bool damaged() const
    {
        return !readProblem.isEmpty() || unreadableLines > 0 || duplicates || invalidText;
    }
};

// How the fields of the lines are read: at once, or only when asked for, so
// that a listing holds the index's text and one point's fields at a time
// rather than every line's fields besides.
enum class Fields { Parsed, OnDemand };

// Reads the index at path without following a link at its name. isPointName
// tells the names of points from anything else.
File read(const QString &path, const std::function<bool(const QString &)> &isPointName,
          Fields fields = Fields::Parsed);
// Everything the index records beside a line's point, however it was read.
QJsonObject fieldsOf(const File &index, const Line &line);

// What a listing says of an index that is not whole ("" when it is): that
// it cannot be read, or how it is damaged.
QStringList problemsOf(const File &index, const QString &path);

// The whole index as it is written.
QByteArray bytesOf(const QList<Line> &lines);

// Renames a damaged index aside ("index.damaged-<time>") so that a rewrite
// loses nothing it held. Throws files::FileRefused.
void moveAside(const QString &path);

// Holds the folder's lock file, so two programs keeping points or changing
// the index at once take turns. Throws RuntimeError when it cannot.
class Lock {
public:
    explicit Lock(const QString &folder);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    int m_fd = -1;
};

// Errors of the store ("Restore Point").
RuntimeError restoreError(const QString &text);

// Whether a line is kept for good: never pruned, not counted.
bool isKept(const Line &line);

// Prunes the lines (oldest first) to at most `budget` that are not kept for
// good, and returns the names of the points whose files are to go. Lines
// whose files are not `present` go first, oldest first, and cost no point:
// only points whose files are there are counted against the budget, so a
// point with a file is never dropped to keep a line that has none.
QStringList prune(QList<Line> &lines, const QSet<QString> &present, qsizetype budget);

// A source as the index records it, and back.
QJsonObject sourceJson(const Source &source);
Source sourceOf(const QJsonObject &object);

// "2D", "3D" or "none" for 264 bytes, "unreadable" for anything else.
QString tableModeOf(const QByteArray &bytes);
// Reads a point's file; "" when its 264 bytes were read, else why not.
QString readPoint(const QString &path, QByteArray &bytes);
// The points in the order their files were written.
QStringList byWriteTime(const QString &folder, const QStringList &names);

}  // namespace tunara::restore::index
