#pragma once

#include "link/module_transfers.h"

#include <optional>

namespace tunara::link {

// The upload once the supported module answers and the image is encoded:
// read what the module holds, write only what differs (or every byte), read
// all 264 bytes back and compare them with the image, write what still
// differs once more and read everything back again before judging. A byte
// the first read got wrong, or one that changed behind the program's back,
// is caught by the read-back. Before anything is written, the addresses
// about to be written are read once more, so that what the module held
// there (its restore point) is a value two reads agree on. The messages are
// the upload's last ones.
class UploadSequence {
public:
    UploadSequence(ModuleProtocol &protocol, TransferPrompter &prompter, TransferEvents &events, bool writeAll);

    TransferOutcome run();

private:
    AddressRuns addressesToWrite(const EEPROMBytes &held) const;
    // Reads the addresses about to be written again and settles each that
    // changed by a third read; "before" then holds the agreed values. An
    // outcome when the upload ends here, with nothing written.
    std::optional<TransferOutcome> confirmFirstRead(EEPROMBytes &before);
    // Nothing was written: the module holds what it held.
    TransferOutcome endedBeforeWriting(ModuleProtocol::Pass pass);
    // A failed write or a read-back that failed or was stopped.
    TransferOutcome endedAfterWriting(const QString &firstLine, TransferOutcome outcome);
    TransferOutcome completed();

    ModuleProtocol &m_protocol;
    TransferPrompter &m_prompter;
    TransferEvents &m_events;
    bool m_writeAll;
};

}  // namespace tunara::link
