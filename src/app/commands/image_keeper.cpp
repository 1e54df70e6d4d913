#include "app/commands/image_keeper.h"

#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "link/link_state.h"
#include "link/serial_port.h"
#include "module/module_document.h"
#include "ui_port/user_interface.h"

#include <optional>

namespace tunara::ui {

ImageKeeper::ImageKeeper(ModuleDocument &document, const link::LinkState &link, const link::SerialPort &port,
                         UserInterface &ui, WindowShell &shell, const QString &restorePointFolder, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_link(link),
      m_port(port),
      m_ui(ui),
      m_shell(shell),
      m_restorePoints(restorePointFolder)
{
}

restore::Origin ImageKeeper::originOf(restore::Event event)
{
    // What a module just sent came through the port and the link as they are.
    if (event == restore::Event::Downloaded || event == restore::Event::ModuleBeforeUpload) {
        return {restore::Source::module(m_port.portNumber(), m_port.deviceName()), m_link.firmwareID()};
    }
    // An image about to be replaced or written came from wherever the
    // document says, not from the module the link now talks to.
    restore::Origin origin = restore::originOf(m_document.source());
    // A restore point opened again came through the link its point records.
    if (origin.source.kind == restore::Source::Kind::File)
        if (const std::optional<restore::Entry> point = m_restorePoints.entry(m_document.source().path))
            origin.firmware = point->firmware;
    return origin;
}

bool ImageKeeper::hasUnsavedWork() const
{
    return m_document.isModified();
}

QByteArray ImageKeeper::imageBytes() const
{
    return transferBytes(m_document.image());
}

bool ImageKeeper::keepRestorePoint(restore::Event event, const QByteArray &bytes, bool protectsAWrite)
{
    try {
        const QString path = m_restorePoints.keep(bytes, event, originOf(event));
        m_lastPointKept = true;
        m_lastPointPath = path;
        emit pointKept(path);
        return true;
    } catch (const RuntimeError &e) {
        m_lastPointKept = false;
        m_lastPointPath.clear();
        // The user learns that this image has no copy, and decides whether
        // what would overwrite it goes on.
        const QString text = QStringLiteral("The image could not be kept as a restore point: %1").arg(e.description());
        m_shell.showStatusMessage(text);
        if (!protectsAWrite) {
            m_ui.messageBox(m_shell.dialogParent(), text, QStringLiteral("Restore Point"), Buttons::OK,
                            Icon::Exclamation);
            return true;
        }
        return m_ui.messageBox(m_shell.dialogParent(), text + QStringLiteral("\n\nGo on without it?"),
                               QStringLiteral("Restore Point"), Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
    }
}

bool ImageKeeper::keepImageAboutToBeOverwritten(restore::Event event)
{
    if (m_document.isEmpty())
        return true;
    // As a save would write it, so parameter edits not yet in the image are
    // kept too.
    return keepRestorePoint(event, bytesAsSavedOrAsTheyStand(m_document.data()), true);
}

bool ImageKeeper::confirmExitWithUnsavedWork()
{
    if (!hasUnsavedWork())
        return true;
    return m_ui.messageBox(
               m_shell.dialogParent(),
               QStringLiteral("The data buffer holds changes that were neither saved to a file nor uploaded to the "
                              "module.\r\n\r\nExit anyway?"),
               QStringLiteral("Exit Program"), Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
}

void ImageKeeper::markUploadEnd(const QStringList &points, const QString &end)
{
    for (const QString &point : points) {
        try {
            m_restorePoints.setUploadEnd(point, end);
            emit pointKept(point);  // the history shows the change
        } catch (const RuntimeError &e) {
            m_shell.showStatusMessage(
                QStringLiteral("The restore point could not be marked as from an unfinished upload: %1")
                    .arg(e.description()));
        }
    }
}

}  // namespace tunara::ui
