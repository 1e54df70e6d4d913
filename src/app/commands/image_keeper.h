#pragma once

#include "files/restore_points.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace tunara {
class ModuleDocument;
namespace link {
class LinkState;
class SerialPort;
}  // namespace link
}  // namespace tunara

namespace tunara::ui {

class UserInterface;
class WindowShell;

// What keeps the user's data safe around the data commands: the restore
// points kept before an image is overwritten, and whether the image holds
// work that was neither saved nor uploaded. Each point records where its
// image came from: the module on the port for what a module sent, the
// document's own source (its file, or the module and firmware it was
// downloaded from) for an image about to be replaced or written.
class ImageKeeper : public QObject {
    Q_OBJECT
public:
    // Restore points go to restorePointFolder (empty: the per-user data folder).
    ImageKeeper(ModuleDocument &document, const link::LinkState &link, const link::SerialPort &port,
                UserInterface &ui, WindowShell &shell, const QString &restorePointFolder, QObject *parent = nullptr);

    bool hasUnsavedWork() const;
    const restore::RestorePoints &restorePoints() const { return m_restorePoints; }

    // The transferred part of the image as it stands.
    QByteArray imageBytes() const;
    // False when the point could not be kept and the user will not let the
    // write it protects go on without it.
    bool keepRestorePoint(restore::Event event, const QByteArray &bytes, bool protectsAWrite);
    // Whether the last keepRestorePoint() kept its point.
    bool lastPointKept() const { return m_lastPointKept; }
    QString lastPointPath() const { return m_lastPointPath; }
    // Records beside an upload's points that it did not complete ("failed",
    // "stopped"). The points themselves stay as they are whatever happens.
    void markUploadEnd(const QStringList &points, const QString &end);
    // Keeps a filled image, as a save would write it, before it is replaced.
    bool keepImageAboutToBeOverwritten(restore::Event event);

    // The exit's second question: false when the user wants to stay because
    // the image holds work that was neither saved nor uploaded.
    bool confirmExitWithUnsavedWork();

signals:
    void pointKept(const QString &path);

private:
    restore::Origin originOf(restore::Event event);

    ModuleDocument &m_document;
    const link::LinkState &m_link;
    const link::SerialPort &m_port;
    UserInterface &m_ui;
    WindowShell &m_shell;
    restore::RestorePoints m_restorePoints;
    bool m_lastPointKept = false;
    QString m_lastPointPath;
};

}  // namespace tunara::ui
