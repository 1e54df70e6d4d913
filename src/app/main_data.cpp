// The data commands' place in the window: restore points, the status bar,
// download and upload, data files.
#include "app/main_window.h"

#include "app/commands/data_status.h"
#include "app/commands/file_commands.h"
#include "app/commands/image_keeper.h"
#include "app/commands/parameter_commands.h"
#include "app/commands/table_commands.h"
#include "app/commands/transfer_commands.h"
#include "app/data_file_drop.h"
#include "app/recent_files_menu.h"
#include "app/unsaved_marker.h"
#include "app/port_setup_panel.h"
#include "link/module_protocol.h"

#include <QStatusBar>
#include <QTimer>

namespace tunara::ui {

void frmTunara_Main::setUpDataCommands()
{
    m_keeper = std::make_unique<ImageKeeper>(m_ctx.data, *m_protocol, m_ctx.ui, *this, m_ctx.restorePointFolder);
    m_dataStatus = new DataStatus(*statusBar(), m_ctx.data, m_ctx.port, m_ctx.describePort, *m_protocol, *this, this);
    // The bar takes its height from the client area: the smallest window
    // still has to show the port panel and the progress frame whole.
    setMinimumHeight(minimumHeight() + statusBar()->sizeHint().height());
    const ImageFollowUp followUp{
        // The 3D chart and the grid's pressure labels follow the sensor of the
        // image just read; a template that fails is reported by the editor.
        [this] {
            if (m_ctx.data.params.TimingTable3D)
                m_tableCommands->ChartSetup3D();
        },
        [this] { applyTableMenuRule(); },
        [this] { m_parameterCommands->mnuEditModParams_Click(); }};
    m_transferCommands = new TransferCommands(m_ctx.data, *m_session, *m_protocol, m_errorDialog, m_ctx.settings,
                                              m_actions, m_ctx.ui, *this, *m_keeper, *m_dataStatus, followUp, this);
    m_fileCommands = new FileCommands(m_ctx.data, *m_session, *m_protocol, m_errorDialog, m_ctx.settings, m_actions,
                                      m_ctx.ui, *this, *m_keeper, *m_dataStatus, followUp, this);
    auto *recent = new RecentFilesMenu(m_actions, m_ctx.settings, m_ctx.ui, *this,
                                       [this](const QString &path) { m_fileCommands->openDataFile(path); });
    connect(m_fileCommands, &FileCommands::fileUsed, recent, &RecentFilesMenu::add);
    new DataFileDrop(*this, m_ctx.ui, [recent](const QString &path) { recent->openIfThere(path); });
    new UnsavedMarker(*this, [this] { return m_keeper->hasUnsavedWork(); });
    // Any command may change what the bar shows (the parameters dialog the
    // table mode, the port set-up the port): look again after each.
    m_dataStatus->followMenus({m_actions.file, m_actions.edit, m_actions.communications, m_actions.help});
    m_dataStatus->refresh();
    connect(m_portPanel, &PortSetupPanel::portPicked, m_dataStatus,
            [this] { QTimer::singleShot(0, m_dataStatus, [this] { m_dataStatus->refresh(); }); });
    // After the window's load has chosen the port and set the caption.
    QTimer::singleShot(0, m_dataStatus, [this] { m_dataStatus->refresh(); });
}

bool frmTunara_Main::transferRunning() const
{
    return m_transferCommands && m_transferCommands->transfers().isRunning();
}

}  // namespace tunara::ui
