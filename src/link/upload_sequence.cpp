#include "link/upload_sequence.h"

namespace tunara::link {

namespace T = TransferText;

UploadSequence::UploadSequence(ModuleProtocol &protocol, TransferPrompter &prompter, TransferEvents &events,
                               ModuleContents &known, bool writeAll)
    : m_protocol(protocol), m_prompter(prompter), m_events(events), m_known(known), m_writeAll(writeAll),
      m_device(protocol.port().deviceName()), m_firmware(protocol.FirmwareID)
{
}

TransferOutcome UploadSequence::run()
{
    EEPROMBytes before{};
    bool readNow = false;
    if (!findModuleContents(before, readNow)) {
        // Nothing was written: the module holds what it held.
        m_prompter.showMessage(T::ProgrammingFailed, T::UploadTitle, MessageIcon::Exclamation);
        return TransferOutcome::Failed;
    }
    const EEPROMBytes &image = m_protocol.image().EEPROMBuffer;
    const AddressRuns toWrite = m_writeAll ? allTransferAddresses() : runsOf(differingAddresses(before, image));
    m_events.aboutToWrite();
    if (!m_events.mayGoOn()) {
        m_protocol.closePort();
        return TransferOutcome::Cancelled;
    }
    // Until the verification passes, nobody knows what the module holds.
    m_known.forget();
    m_protocol.resetBytesWritten();
    if (!write(toWrite))
        return failed(T::ProgrammingFailed);
    // What was read in this upload and not written since is known already.
    const AddressRuns toVerify = readNow ? toWrite : allTransferAddresses();
    std::vector<int> differing;
    if (!verify(toVerify, differing))
        return failed(T::VerificationFailed, T::VerificationStopped);
    if (!differing.empty()) {
        const AddressRuns again = runsOf(differing);
        differing.clear();
        if (!write(again))
            return failed(T::ProgrammingFailed);
        if (!verify(again, differing))
            return failed(T::VerificationFailed, T::VerificationStopped);
        if (!differing.empty())
            return failed(T::VerificationFailed);
    }
    m_known.remember(m_device, m_firmware, image);
    return completed(readNow ? ModuleImage::TransferLength : addressCount(toVerify));
}

bool UploadSequence::findModuleContents(EEPROMBytes &before, bool &readNow)
{
    if (const EEPROMBytes *known = m_known.lookup(m_device, m_firmware)) {
        before = *known;
        return true;
    }
    readNow = true;
    if (!m_protocol.ReadEEPROMBlock(before))
        return false;
    m_events.moduleContentsRead(before);
    return true;
}

bool UploadSequence::write(const AddressRuns &runs)
{
    return runs.empty() || m_protocol.WriteEEPROMRuns(runs);
}

bool UploadSequence::verify(const AddressRuns &runs, std::vector<int> &differing)
{
    return runs.empty() || m_protocol.VerifyEEPROMRuns(runs, differing);
}

TransferOutcome UploadSequence::failed(const QString &firstLine, const QString &detail)
{
    QString text = firstLine;
    if (!detail.isEmpty())
        text += QStringLiteral("\r\n") + detail;
    text += QStringLiteral("\r\n") + T::PartlyWritten;
    m_prompter.showMessage(text, T::UploadTitle, MessageIcon::Exclamation);
    return TransferOutcome::Failed;
}

TransferOutcome UploadSequence::completed(int verified)
{
    const int written = m_protocol.bytesWritten();
    const QString summary = QStringLiteral("%1 %2 written, %3 verified")
                                .arg(written)
                                .arg(written == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"))
                                .arg(verified);
    m_prompter.showMessage(T::UploadCompleted + QStringLiteral("\r\n") + summary, T::UploadTitle,
                           MessageIcon::Exclamation);
    return TransferOutcome::Completed;
}

}  // namespace tunara::link
