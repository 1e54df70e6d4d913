#pragma once

#include "core/runtime_error.h"
#include "module/module_document.h"
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
// The line after "Download failed." when Esc stopped the reading.
inline const QString DownloadStopped = QStringLiteral("Stopped by Esc: the data buffer keeps what it held.");
inline const QString BufferKept = QStringLiteral("The data buffer keeps what it held.");
inline const QString Downloaded = QStringLiteral("Downloaded data to buffer. Ready for editing.");
inline const QString NoData = QStringLiteral("No data available for uploading.");
inline const QString ProgrammingFailed = QStringLiteral("Upload aborted - EEPROM programming failed.");
inline const QString VerificationFailed = QStringLiteral("Upload aborted - EEPROM verification failed.");
inline const QString ReadBeforeUploadFailed =
    QStringLiteral("Upload aborted - the module could not be read, so nothing was written.");
// %1: the address whose three reads gave three values.
inline const QString FirstReadUnsettled =
    QStringLiteral("Upload aborted - the module did not read the same twice at address %1, so nothing was written.");
inline const QString ParametersNotEncoded = QStringLiteral(
    "Upload aborted - the module parameters could not be put into the data buffer, so nothing was written.");
inline const QString StoppedBeforeWriting = QStringLiteral("Upload stopped before anything was written.");
// The line after the verification failure when Esc stopped the read-back.
inline const QString VerificationStopped =
    QStringLiteral("Stopped by Esc during the read-back: not every byte was read back.");
inline const QString PartlyWritten = QStringLiteral("The module may hold a partly written configuration: "
                                                    "upload again before starting the engine.");
inline const QString UploadCompleted = QStringLiteral("Upload completed. Remember to cycle power off for 5 seconds\r\n"
                                                      "and then on again before starting engine.");
}  // namespace TransferText

// How a command ended.
enum class TransferOutcome {
    Completed,  // done and good
    Cancelled,  // the user said Cancel before anything happened
    Refused,    // nothing done: not the supported model, no data
    Failed,     // the link, the identification or the transfer failed
    Stopped,    // the user pressed Esc while it was safe to stop
    Busy,       // another transfer is running; nothing done
};

enum class TransferCommand { Download, Upload, Identify };

// What happens to the link and the image during a command, as it happens.
// The defaults do nothing, which is what the command line wants; the window
// keeps its restore points, caption and table views in step. A command
// turned away as Busy reports nothing.
class TransferEvents {
public:
    virtual ~TransferEvents() = default;
    // A command starts (isRunning() already true) or has ended (false).
    virtual void runningChanged(bool /*running*/) {}
    // Every byte of the module has arrived: the image still holds what the
    // download is about to replace. False (the restore point protecting it
    // could not be kept and the user will not go on without it) ends the
    // command as Cancelled with the image as it was.
    virtual bool imageAboutToBeReplaced() { return true; }
    // The module's image has replaced the old one and is decoded into the
    // parameters.
    virtual void downloaded(const ModuleParameters & /*params*/) {}
    // The upload has read what the module holds, every byte of it, before
    // writing anything; each byte about to be written as two reads agreed.
    virtual void moduleContentsRead(const EEPROMBytes & /*before*/) {}
    // Where the user finds what the module held before a failed upload, as
    // a line for the failure message ("" when it was not kept).
    virtual QString olderImageHint() const { return {}; }
    // The upload has encoded the parameters and the supported module
    // answers: the image is exactly what is about to be written.
    // False, as for imageAboutToBeReplaced(), ends the command before a
    // byte is written.
    virtual bool aboutToWrite() { return true; }
    // A command's end, after its last message; it still counts as running.
    virtual void finished(TransferCommand /*command*/, TransferOutcome /*outcome*/) {}
};

// The download and upload commands, for the menu and the command line alike.
//
// The module is never trusted unread: the download reads every byte into a
// buffer of its own, and the image, the parameters and the open table change
// only when all of them arrived. The upload always reads the module first,
// reads the bytes about to be written a second time, writes what differs (or
// every byte), reads all 264 bytes back and writes what still differs once
// more before it judges.
class ModuleTransfers {
public:
    ModuleTransfers(ModuleProtocol &protocol, ModuleDocument &document, TransferPrompter &prompter, ErrorResponder &errors,
                    TransferEvents *events = nullptr);

    // Up to five resynchronisations, stopping at the first success.
    bool linkCheck();

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

    bool supportedModule() const { return m_protocol.state().supportedModule(); }

    // Upload every byte, not only those that differ from the module's.
    void setWriteAll(bool on) { m_writeAll = on; }
    bool writeAll() const { return m_writeAll; }

private:
    class Running;
    TransferOutcome run(TransferCommand command, TransferOutcome (ModuleTransfers::*body)());
    TransferOutcome download();
    TransferOutcome upload();
    TransferOutcome identify();
    bool checkLinkAndIdentify(const QString &title, const QString &idFailedText);
    TransferOutcome downloadEnded(ModuleProtocol::Pass pass);
    void replaceImage(const EEPROMBytes &bytes);

    ModuleProtocol &m_protocol;
    ModuleDocument &m_document;
    TransferPrompter &m_prompter;
    ErrorResponder &m_errors;
    TransferEvents m_noEvents;
    TransferEvents &m_events;
    bool m_running = false;
    bool m_writeAll = false;
};

}  // namespace tunara::link
