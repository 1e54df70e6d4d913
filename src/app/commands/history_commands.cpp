#include "app/commands/history_commands.h"

#include "app/commands/compare_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/image_keeper.h"
#include "app/commands/transfer_commands.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "dialogs/note_dialog.h"
#include "dialogs/tune_history_window.h"
#include "editor/table_session.h"
#include "module/module_document.h"
#include "module/saved_state.h"
#include "tables/table_codec.h"
#include "ui_port/user_interface.h"

#include <QAction>
#include <QFileInfo>

namespace tunara::ui {

namespace {

const QString HistoryTitle = QStringLiteral("Tune History");
constexpr int SettleMs = 150;

}  // namespace

HistoryCommands::HistoryCommands(ModuleDocument &document, editor::TableSession &session, ImageKeeper &keeper,
                                 FileCommands &files, CompareCommands &compare, TransferCommands &transfers,
                                 const MainActions &actions, UserInterface &ui, WindowShell &shell, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_session(session),
      m_files(files),
      m_compare(compare),
      m_transfers(transfers),
      m_actions(actions),
      m_ui(ui),
      m_shell(shell),
      m_points(keeper.restorePoints()),
      m_window(new TuneHistoryWindow(shell.dialogParent()))
{
    connect(actions.tuneHistory, &QAction::triggered, this, &HistoryCommands::mnuTuneHistory_Click);
    connect(m_window, &TuneHistoryWindow::openRequested, this, &HistoryCommands::openPoint);
    connect(m_window, &TuneHistoryWindow::compareRequested, this, &HistoryCommands::comparePoint);
    connect(m_window, &TuneHistoryWindow::uploadRequested, this, &HistoryCommands::uploadPoint);
    connect(m_window, &TuneHistoryWindow::keepRequested, this, &HistoryCommands::keepPoint);
    connect(m_window, &TuneHistoryWindow::noteRequested, this, &HistoryCommands::editNote);

    // New points, from this window at once, from anywhere once they settle.
    connect(&keeper, &ImageKeeper::pointKept, this, &HistoryCommands::refresh);
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &HistoryCommands::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));

    // The comparison follows the open image: a new one, parameters, the
    // table saved or still being edited.
    for (const auto signal : {&ModuleDocument::imageReplaced, &ModuleDocument::parametersChanged,
                              &ModuleDocument::tablesChanged})
        connect(&document, signal, this, &HistoryCommands::refreshOpenImage);
    connect(&session.model(), &editor::TableEditModel::cellsChanged, this, &HistoryCommands::refreshOpenImage);
    connect(&session.model(), &editor::TableEditModel::tableReset, this, &HistoryCommands::refreshOpenImage);
    // A point compares with the open table, or opens the active one first.
    connect(actions.compareWithFile, &QAction::enabledChanged, this, &HistoryCommands::updateCompare);
    connect(actions.editTimingTable, &QAction::enabledChanged, this, &HistoryCommands::updateCompare);
}

void HistoryCommands::mnuTuneHistory_Click()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    refresh();
    updateCompare();
}

std::optional<ModuleData> HistoryCommands::openImage() const
{
    if (m_document.isEmpty())
        return std::nullopt;
    ModuleData open = restore::decodePoint(bytesAsSavedOrAsTheyStand(m_document.data()));
    // Edits in the table editor count as the user sees them.
    if (m_session.isOpen() && !m_session.wizardPending()) {
        if (m_session.openKind() == editor::TableKind::Map3D)
            encodeTable3D(m_session.shownTable3D(), open.params.TrigTiming, open.image);
        else
            encodeTable2D(m_session.shownTable2D(), open.params.TrigTiming, open.image);
        open = restore::decodePoint(transferBytes(open.image));
    }
    return open;
}

void HistoryCommands::refresh()
{
    if (!m_window->isVisible())
        return;
    if (QFileInfo(m_points.folder()).isDir() && !m_watcher.directories().contains(m_points.folder()))
        m_watcher.addPath(m_points.folder());
    m_window->setListing(m_points.listing());
    m_window->setOpenImage(openImage());
}

void HistoryCommands::refreshOpenImage()
{
    if (m_window->isVisible())
        m_window->setOpenImage(openImage());
}

void HistoryCommands::updateCompare()
{
    const bool can = m_actions.compareWithFile->isEnabled() || m_actions.editTimingTable->isEnabled();
    m_window->setCanCompare(can, QStringLiteral("The data buffer selects no timing table to compare with."));
}

void HistoryCommands::openPoint(const QString &path)
{
    if (!m_shell.transferRunning())
        m_files.openDataFile(path, true, pointTitle(path));
}

// The caption of an opened point: what it holds and when, not the
// point's file name ("Tune History: Download: image received, ...").
QString HistoryCommands::pointTitle(const QString &path) const
{
    for (const restore::Entry &e : m_points.list())
        if (e.path == path)
            return QStringLiteral("Tune History: %1").arg(TuneHistoryWindow::compareName(e));
    return QString();
}

void HistoryCommands::comparePoint(const QString &path, const QString &name)
{
    if (m_shell.transferRunning())
        return;
    // One click: the active table opens first when it is not open yet.
    if (!m_session.isOpen() && m_actions.editTimingTable->isEnabled())
        m_actions.editTimingTable->trigger();
    if (m_session.isOpen())
        m_compare.compareWithFile(path, name);
}

void HistoryCommands::compareNewest()
{
    const QList<restore::Entry> points = m_points.list();
    if (!points.isEmpty() && points.first().readable())
        comparePoint(points.first().path, TuneHistoryWindow::compareName(points.first()));
}

void HistoryCommands::uploadPoint(const QString &path)
{
    if (!m_shell.transferRunning() && m_files.openDataFile(path, false, pointTitle(path)))
        m_transfers.mnuUpload_Click();
}

void HistoryCommands::keepPoint(const QString &path, bool keep)
{
    try {
        m_points.setKept(path, keep);
    } catch (const RuntimeError &e) {
        refused(e.description());
    }
    refresh();
}

void HistoryCommands::editNote(const QString &path)
{
    const std::optional<restore::Entry> entry = m_points.entry(path);
    NoteDialog dialog(QFileInfo(path).fileName(), entry ? entry->note : QString(), restore::RestorePoints::MaxNoteChars,
                      m_window);
    if (m_ui.showModal(dialog) != QDialog::Accepted)
        return;
    try {
        m_points.setNote(path, dialog.text());
    } catch (const RuntimeError &e) {
        refused(e.description());
    }
    refresh();
}

void HistoryCommands::refused(const QString &text)
{
    m_ui.messageBox(m_window, text, HistoryTitle, Buttons::OK, Icon::Exclamation);
}

}  // namespace tunara::ui
