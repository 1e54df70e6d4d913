// The data commands' place in the window: their menu items, the status bar,
// restore points and the exit's unsaved-work question.
#include "app/data_commands.h"
#include "editor/table_session.h"

#include "app/elided_label.h"
#include "app/main_window.h"
#include "app/port_setup_panel.h"
#include "dialogs/restore_point_dialog.h"
#include "files/stored_settings.h"
#include "link/serial_port.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace tunara::ui {

namespace {

QString tableWord(editor::TableKind kind)
{
    switch (kind) {
    case editor::TableKind::Curve2D: return QStringLiteral("2D");
    case editor::TableKind::Map3D: return QStringLiteral("3D");
    case editor::TableKind::None: break;
    }
    return QStringLiteral("disabled");
}

const QString SettingsSection = QStringLiteral("Properties");
const QString WriteEveryByteKey = QStringLiteral("WriteEveryByte");

}  // namespace

void frmTunara_Main::setUpDataCommands()
{
    m_dataCommands = new DataCommands(*this);
}

bool frmTunara_Main::transferRunning() const
{
    return m_dataCommands && m_dataCommands->transfers().isRunning();
}

DataCommands::DataCommands(frmTunara_Main &window)
    : QObject(&window),
      m_window(window),
      m_data(window.context().data),
      m_transfers(window.protocol(), window.context().data, *this, window.errorDialog(), this),
      m_restorePoints(window.context().restorePointFolder)
{
    const MainActions &a = window.actions();
    connect(a.download, &QAction::triggered, this, &DataCommands::mnuDownload_Click);
    connect(a.upload, &QAction::triggered, this, &DataCommands::mnuUpload_Click);
    connect(a.openFile, &QAction::triggered, this, &DataCommands::mnuOpenFile_Click);
    connect(a.saveFile, &QAction::triggered, this, &DataCommands::mnuSaveFile_Click);
    connect(a.openRestorePoint, &QAction::triggered, this, &DataCommands::mnuOpenRestorePoint_Click);
    a.writeEveryByte->setChecked(window.context().settings.GetSetting(SettingsSection, WriteEveryByteKey,
                                                                      QStringLiteral("0")) == QStringLiteral("1"));
    m_transfers.setWriteAll(a.writeEveryByte->isChecked());
    connect(a.writeEveryByte, &QAction::toggled, this, &DataCommands::setWriteEveryByte);
    createStatusBar();
    connect(window.portPanel(), &PortSetupPanel::portPicked, this,
            [this] { QTimer::singleShot(0, this, [this] { refreshStatus(); }); });
    // After the window's load has chosen the port and set the caption.
    QTimer::singleShot(0, this, [this] { refreshStatus(); });
}

