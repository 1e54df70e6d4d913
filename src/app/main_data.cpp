// The data commands' place in the window: restore points and their history,
// the status bar, download and upload, data files.
#include "app/main_window.h"

#include "app/commands/data_status.h"
#include "app/commands/file_commands.h"
#include "app/commands/file_dialogs.h"
#include "app/commands/history_commands.h"
#include "app/commands/image_keeper.h"
#include "app/commands/image_replacement.h"
#include "app/commands/parameter_commands.h"
#include "app/commands/transfer_commands.h"
#include "app/busy_gate.h"
#include "app/data_file_drop.h"
#include "app/recent_files_menu.h"
#include "app/unsaved_marker.h"
#include "app/port_setup_panel.h"
#include "dialogs/tune_history_window.h"
#include "link/module_protocol.h"

#include <QStatusBar>
#include <QTimer>

namespace tunara::ui {

void frmTunara_Main::setUpDataCommands()
{
    ModuleDocument &document = m_ctx.document;
    m_keeper = std::make_unique<ImageKeeper>(document, m_protocol->state(), m_ctx.port, m_ctx.ui, *this,
                                             m_ctx.restorePointFolder);
    m_replacement = std::make_unique<ImageReplacement>(*m_keeper, *m_session);
    m_dataStatus = new DataStatus(*statusBar(), document, m_ctx.port, m_ctx.describePort, *this, this);
    // The bar takes its height from the client area: the smallest window
    // still has to show the port panel and the progress frame whole.
    setMinimumHeight(minimumHeight() + statusBar()->sizeHint().height());
    m_transferCommands = new TransferCommands(document, *m_session, *m_protocol, m_errorDialog, m_ctx.settings,
                                              m_actions, m_ctx.ui, *this, *m_keeper, *m_replacement, this);
    m_fileCommands = new FileCommands(document, *m_session, m_protocol->state(), m_errorDialog, m_actions, m_ctx.ui, *this,
                                      *m_replacement, *m_fileDialogs, this);
    m_historyCommands = new HistoryCommands(document, *m_session, *m_keeper, *m_fileCommands, *m_compareCommands,
                                            *m_transferCommands, m_actions, m_ctx.ui, *this, this);
    // Its buttons start commands: a running transfer turns them away as it
    // does the window's own.
    m_gate->guard(m_historyCommands->window());
    followDocument();
    auto *recent = new RecentFilesMenu(m_actions, m_ctx.settings, m_ctx.ui, *this,
                                       [this](const QString &path) { m_fileCommands->openDataFile(path); });
    connect(m_fileCommands, &FileCommands::fileUsed, recent, &RecentFilesMenu::add);
    new DataFileDrop(*this, m_ctx.ui, [recent](const QString &path) { recent->openIfThere(path); });
    connect(m_portPanel, &PortSetupPanel::portPicked, m_dataStatus,
            [this] { QTimer::singleShot(0, m_dataStatus, [this] { m_dataStatus->refresh(); }); });
    // After the window's load has chosen the port and set the caption.
    QTimer::singleShot(0, m_dataStatus, [this] { m_dataStatus->refresh(); });
}

// The caption, the unsaved-work mark and the table menus follow what the
// document announces. The 3D chart is set up for its sensor only when a
// table is edited or made, so a missing template is told once, then.
void frmTunara_Main::followDocument()
{
    ModuleDocument &document = m_ctx.document;
    // Every open, save and download names the data's source again, also
    // when it is the one named before: a new-table wizard leaves the
    // caption without it.
    const auto showSource = [this] { showDataSource(m_ctx.document.source().title); };
    connect(&document, &ModuleDocument::sourceChanged, this, showSource);
    connect(&document, &ModuleDocument::imageReplaced, this, showSource);
    connect(m_fileCommands, &FileCommands::fileUsed, this, showSource);
    new UnsavedMarker(*this, document);
    connect(&document, &ModuleDocument::tableModeChanged, this, &frmTunara_Main::applyTableMenuRule);
    // A new image from a file or a module shows its parameters next.
    connect(m_fileCommands, &FileCommands::openedToBuffer, m_parameterCommands,
            &ParameterCommands::mnuEditModParams_Click);
    connect(m_transferCommands, &TransferCommands::downloadedToBuffer, m_parameterCommands,
            &ParameterCommands::mnuEditModParams_Click);
}

bool frmTunara_Main::transferRunning() const
{
    return m_gate->isBusy();
}

}  // namespace tunara::ui
