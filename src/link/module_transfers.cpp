#include "link/module_transfers.h"

#include "module/parameter_codec.h"
#include "link/pacing.h"

namespace tunara::link {

namespace T = TransferText;

namespace {
class RunningFlag {
public:
    explicit RunningFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~RunningFlag() { m_flag = false; }
    RunningFlag(const RunningFlag &) = delete;
    RunningFlag &operator=(const RunningFlag &) = delete;

private:
    bool &m_flag;
};
}  // namespace

ModuleTransfers::ModuleTransfers(ModuleProtocol &protocol, ModuleData &data, TransferPrompter &prompter,
                                 ErrorResponder &errors, TransferWindow *window)
    : m_protocol(protocol), m_data(data), m_prompter(prompter), m_errors(errors), m_window(window ? *window : m_noWindow)
{
    Q_ASSERT(&protocol.image() == &data.image);
}

bool ModuleTransfers::LinkCheck()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_protocol.ReSync();
        if (m_protocol.CommOK)
            return true;
        // A port that cannot be opened will not open on the next try; its
        // reason has been shown once.
        if (m_protocol.PortOpenFailed)
            return false;
        // Esc while an absent module is waited for ends the checking.
        if (m_protocol.AbortRequested) {
            m_protocol.AbortRequested = false;
            return false;
        }
    }
    return false;
}

TransferOutcome ModuleTransfers::Download()
{
    if (m_running)
        return TransferOutcome::Busy;
    RunningFlag running(m_running);
    return download();
}

TransferOutcome ModuleTransfers::Upload()
{
    if (m_running)
        return TransferOutcome::Busy;
    RunningFlag running(m_running);
    return upload();
}

TransferOutcome ModuleTransfers::Identify()
{
    if (m_running)
        return TransferOutcome::Busy;
    RunningFlag running(m_running);
    return identify();
}

bool ModuleTransfers::checkLinkAndIdentify(const QString &title, const QString &idFailedText)
{
    if (!LinkCheck()) {
        // The cable and power advice would mislead when the port itself
        // could not be opened: that error named the device and the reason.
        if (!m_protocol.PortOpenFailed)
            m_prompter.showMessage(T::NoLink, title, MessageIcon::Exclamation);
        m_protocol.closePort();
        return false;
    }
    m_protocol.ReadFirmwareID();
    if (!m_protocol.CommOK) {
        m_prompter.showMessage(idFailedText, title, MessageIcon::Exclamation);
        m_protocol.closePort();
        return false;
    }
    m_prompter.showMessage(T::FirmwareIdPrefix + m_protocol.FirmwareID, title, MessageIcon::Exclamation);
    return true;
}

TransferOutcome ModuleTransfers::download()
{
    ModuleImage &image = m_data.image;
    if (!image.DataBufferEmpty && !m_prompter.askOkCancel(T::OverwriteQuestion, T::DownloadTitle))
        return TransferOutcome::Cancelled;
    m_window.hideTableViews();
    pumpEvents();
    image.ClearEEPROMBuffer();
    m_window.setCaptionSuffix(T::EmptyCaption);

    if (!checkLinkAndIdentify(T::DownloadTitle, T::DownloadIdFailed))
        return TransferOutcome::Failed;
    if (!supportedModule()) {
        m_prompter.showMessage(T::DownloadRefused, T::DownloadTitle, MessageIcon::None);
        image.ClearEEPROMBuffer();
        return TransferOutcome::Refused;
    }
    m_protocol.ReadEEPROMData();
    if (!m_protocol.CommOK) {
        m_prompter.showMessage(T::DownloadFailed, T::DownloadTitle, MessageIcon::Exclamation);
        image.ClearEEPROMBuffer();
        return TransferOutcome::Failed;
    }
    UpdateParams(m_data);
    m_window.downloadDecoded(m_data.params);
    m_window.setCaptionSuffix(T::DownloadedCaption);
    m_prompter.showMessage(T::Downloaded, T::DownloadTitle, MessageIcon::None);
    m_window.openModuleParameters();
    return TransferOutcome::Completed;
}

TransferOutcome ModuleTransfers::upload()
{
    if (m_window.tableOpen()) {
        m_prompter.showMessage(T::TableOpen, T::UploadTitle, MessageIcon::Exclamation);
        return TransferOutcome::Refused;
    }
    if (m_data.image.DataBufferEmpty) {
        m_prompter.showMessage(T::NoData, T::UploadTitle, MessageIcon::Exclamation);
        return TransferOutcome::Refused;
    }
    if (!checkLinkAndIdentify(T::UploadTitle, T::UploadIdFailed))
        return TransferOutcome::Failed;
    if (!supportedModule()) {
        m_prompter.showMessage(T::UploadRefused, T::UploadTitle, MessageIcon::None);
        return TransferOutcome::Refused;
    }
    // A parameter that does not fit its byte leaves the block half encoded:
    // nothing is written then, whatever the answer to the error.
    if (runTrapped(m_errors, [this] { UpdateEEPROM(m_data); }) != StepOutcome::Completed) {
        m_protocol.closePort();
        m_prompter.showMessage(T::ProgrammingFailed, T::UploadTitle, MessageIcon::Information);
        return TransferOutcome::Failed;
    }
    m_window.aboutToWrite();
    m_protocol.WriteEEPROMData();
    if (!m_protocol.CommOK) {
        m_prompter.showMessage(T::ProgrammingFailed, T::UploadTitle, MessageIcon::Information);
        return TransferOutcome::Failed;
    }
    if (m_protocol.VerifyErrorCount != 0) {
        m_prompter.showMessage(T::VerificationFailed, T::UploadTitle, MessageIcon::Information);
        return TransferOutcome::Failed;
    }
    m_prompter.showMessage(T::UploadCompleted, T::UploadTitle, MessageIcon::Exclamation);
    return TransferOutcome::Completed;
}

TransferOutcome ModuleTransfers::identify()
{
    if (!checkLinkAndIdentify(T::IdentifyTitle, T::IdentifyIdFailed))
        return TransferOutcome::Failed;
    m_protocol.closePort();
    return supportedModule() ? TransferOutcome::Completed : TransferOutcome::Refused;
}

}  // namespace tunara::link
