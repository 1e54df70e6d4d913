#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Restore points: every image that came from a module, is about to go to
// one, or is about to be overwritten is kept as a data file in a per-user
// folder, so no slip, cancelled dialog or pulled cable loses it.
namespace tunara::restore {

// Why an image was kept.
// ModuleBeforeUpload holds what the module itself held before an upload
// (read from it); BeforeUpload the image the upload was about to write.
enum class Event { Downloaded, BeforeUpload, BeforeDownload, BeforeOpen, ModuleBeforeUpload };

// One kept image.
struct Entry {
    QString path;
    QDateTime time;  // local time the image was kept
    Event event = Event::Downloaded;
    QString firmware;   // the identification of the last link, "" when unknown
    QString tableMode;  // "2D", "3D" or "none", decoded from the kept bytes
};

// How an event reads in lists ("Downloaded", "Before upload", ...).
QString eventText(Event event);

class RestorePoints {
public:
    static constexpr int Kept = 200;

    // The per-user folder: the window's application data location
    // ("Tunara_Kelm_Main" in the user's data folder) + "/restore-points".
    static QString defaultFolder();

    // An empty folder means the default one.
    explicit RestorePoints(const QString &folder = QString());

    QString folder() const { return m_folder; }

    // Keeps the 264 transfer bytes as a data file (0600, in a 0700 folder)
    // named after the time, the event and the firmware (cut short), created
    // exclusively, then drops the oldest beyond Kept by the order the points
    // were made, which the folder's index records (rebuilt from when the
    // files were written when it is damaged). Returns the file's path;
    // throws RuntimeError when it cannot be kept: a symbolic link at the
    // folder's name, or an index that cannot be written, in which case no
    // point is dropped.
    QString keep(const QByteArray &bytes, Event event, const QString &firmware,
                 const QDateTime &when = QDateTime::currentDateTime());

    // Every kept image, newest made first. Files of other names are left out.
    QList<Entry> list() const;

private:
    void makeFolder() const;
    QStringList creationOrder() const;  // oldest first
    void prune(QStringList order) const;

    QString m_folder;
};

}  // namespace tunara::restore
