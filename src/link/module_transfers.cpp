#include "link/module_transfers.h"

#include "module/parameter_codec.h"
#include "link/pacing.h"
#include "link/upload_sequence.h"

#include <algorithm>

namespace tunara::link {

namespace T = TransferText;

// Marks a command as running for its whole length, an escaping error included.
class ModuleTransfers::Running {
public:
    explicit Running(ModuleTransfers &owner) : m_owner(owner)
    {
        m_owner.m_running = true;
        // An Esc from before the command belongs to nothing that runs now.
        m_owner.m_protocol.state().takeAbort();
        m_owner.m_events.runningChanged(true);
    }
    ~Running()
    {
        m_owner.m_running = false;
        m_owner.m_events.runningChanged(false);
    }
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;

private:
    ModuleTransfers &m_owner;
};

ModuleTransfers::ModuleTransfers(ModuleProtocol &protocol, ModuleDocument &document, TransferPrompter &prompter,
                                 ErrorResponder &errors, TransferEvents *events)
    : m_protocol(protocol), m_document(document), m_prompter(prompter), m_errors(errors), m_events(events ? *events : m_noEvents)
{
    Q_ASSERT(&protocol.image() == &document.image());
}

bool ModuleTransfers::linkCheck()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_protocol.ReSync();
        if (m_protocol.state().commOK())
            return true;
        // A port that cannot be opened will not open on the next try; its
        // reason has been shown once.
        if (m_protocol.state().portOpenFailed())
            return false;
        // Esc while an absent module is waited for ends the checking.
        if (m_protocol.state().takeAbort())
            return false;
    }
    return false;
}

TransferOutcome ModuleTransfers::Download()
{
    return run(TransferCommand::Download, &ModuleTransfers::download);
}

TransferOutcome ModuleTransfers::Upload()
{
    return run(TransferCommand::Upload, &ModuleTransfers::upload);
}

TransferOutcome ModuleTransfers::Identify()
{
    return run(TransferCommand::Identify, &ModuleTransfers::identify);
}

TransferOutcome ModuleTransfers::run(TransferCommand command, TransferOutcome (ModuleTransfers::*body)())
{
    if (m_running)
        return TransferOutcome::Busy;
    Running running(*this);
    const TransferOutcome outcome = (this->*body)();
    m_events.finished(command, outcome);
    return outcome;
}

bool ModuleTransfers::checkLinkAndIdentify(const QString &title, const QString &idFailedText)
{
    if (!linkCheck()) {
        // The cable and power advice would mislead when the port itself
        // could not be opened: that error named the device and the reason.
        if (!m_protocol.state().portOpenFailed())
            m_prompter.showMessage(T::NoLink, title, MessageIcon::Exclamation);
        m_protocol.closePort();
        return false;
    }
    m_protocol.ReadFirmwareID();
    if (!m_protocol.state().commOK()) {
        m_prompter.showMessage(idFailedText, title, MessageIcon::Exclamation);
        m_protocol.closePort();
        return false;
    }
    m_prompter.showMessage(T::FirmwareIdPrefix + m_protocol.state().firmwareID(), title, MessageIcon::Exclamation);
    return true;
}

TransferOutcome ModuleTransfers::download()
{
    if (!m_document.isEmpty() && !m_prompter.askOkCancel(T::OverwriteQuestion, T::DownloadTitle))
        return TransferOutcome::Cancelled;
    pumpEvents();
    if (!checkLinkAndIdentify(T::DownloadTitle, T::DownloadIdFailed))
        return TransferOutcome::Failed;
    if (!supportedModule()) {
        m_prompter.showMessage(T::DownloadRefused, T::DownloadTitle, MessageIcon::None);
        return TransferOutcome::Refused;
    }
    EEPROMBytes bytes{};
    const ModuleProtocol::Pass pass = m_protocol.ReadEEPROMData(bytes);
    if (pass != ModuleProtocol::Pass::Complete)
        return downloadEnded(pass);
    if (!m_events.imageAboutToBeReplaced())
        return TransferOutcome::Cancelled;
    replaceImage(bytes);
    m_events.downloaded(m_document.params());
    m_prompter.showMessage(T::Downloaded, T::DownloadTitle, MessageIcon::None);
    return TransferOutcome::Completed;
}

// A download that did not get every byte changes nothing.
TransferOutcome ModuleTransfers::downloadEnded(ModuleProtocol::Pass pass)
{
    // Esc is a failure of the download like any other, told as such first.
    if (pass == ModuleProtocol::Pass::Stopped) {
        m_prompter.showMessage(T::DownloadFailed + QStringLiteral("\r\n") + T::DownloadStopped, T::DownloadTitle,
                               MessageIcon::Exclamation);
        return TransferOutcome::Stopped;
    }
    m_prompter.showMessage(T::DownloadFailed + QStringLiteral("\r\n") + T::BufferKept, T::DownloadTitle,
                           MessageIcon::Exclamation);
    return TransferOutcome::Failed;
}

void ModuleTransfers::replaceImage(const EEPROMBytes &bytes)
{
    // The read fills 16..279 of bytes that start zeroed: the image is those.
    ModuleImage image;
    image.EEPROMBuffer = bytes;
    m_document.replaceImage(image, DataSource::module(m_protocol.CommPortNumber(), m_protocol.port().deviceName(),
                                                      m_protocol.state().firmwareID()));
}

TransferOutcome ModuleTransfers::upload()
{
    if (m_document.isEmpty()) {
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
    ModuleData encoded = m_document.data();
    if (runTrapped(m_errors, [&encoded] { UpdateEEPROM(encoded); }) != StepOutcome::Completed) {
        m_protocol.closePort();
        m_prompter.showMessage(T::ParametersNotEncoded, T::UploadTitle, MessageIcon::Exclamation);
        return TransferOutcome::Failed;
    }
    m_document.edit()->image = encoded.image;
    return UploadSequence(m_protocol, m_prompter, m_events, m_writeAll).run();
}

TransferOutcome ModuleTransfers::identify()
{
    if (!checkLinkAndIdentify(T::IdentifyTitle, T::IdentifyIdFailed))
        return TransferOutcome::Failed;
    m_protocol.closePort();
    return supportedModule() ? TransferOutcome::Completed : TransferOutcome::Refused;
}

}  // namespace tunara::link
