#pragma once

#include "module/module_data.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QJsonObject;

namespace tunara {
struct DataSource;
}

namespace tunara::restore::index {
enum class Fields;
}

// Restore points: every image that came from a module, is about to go to
// one, or is about to be overwritten is kept as a data file in a per-user
// folder, so no slip, cancelled dialog or pulled cable loses it. Beside each
// point the folder's index records where its image came from, the firmware
// of the link it came through, its table mode, a note and whether the user
// keeps it for good; the 264 bytes stay a plain data file.
namespace tunara::restore {

// Why an image was kept.
// ModuleBeforeUpload holds what the module itself held before an upload
// (read from it); BeforeUpload the image the upload was about to write.
enum class Event { Downloaded, BeforeUpload, BeforeDownload, BeforeOpen, ModuleBeforeUpload };

// Where a kept image came from.
struct Source {
    enum class Kind { Unknown, File, Module, Program };
    Kind kind = Kind::Unknown;
    QString fileName;  // File: the data file's name and folder
    QString folder;
    int port = 0;      // Module: the "Com" number (0: not known) and the device
    QString device;

    static Source file(const QString &path);
    static Source module(int port, const QString &device);
    static Source program();  // made in the program (the parameters dialog, a wizard)

    // One line: "tune.dat (/home/me/tunes)", "Com3 (/dev/ttyUSB0)",
    // "made in the program", "not recorded".
    QString text() const;
    bool operator==(const Source &) const = default;
};

// What is recorded when a point is kept: where the image came from and the
// identification of the link it came through ("" when none: a file, the
// program).
struct Origin {
    Source source;
    QString firmware;
};

// Where the image a document holds came from.
Origin originOf(const DataSource &source);

// One kept image.
struct Entry {
    QString path;
    QDateTime time;  // local time the image was kept
    Event event = Event::Downloaded;
    Source source;
    QString firmware;   // the identification of the link the image came from, "" when unknown
    QString tableMode;  // "2D", "3D" or "none" as recorded or decoded; "unreadable" when neither can say
    QString note;
    bool kept = false;      // never pruned, not counted among the newest Kept
    // How the upload a point was kept for ended when it did not complete:
    // "failed" or "stopped"; "" otherwise (and for every other event).
    QString uploadEnd;
    QByteArray bytes;       // the point's 264 bytes; empty when the file cannot be read
    QString problem;        // why the file cannot be read ("the file is gone", ...); "" when it can

    bool readable() const { return problem.isEmpty(); }
    QString firmwareText() const { return firmware.isEmpty() ? QStringLiteral("unknown") : firmware; }
};

struct Listing {
    QList<Entry> entries;  // newest made first
    QStringList problems;  // what the index could not tell, one sentence each
};

// How an event reads in lists ("Downloaded", "Before upload", ...).
QString eventText(Event event);

// A note as it is kept: line ends as "\n", other control characters as
// spaces, no blank lines at its ends. Throws RuntimeError for a note longer
// than RestorePoints::MaxNoteChars or one holding characters that did not
// come from UTF-8 text (replacement characters).
QString normalisedNote(const QString &text);
// A note on one line, as lists show it: line breaks as " / ".
QString noteLine(const QString &note);

// A point's bytes decoded as an open decodes a data file.
ModuleData decodePoint(const QByteArray &bytes);

class RestorePoints {
public:
    static constexpr int Kept = 200;
    static constexpr int MaxNoteChars = 10000;

    // The per-user folder: the window's application data location
    // ("Tunara_Kelm_Main" in the user's data folder) + "/restore-points".
    static QString defaultFolder();

    // An empty folder means the default one.
    explicit RestorePoints(const QString &folder = QString());

    QString folder() const { return m_folder; }
    // Whether a path names this folder or a file in it, however spelt.
    bool holds(const QString &path) const;

    // Keeps the 264 transfer bytes as a data file (0600, in a 0700 folder)
    // named after the time, the event and the firmware (cut short), created
    // exclusively, records its origin and table mode in the index, then
    // drops the oldest points beyond the newest Kept that are not kept for
    // good, by the order the index records (rebuilt from when the files
    // were written when it is damaged; a damaged index is first renamed
    // aside, so nothing it held is lost). Returns the file's path; throws
    // RuntimeError when it cannot be kept: a symbolic link at the folder's
    // name, or an index that cannot be written, in which case no point is
    // dropped.
    QString keep(const QByteArray &bytes, Event event, const Origin &origin,
                 const QDateTime &when = QDateTime::currentDateTime());
    // The same for an image whose source is not known.
    QString keep(const QByteArray &bytes, Event event, const QString &firmware,
                 const QDateTime &when = QDateTime::currentDateTime());

    // Every kept image, newest made first, with what could not be read.
    // Files of other names are left out; a point the index remembers whose
    // file is gone is listed with that problem.
    Listing listing() const;
    // The same one point at a time, so that a listing of any length holds
    // little more than the index: `problems` gets what the index could not
    // tell (nothing when all is well), then `each` every point.
    void eachEntry(const std::function<void(const QStringList &problems)> &problems,
                   const std::function<void(const Entry &)> &each) const;
    QList<Entry> list() const { return listing().entries; }
    // One point, named by its path (or its file name alone), as listing()
    // lists it; none when it is not one of this folder's.
    std::optional<Entry> entry(const QString &point) const;

    // Changes what the index records beside one point, named by its path
    // (or its file name alone), under the folder's lock so two programs
    // never undo each other's change. Throws RuntimeError when the point is
    // not one of this folder's, the note is refused (normalisedNote) or the
    // index cannot be written.
    void setNote(const QString &point, const QString &note);
    void setKept(const QString &point, bool kept);
    void setUploadEnd(const QString &point, const QString &end);

private:
    struct Order;
    void makeFolder() const;
    Order order() const;
    Order order(index::Fields fields) const;
    void save(const Order &order) const;
    void change(const QString &point, const std::function<void(QJsonObject &)> &edit);
    QString pointName(const QString &point) const;  // "" when not one of this folder's
    bool isFolder(const QString &path) const;

    QString m_folder;
};

}  // namespace tunara::restore
