// Download and upload from the window, and what keeps a running transfer
// from being disturbed.
#include "app/data_commands.h"
#include "editor/table_session.h"
#include "image/image_layout.h"
#include "app/table_commands.h"

#include "app/main_window.h"
#include "app/main_parameter_dialogs.h"
#include "app/port_setup_panel.h"
#include "views/timing_grid.h"
#include "core/numbers.h"

#include <QComboBox>
#include <QMenuBar>

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

// Where the image came from, as the caption names it.
const QString EmptySource = QStringLiteral("Data Buffer Empty");
const QString DownloadedSource = QStringLiteral("Downloaded Data");

const QString TableOpenMessage = QStringLiteral("You must close or save any open table before uploading.");

}  // namespace

void DataCommands::mnuDownload_Click()
{
    m_transfers.Download();  // Busy while another transfer runs: nothing done
}

void DataCommands::mnuUpload_Click()
{
    if (m_transfers.isRunning())
        return;
    // An open table may hold edits the image does not have yet.
    if (tableOnScreen()) {
        showMessage(TableOpenMessage, link::TransferText::UploadTitle, link::MessageIcon::Exclamation);
        return;
    }
    // Asked before any serial traffic; an empty image is the upload's own refusal.
    if (!m_data.image.DataBufferEmpty && !confirmUnfilledTable())
        return;
    m_transfers.Upload();
}

bool DataCommands::confirmUnfilledTable()
{
    const ModuleParameters &p = m_data.params;
    const editor::TableKind active = editor::activeTable(p);
    if (active == editor::TableKind::None)
        return true;
    const bool threeD = active == editor::TableKind::Map3D;
    if (threeD ? m_data.filledThisRun.table3D : m_data.filledThisRun.table2D)
        return true;
    const layout::Region region = threeD ? layout::Table3D : layout::Table2D;
    const int count = region.size;
    const auto *begin = m_data.image.EEPROMBuffer.cbegin() + region.first;
    const bool allSame = std::all_of(begin, begin + count, [begin](std::uint8_t b) { return b == *begin; });
    const QString table = threeD ? QStringLiteral("3D") : QStringLiteral("2D");
    QString content = QStringLiteral("%1 table bytes that were left in the buffer").arg(count);
    if (allSame && *begin == 0)
        content = QStringLiteral("all %1 points at the trigger timing of %2 degrees").arg(count).arg(p.TrigTiming);
    else if (allSame)  // the parameters dialog fills a new image with one value
        content = QStringLiteral("all %1 points at %2 degrees of advance")
                      .arg(count)
                      .arg(p.TrigTiming - *begin * DegreesPerStep, 0, 'f', 1);
    const QString text =
        QStringLiteral("The %1 timing table in the buffer was not downloaded, opened from a file or saved from the "
                       "table editor in this session. The upload would write the module parameters with this %1 "
                       "table: %2.\r\n\r\nUpload anyway?")
            .arg(table, content);
    return m_window.context().ui.messageBox(&m_window, text, link::TransferText::UploadTitle, Buttons::YesNo,
                                            Icon::Exclamation) == Answer::Yes;
}

void DataCommands::showMessage(const QString &text, const QString &title, link::MessageIcon icon)
{
    refreshStatus();  // the identification may just have been read
    m_window.context().ui.messageBox(&m_window, text, title, Buttons::OK, iconOf(icon));
}

bool DataCommands::askOkCancel(const QString &text, const QString &title)
{
    return m_window.context().ui.messageBox(&m_window, text, title, Buttons::OKCancel, Icon::None) == Answer::OK;
}

bool DataCommands::tableOnScreen() const
{
    return m_window.session().isOpen();
}

// Discards the open table's unsaved edits: its image is being replaced.
void DataCommands::takeTableOffScreen()
{
    m_window.session().discard();
}

// While a transfer runs the menus and the port choice are out of reach; the
// close box is refused by the window and its layout rule leaves the port
// alone. Esc still reaches the transfer through the window's key preview.
void DataCommands::runningChanged(bool running)
{
    m_window.menuBar()->setEnabled(!running);
    m_window.portPanel()->list()->setEnabled(!running);
    if (!running)
        refreshStatus();
}

void DataCommands::imageAboutToBeReplaced()
{
    // The user agreed to overwrite: keep what is there first.
    keepImageAboutToBeOverwritten(restore::Event::BeforeDownload);
    takeTableOffScreen();
    m_data.filledThisRun = {};
    m_saved.forget();
}

void DataCommands::imageCleared()
{
    setCaption(EmptySource);
}

void DataCommands::downloaded(const ModuleParameters &)
{
    m_data.filledThisRun = {true, true};
    m_saved.markSaved(m_data);
    keepRestorePoint(restore::Event::Downloaded, imageBytes());
    setUpChart3D();
    m_window.applyTableMenuRule();
    setCaption(DownloadedSource);
}

// The 3D chart and the grid's pressure labels follow the sensor of the
// image just read; a template that fails is reported by the editor itself.
void DataCommands::setUpChart3D()
{
    if (m_data.params.TimingTable3D && m_window.tableCommands())
        m_window.tableCommands()->ChartSetup3D();
}

void DataCommands::moduleContentsRead(const link::EEPROMBytes &before)
{
    keepRestorePoint(restore::Event::ModuleBeforeUpload,
                     QByteArray(reinterpret_cast<const char *>(before.data() + ModuleImage::FirstTransferAddress),
                                ModuleImage::TransferLength));
}

void DataCommands::aboutToWrite()
{
    keepRestorePoint(restore::Event::BeforeUpload, imageBytes());
}

void DataCommands::finished(link::TransferCommand command, link::TransferOutcome outcome)
{
    const bool completed = outcome == link::TransferOutcome::Completed;
    if (command == link::TransferCommand::Download && completed) {
        openModuleParameters();
    } else if (command == link::TransferCommand::Download && m_data.image.DataBufferEmpty) {
        // A failed or refused download leaves the image cleared.
        m_data.filledThisRun = {};
        m_saved.forget();
    } else if (command == link::TransferCommand::Upload && completed) {
        m_saved.markSaved(m_data);  // the module now holds exactly this image
    }
}

void DataCommands::openModuleParameters()
{
    refreshStatus();
    mnuEditModParams_Click(m_window);
}

}  // namespace tunara::ui
