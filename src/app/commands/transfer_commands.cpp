// Download and upload from the window, and what keeps a running transfer
// from being disturbed.
#include "app/commands/transfer_commands.h"

#include "app/commands/image_keeper.h"
#include "app/commands/image_replacement.h"
#include "app/commands/unsaved_table_note.h"
#include "app/main_actions.h"
#include "compare/image_check.h"
#include "app/window_shell.h"
#include "core/numbers.h"
#include "core/shown_numbers.h"
#include "dialogs/error_dialog.h"
#include "editor/table_session.h"
#include "files/stored_settings.h"
#include "image/image_layout.h"

#include <QAction>

#include <algorithm>

namespace tunara::ui {

namespace {

Icon iconOf(link::MessageIcon icon)
{
    switch (icon) {
    case link::MessageIcon::Critical: return Icon::Critical;
    case link::MessageIcon::Exclamation: return Icon::Exclamation;
    case link::MessageIcon::Information: return Icon::Information;
    case link::MessageIcon::None: break;
    }
    return Icon::None;
}

const QString TableOpenMessage = QStringLiteral("You must close or save any open table before uploading.");


}  // namespace

TransferCommands::TransferCommands(ModuleDocument &document, const editor::TableSession &session,
                                   link::ModuleProtocol &protocol, CommonErrorDialog &errors, StoredSettings &settings,
                                   const MainActions &actions, UserInterface &ui, WindowShell &shell,
                                   ImageKeeper &keeper, ImageReplacement &replacement, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_session(session),
      m_settings(settings),
      m_ui(ui),
      m_shell(shell),
      m_keeper(keeper),
      m_replacement(replacement),
      m_transfers(protocol, document, *this, errors, this)
{
    connect(actions.download, &QAction::triggered, this, &TransferCommands::mnuDownload_Click);
    connect(actions.upload, &QAction::triggered, this, &TransferCommands::mnuUpload_Click);
    actions.writeEveryByte->setChecked(m_settings.writeEveryByte());
    m_transfers.setWriteAll(actions.writeEveryByte->isChecked());
    connect(actions.writeEveryByte, &QAction::toggled, this, &TransferCommands::setWriteEveryByte);
}

void TransferCommands::setWriteEveryByte(bool on)
{
    m_transfers.setWriteAll(on);
    m_settings.saveWriteEveryByte(on);
}

void TransferCommands::mnuDownload_Click()
{
    m_transfers.Download();  // Busy while another transfer runs: nothing done
}

void TransferCommands::mnuUpload_Click()
{
    if (m_transfers.isRunning())
        return;
    // An open table may hold edits the image does not have yet.
    if (m_session.isOpen()) {
        showMessage(TableOpenMessage, link::TransferText::UploadTitle, link::MessageIcon::Exclamation);
        return;
    }
    // Asked before any serial traffic; an empty image is the upload's own refusal.
    if (!m_document.isEmpty() && (!confirmUnfilledTable() || !confirmCheckedChanges()))
        return;
    m_transfers.Upload();
}

bool TransferCommands::confirmCheckedChanges()
{
    // Only bytes that came from a file or a module can be read other than
    // stored; an image the parameters dialog made holds what it shows.
    const ModuleData &data = m_document.data();
    if (!data.filledThisRun.table2D && !data.filledThisRun.table3D)
        return true;
    const std::vector<compare::CheckItem> changes = compare::checkImage(data.image, QLocale()).changesToFile();
    if (changes.empty() || m_acceptedChanges == data.image.EEPROMBuffer)
        return true;
    const QString text =
        QStringLiteral("The program reads %1 item(s) of the data buffer other than it stores them; the upload would "
                       "write them as read:\r\n\r\n%2\r\n\r\nUpload anyway?")
            .arg(changes.size())
            .arg(compare::itemListText(changes, 20));
    if (m_ui.messageBox(m_shell.dialogParent(), text, link::TransferText::UploadTitle, Buttons::YesNo,
                        Icon::Exclamation) != Answer::Yes)
        return false;
    m_acceptedChanges = data.image.EEPROMBuffer;
    return true;
}

bool TransferCommands::confirmUnfilledTable()
{
    const ModuleData &data = m_document.data();
    const ModuleParameters &p = data.params;
    const editor::TableKind active = editor::activeTable(p);
    if (active == editor::TableKind::None)
        return true;
    const bool threeD = active == editor::TableKind::Map3D;
    if (threeD ? data.filledThisRun.table3D : data.filledThisRun.table2D)
        return true;
    const layout::Region region = threeD ? layout::Table3D : layout::Table2D;
    const int count = region.size;
    const auto *begin = data.image.EEPROMBuffer.cbegin() + region.first;
    const bool allSame = std::all_of(begin, begin + count, [begin](std::uint8_t b) { return b == *begin; });
    const QString table = threeD ? QStringLiteral("3D") : QStringLiteral("2D");
    QString content = QStringLiteral("%1 table bytes that were left in the buffer").arg(count);
    if (allSame && *begin == 0)
        content = QStringLiteral("all %1 points at the trigger timing of %2 degrees").arg(count).arg(p.TrigTiming);
    else if (allSame)  // the parameters dialog fills a new image with one value
        content = QStringLiteral("all %1 points at %2 degrees of advance")
                      .arg(count)
                      .arg(numbers::shown(p.TrigTiming - *begin * DegreesPerStep, QStringLiteral("#0.0")));
    const QString text =
        QStringLiteral("The %1 timing table in the buffer was not downloaded, opened from a file or saved from the "
                       "table editor in this session. The upload would write the module parameters with this %1 "
                       "table: %2.\r\n\r\nUpload anyway?")
            .arg(table, content);
    return m_ui.messageBox(m_shell.dialogParent(), text, link::TransferText::UploadTitle, Buttons::YesNo,
                           Icon::Exclamation) == Answer::Yes;
}

void TransferCommands::showMessage(const QString &text, const QString &title, link::MessageIcon icon)
{
    m_ui.messageBox(m_shell.dialogParent(), text, title, Buttons::OK, iconOf(icon));
}

bool TransferCommands::askOkCancel(const QString &text, const QString &title)
{
    return m_ui.messageBox(m_shell.dialogParent(), text + unsavedTableEditsNote(m_session), title, Buttons::OKCancel,
                           Icon::None) == Answer::OK;
}

// Nothing else may touch the image, the port or the open table meanwhile.
void TransferCommands::runningChanged(bool running)
{
    m_shell.setBusy(running);
}

bool TransferCommands::imageAboutToBeReplaced()
{
    // Every byte arrived and the user agreed to overwrite.
    return m_replacement.prepare(restore::Event::BeforeDownload);
}

void TransferCommands::downloaded(const ModuleParameters &)
{
    m_keeper.keepRestorePoint(restore::Event::Downloaded, m_keeper.imageBytes(), false);
}

bool TransferCommands::aboutToWrite()
{
    const bool kept = m_keeper.keepRestorePoint(restore::Event::BeforeUpload, m_keeper.imageBytes(), true);
    if (m_keeper.lastPointKept())  // the user may go on without the point
        m_uploadPoints << m_keeper.lastPointPath();
    return kept;
}

// What the module held is about to be overwritten too; when it cannot be
// kept the upload goes on and the user is told.
void TransferCommands::moduleContentsRead(const link::EEPROMBytes &before)
{
    m_keeper.keepRestorePoint(restore::Event::ModuleBeforeUpload,
                              transferBytes(before),
                              false);
    m_moduleContentsKept = m_keeper.lastPointKept();
    if (m_moduleContentsKept)
        m_uploadPoints << m_keeper.lastPointPath();
}

QString TransferCommands::olderImageHint() const
{
    return m_moduleContentsKept ? QStringLiteral("What it held before this upload is kept: File > Tune History, "
                                                 "\"Upload: module held before\".")
                                : QString();
}

void TransferCommands::finished(link::TransferCommand command, link::TransferOutcome outcome)
{
    const bool completed = outcome == link::TransferOutcome::Completed;
    m_moduleContentsKept = false;
    // A point of an upload that did not complete says so in the history.
    if (command == link::TransferCommand::Upload && !m_uploadPoints.isEmpty() &&
        (outcome == link::TransferOutcome::Failed || outcome == link::TransferOutcome::Stopped))
        m_keeper.markUploadEnd(m_uploadPoints,
                               outcome == link::TransferOutcome::Failed ? QStringLiteral("failed") : QStringLiteral("stopped"));
    m_uploadPoints.clear();
    if (command == link::TransferCommand::Download && completed)
        emit downloadedToBuffer();
    else if (command == link::TransferCommand::Upload && completed)
        m_document.markSaved();  // the module now holds exactly this image
}

}  // namespace tunara::ui
