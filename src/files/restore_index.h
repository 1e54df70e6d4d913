#pragma once

#include "core/runtime_error.h"
#include "files/restore_points.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
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

struct Line {
    QString name;
    QJsonObject fields;  // everything the line held but the name
};

struct File {
    bool regular = false;   // a plain file, not a link or a folder
    QString readProblem;    // it exists but could not be read
    int unreadableLines = 0;
    bool duplicates = false;
    bool invalidText = false;  // bytes that are not UTF-8 (read as replacement characters)
    QList<Line> lines;

    // The file holds something a rewrite would not carry over as it stands.
    bool damaged() const
    {
        return !readProblem.isEmpty() || unreadableLines > 0 || duplicates || invalidText;
    }
};

// Reads the index at path without following a link at its name. isPointName
// tells the names of points from anything else.
File read(const QString &path, const std::function<bool(const QString &)> &isPointName);

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
