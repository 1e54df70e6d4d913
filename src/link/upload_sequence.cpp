#include "link/upload_sequence.h"

namespace tunara::link {

namespace T = TransferText;
using Pass = ModuleProtocol::Pass;

namespace {
// Writes and read-backs before a remaining difference is a failure.
constexpr int WritePasses = 2;
const QString CRLF = QStringLiteral("\r\n");
}  // namespace

UploadSequence::UploadSequence(ModuleProtocol &protocol, TransferPrompter &prompter, TransferEvents &events,
                               bool writeAll)
    : m_protocol(protocol),
      m_prompter(prompter),
      m_events(events),
      m_writeAll(writeAll)
{
}

TransferOutcome UploadSequence::run()
{
    EEPROMBytes before{};
    if (const Pass read = m_protocol.ReadEEPROMData(before, ModuleProtocol::ReadPace::Verify); read != Pass::Complete)
        return endedBeforeWriting(read);
    if (const std::optional<TransferOutcome> ended = confirmFirstRead(before))
        return *ended;
    m_events.moduleContentsRead(before);
    AddressRuns toWrite = addressesToWrite(before);
    if (!m_events.aboutToWrite()) {
        m_protocol.closePort();
        return TransferOutcome::Cancelled;
    }
    m_protocol.resetBytesWritten();
    for (int pass = 0; pass < WritePasses; ++pass) {
        if (!toWrite.empty() && !m_protocol.WriteEEPROMData(toWrite))
            return endedAfterWriting(T::ProgrammingFailed, TransferOutcome::Failed);
        std::vector<int> differing;
        const Pass readBack = m_protocol.VerifyEEPROM(differing);
        if (readBack == Pass::Stopped)
            return endedAfterWriting(T::VerificationFailed + CRLF + T::VerificationStopped, TransferOutcome::Stopped);
        if (readBack == Pass::Failed)
            return endedAfterWriting(T::VerificationFailed, TransferOutcome::Failed);
        if (differing.empty())
            return completed();
        toWrite = runsOf(differing);
    }
    return endedAfterWriting(T::VerificationFailed, TransferOutcome::Failed);
}

AddressRuns UploadSequence::addressesToWrite(const EEPROMBytes &held) const
{
    return m_writeAll ? allTransferAddresses() : runsOf(differingAddresses(held, m_protocol.image().EEPROMBuffer));
}

std::optional<TransferOutcome> UploadSequence::confirmFirstRead(EEPROMBytes &before)
{
    const AddressRuns toWrite = addressesToWrite(before);
    if (toWrite.empty())
        return std::nullopt;
    EEPROMBytes again = before;
    if (const Pass read = m_protocol.ReadEEPROMAt(toWrite, again); read != Pass::Complete)
        return endedBeforeWriting(read);
    const std::vector<int> unequal = differingAddresses(before, again);
    if (unequal.empty())
        return std::nullopt;
    EEPROMBytes third = again;
    if (const Pass read = m_protocol.ReadEEPROMAt(runsOf(unequal), third); read != Pass::Complete)
        return endedBeforeWriting(read);
    for (const int a : unequal) {
        const std::size_t at = std::size_t(a);
        if (third[at] != before[at] && third[at] != again[at]) {
            m_prompter.showMessage(T::FirstReadUnsettled.arg(a), T::UploadTitle, MessageIcon::Exclamation);
            return TransferOutcome::Failed;
        }
        before[at] = third[at];
    }
    return std::nullopt;
}

TransferOutcome UploadSequence::endedBeforeWriting(Pass pass)
{
    if (pass == Pass::Stopped) {
        m_prompter.showMessage(T::StoppedBeforeWriting, T::UploadTitle, MessageIcon::Information);
        return TransferOutcome::Stopped;
    }
    m_prompter.showMessage(T::ReadBeforeUploadFailed, T::UploadTitle, MessageIcon::Exclamation);
    return TransferOutcome::Failed;
}

TransferOutcome UploadSequence::endedAfterWriting(const QString &firstLine, TransferOutcome outcome)
{
    QString text = firstLine + CRLF + T::PartlyWritten;
    if (const QString hint = m_events.olderImageHint(); !hint.isEmpty())
        text += CRLF + hint;
    // The module's own wording of both failures comes with the information icon.
    m_prompter.showMessage(text, T::UploadTitle, MessageIcon::Information);
    return outcome;
}

TransferOutcome UploadSequence::completed()
{
    // Addresses, not write commands: a byte written again after a retry is
    // still one byte of the image.
    const int written = m_protocol.bytesWritten();
    const int again = m_protocol.bytesWrittenAgain();
    QString summary =
        QStringLiteral("%1 %2 written").arg(written).arg(written == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"));
    if (again > 0)
        summary += QStringLiteral(" (%1 written again after a retry)").arg(again);
    summary += QStringLiteral(", all %1 read back and equal").arg(ModuleImage::TransferLength);
    m_prompter.showMessage(T::UploadCompleted + CRLF + summary, T::UploadTitle, MessageIcon::Exclamation);
    return TransferOutcome::Completed;
}

}  // namespace tunara::link