void DataCommands::mnuOpenRestorePoint_Click()
{
    if (m_transfers.isRunning())
        return;
    const QList<restore::Entry> entries = m_restorePoints.list();
    if (entries.isEmpty()) {
        m_window.context().ui.messageBox(
            &m_window, QStringLiteral("No restore points have been kept yet in %1.").arg(m_restorePoints.folder()),
            QStringLiteral("Open Restore Point"), Buttons::OK, Icon::Information);
        return;
    }
    RestorePointDialog dialog(entries, &m_window);
    if (m_window.context().ui.showModal(dialog) != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    openDataFile(dialog.chosenPath());
}

QByteArray DataCommands::imageBytes() const
{
    return QByteArray(reinterpret_cast<const char *>(m_data.image.EEPROMBuffer.data() + ModuleImage::FirstTransferAddress),
                      ModuleImage::TransferLength);
}

void DataCommands::setWriteEveryByte(bool on)
{
    m_transfers.setWriteAll(on);
    m_window.context().settings.SaveSetting(SettingsSection, WriteEveryByteKey,
                                            on ? QStringLiteral("1") : QStringLiteral("0"));
}

void DataCommands::keepRestorePoint(restore::Event event, const QByteArray &bytes)
{
    try {
        m_restorePoints.keep(bytes, event, m_window.protocol().FirmwareID);
    } catch (const RuntimeError &e) {
        // The command goes on; the user learns that this image has no copy.
        m_window.context().ui.messageBox(&m_window,
                                         QStringLiteral("The image could not be kept as a restore point: %1")
                                             .arg(e.description()),
                                         QStringLiteral("Restore Point"), Buttons::OK, Icon::Exclamation);
    }
}

void DataCommands::keepImageAboutToBeOverwritten(restore::Event event)
{
    if (m_data.image.DataBufferEmpty)
        return;
    // As a save would write it, so parameter edits not yet in the image are
    // kept too; as it stands when the parameters cannot be encoded.
    QByteArray bytes;
    try {
        bytes = bytesAsSaved(m_data);
    } catch (const RuntimeError &) {
        bytes = imageBytes();
    }
    keepRestorePoint(event, bytes);
}

bool DataCommands::confirmExitWithUnsavedWork()
{
    if (!hasUnsavedWork())
        return true;
    return m_window.context().ui.messageBox(
               &m_window,
               QStringLiteral("The data buffer holds changes that were neither saved to a file nor uploaded to the "
                              "module.\r\n\r\nExit anyway?"),
               QStringLiteral("Exit Program"), Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
}

void DataCommands::createStatusBar()
{
    QStatusBar *bar = m_window.statusBar();
    bar->setObjectName(QStringLiteral("staStatus"));
    bar->setSizeGripEnabled(true);
    const auto add = [bar](const char *name, int stretch) {
        auto *label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(40);
        bar->addWidget(label, stretch);
        return label;
    };
    // The short items take what they need, the port's description the rest.
    m_statusPort = new ElidedLabel(bar);
    m_statusPort->setObjectName(QStringLiteral("lblStatusPort"));
    m_statusPort->setMinimumWidth(40);
    bar->addWidget(m_statusPort, 1);
    m_statusFirmware = add("lblStatusFirmware", 0);
    m_statusSource = add("lblStatusSource", 0);
    m_statusTable = add("lblStatusTable", 0);
    // The bar takes its height from the client area: the smallest window
    // still has to show the port panel and the progress frame whole.
    m_window.setMinimumHeight(m_window.minimumHeight() + bar->sizeHint().height());
    // Any command may change what the bar shows (the parameters dialog the
    // table mode, the port set-up the port): look again after each.
    const MainActions &a = m_window.actions();
    for (QMenu *menu : {a.file, a.edit, a.communications, a.help})
        connect(menu, &QMenu::triggered, this, [this] { QTimer::singleShot(0, this, [this] { refreshStatus(); }); });
    refreshStatus();
}

void DataCommands::refreshStatus()
{
    const MainWindowContext &ctx = m_window.context();
    const int number = ctx.port.portNumber();
    // The description names the number and its device ("Com3 is /dev/ttyUSB0 ...").
    const QString port = number < 1          ? QStringLiteral("No port chosen")
                         : ctx.describePort ? ctx.describePort(number)
                                            : QStringLiteral("Com%1").arg(number);
    m_statusPort->setFullText(port);
    const QString firmware = m_window.protocol().FirmwareID;
    m_statusFirmware->setText(QStringLiteral("Firmware: %1").arg(firmware.isEmpty() ? QStringLiteral("not read")
                                                                                     : firmware));
    const QString empty = QStringLiteral("Data Buffer Empty");
    QString source = empty;
    // An image filled while the caption still said empty was made here (the
    // parameters dialog on an empty buffer).
    if (!m_data.image.DataBufferEmpty)
        source = m_dataOrigin.isEmpty() || m_dataOrigin == empty ? QStringLiteral("edited in the program")
                                                                 : m_dataOrigin;
    m_statusSource->setText(QStringLiteral("Data: %1").arg(source));
    const ModuleParameters &p = m_data.params;
    m_statusTable->setText(QStringLiteral("Table: %1").arg(tableWord(editor::activeTable(p))));
}

}  // namespace tunara::ui
