// Download and upload from the window, and what keeps a running transfer
// from being disturbed.
#include "app/data_commands.h"
#include "app/table_commands.h"

#include "app/main_window.h"
#include "app/menu_commands.h"
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

}  // namespace

// While a transfer runs the menus and the port choice are out of reach; the
// close box is refused by the window and its layout rule leaves the port
// alone. Esc still reaches the transfer through the window's key preview.
class DataCommands::TransferGuard {
public:
    explicit TransferGuard(DataCommands &owner) : m_owner(owner)
    {
        m_owner.m_transferRunning = true;
        m_owner.m_window.menuBar()->setEnabled(false);
        m_owner.m_window.portPanel()->list()->setEnabled(false);
    }
    ~TransferGuard()
    {
        m_owner.m_transferRunning = false;
        m_owner.m_window.menuBar()->setEnabled(true);
        m_owner.m_window.portPanel()->list()->setEnabled(true);
        m_owner.refreshStatus();
    }
    TransferGuard(const TransferGuard &) = delete;
    TransferGuard &operator=(const TransferGuard &) = delete;

private:
    DataCommands &m_owner;
};

void DataCommands::mnuDownload_Click()
{
    if (m_transferRunning)
        return;
    TransferGuard guard(*this);
    if (m_transfers.Download() != link::TransferOutcome::Completed && m_data.image.DataBufferEmpty) {
        // A failed or refused download leaves the image cleared.
        m_data.filledThisRun = {};
        m_saved.forget();
    }
}

void DataCommands::mnuUpload_Click()
{
    if (m_transferRunning)
        return;
    // Asked before any serial traffic; the Part's own refusals come first.
    if (!tableOpen() && !m_data.image.DataBufferEmpty && !confirmUnfilledTable())
        return;
    TransferGuard guard(*this);
    if (m_transfers.Upload() == link::TransferOutcome::Completed)
        m_saved.markSaved(m_data);  // the module now holds exactly this image
}

bool DataCommands::confirmUnfilledTable()
{
    const ModuleParameters &p = m_data.params;
    if (!p.TimingTable2D && !p.TimingTable3D)
        return true;
    const bool threeD = p.TimingTable3D;
    if (threeD ? m_data.filledThisRun.table3D : m_data.filledThisRun.table2D)
        return true;
    const int first = threeD ? 112 : 16;
    const int count = threeD ? 168 : 21;
    const auto *begin = m_data.image.EEPROMBuffer.cbegin() + first;
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

bool DataCommands::tableOpen()
{
    return m_window.isTableOpen();
}

void DataCommands::hideTableViews()
{
    // The user agreed to overwrite: keep what is there first.
    keepImageAboutToBeOverwritten(restore::Event::BeforeDownload);
    m_window.hideAllTableViews();
    m_data.filledThisRun = {};
    m_saved.forget();
}

void DataCommands::setCaptionSuffix(const QString &suffix)
{
    m_window.setWindowTitle(m_window.MainTitle + suffix);
    const QString separator = QStringLiteral(" - ");
    m_dataOrigin = suffix.startsWith(separator) ? suffix.mid(separator.size()) : suffix;
    refreshStatus();
}

void DataCommands::downloadDecoded(const ModuleParameters &)
{
    m_data.filledThisRun = {true, true};
    m_saved.markSaved(m_data);
    keepRestorePoint(restore::Event::Downloaded, imageBytes());
    setUpChart3D();
    m_window.applyTableMenuRule();
}

// The 3D chart and the grid's pressure labels follow the sensor of the
// image just read; a template that fails is reported by the editor itself.
void DataCommands::setUpChart3D()
{
    if (m_data.params.TimingTable3D && m_window.tableCommands())
        m_window.tableCommands()->ChartSetup3D();
}

void DataCommands::openModuleParameters()
{
    refreshStatus();
    if (m_window.commands().isBuilt(QStringLiteral("mnuEditModParams")))
        m_window.commands().run(QStringLiteral("mnuEditModParams"));
}

void DataCommands::aboutToWrite()
{
    keepRestorePoint(restore::Event::BeforeUpload, imageBytes());
}

}  // namespace tunara::ui
