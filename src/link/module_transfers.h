#pragma once

#include "core/runtime_error.h"
#include "module/module_data.h"
#include "link/module_protocol.h"

#include <QString>

namespace tunara::link {

// Icon of a message box.
enum class MessageIcon { None, Critical, Exclamation, Information };

// How the download and upload talk to the user: modal messages and the one
// OK/Cancel question. The window uses message boxes, the command line prints,
// tests record.
class TransferPrompter {
public:
    virtual ~TransferPrompter() = default;
    virtual void showMessage(const QString &text, const QString &title, MessageIcon icon) = 0;
    // OK/Cancel without an icon; true for OK.
    virtual bool askOkCancel(const QString &text, const QString &title) = 0;
};

// The steps only a window has. The defaults do nothing, which is what the
// command line wants; the main window overrides them.
class TransferWindow {
public:
    virtual ~TransferWindow() = default;
    // Is a timing table open (either grid shown)?
    virtual bool tableOpen() { return false; }
    // Hide both charts and both grids and let the window repaint.
    virtual void hideTableViews() {}
    // Caption = MainTitle + suffix (" - Data Buffer Empty", " - Downloaded Data").
    virtual void setCaptionSuffix(const QString &suffix) { Q_UNUSED(suffix); }
    // After a download is decoded: ChartSetup3D when the 3D table is active,
    // then the table menus (mnuNewTable on, the other three on when a table
    // is selected).
    virtual void downloadDecoded(const ModuleParameters &params) { Q_UNUSED(params); }
    // Opens the module parameters dialog at the end of a download.
    virtual void openModuleParameters() {}
    // The upload has encoded the parameters and the supported module
    // answers: the image is exactly what is about to be written.
    virtual void aboutToWrite() {}
};

// Message texts and titles of the two commands.
namespace TransferText {
inline const QString DownloadTitle = QStringLiteral("Download From EEPROM");
inline const QString UploadTitle = QStringLiteral("Upload To EEPROM");
inline const QString IdentifyTitle = QStringLiteral("Identify Module");
inline const QString OverwriteQuestion = QStringLiteral("Data buffer not empty. OK to overwrite?");
inline const QString NoLink = QStringLiteral("Cannot establish RS-232 link. Check cable and Torvik-1 power.");
inline const QString DownloadIdFailed = QStringLiteral("Firmware ID read failed - cannot download.");
inline const QString UploadIdFailed = QStringLiteral("Firmware ID read failed - cannot upload.");
inline const QString IdentifyIdFailed = QStringLiteral("Firmware ID read failed.");
inline const QString FirmwareIdPrefix = QStringLiteral("Firmware ID: ");
inline const QString DownloadRefused = QStringLiteral("Not Torvik-1 Zoruro unit. Cannot download and edit data.");
inline const QString UploadRefused = QStringLiteral("Not Torvik-1 Zoruro unit. Cannot upload data.");
inline const QString DownloadFailed = QStringLiteral("Download failed.");
inline const QString Downloaded = QStringLiteral("Downloaded data to buffer. Ready for editing.");
inline const QString TableOpen = QStringLiteral("You must close or save any open table before uploading.");
inline const QString NoData = QStringLiteral("No data available for uploading.");
inline const QString ProgrammingFailed = QStringLiteral("Upload aborted - EEPROM programming failed.");
inline const QString VerificationFailed = QStringLiteral("Upload aborted - EEPROM verification failed.");
inline const QString UploadCompleted = QStringLiteral("Upload completed. Remember to cycle power off for 5 seconds\r\n"
                                                      "and then on again before starting engine.");
inline const QString EmptyCaption = QStringLiteral(" - Data Buffer Empty");
inline const QString DownloadedCaption = QStringLiteral(" - Downloaded Data");
}  // namespace TransferText

// How a command ended.
enum class TransferOutcome {
    Completed,  // done and good
    Cancelled,  // the user said Cancel before anything happened
    Refused,    // nothing done: not the supported model, a table open, no data
    Failed,     // the link, the identification or the transfer failed
    Busy,       // another transfer is running; nothing done
};

// The download and upload commands, for the menu and the command line alike.
class ModuleTransfers {
public:
    ModuleTransfers(ModuleProtocol &protocol, ModuleData &data, TransferPrompter &prompter, ErrorResponder &errors,
                    TransferWindow *window = nullptr);

    // Up to five resynchronisations, stopping at the first success.
    bool LinkCheck();

    // "&Download From EEPROM".
    TransferOutcome Download();
    // "&Upload To EEPROM".
    TransferOutcome Upload();
    // Link check, identification and model judgement only (Completed for the
    // supported model, Refused for another one). Leaves the port closed.
    TransferOutcome Identify();

    // True while a command runs; a command started meanwhile (from a menu
    // while the transfer pumps events) returns Busy at once.
    bool isRunning() const { return m_running; }

    bool supportedModule() const { return m_protocol.ModuleType == SupportedModel; }

private:
    TransferOutcome download();
    TransferOutcome upload();
    TransferOutcome identify();
    bool checkLinkAndIdentify(const QString &title, const QString &idFailedText);

    ModuleProtocol &m_protocol;
    ModuleData &m_data;
    TransferPrompter &m_prompter;
    ErrorResponder &m_errors;
    TransferWindow m_noWindow;
    TransferWindow &m_window;
    bool m_running = false;
};

}  // namespace tunara::link
