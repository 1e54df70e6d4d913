#pragma once

#include "link/module_contents.h"
#include "link/module_transfers.h"

namespace tunara::link {

// The upload once the supported module answers and the image is encoded:
// find out what the module holds, write only what differs (or every byte),
// verify, and write and verify the differences once more before a
// verification failure is reported.
//
// The module's contents come from this session's last download or verified
// upload over the same device to the same identification, else from reading
// it now. Verification reads back every address written and every address
// not read in this upload. The messages are the upload's last ones.
class UploadSequence {
public:
    UploadSequence(ModuleProtocol &protocol, TransferPrompter &prompter, TransferEvents &events,
                   ModuleContents &known, bool writeAll);

    TransferOutcome run();

private:
    bool findModuleContents(EEPROMBytes &before, bool &readNow);
    bool write(const AddressRuns &runs);
    bool verify(const AddressRuns &runs, std::vector<int> &differing);
    // A failed write or verification: the first line, then what to do.
    TransferOutcome failed(const QString &firstLine, const QString &detail = QString());
    TransferOutcome completed(int verified);

    ModuleProtocol &m_protocol;
    TransferPrompter &m_prompter;
    TransferEvents &m_events;
    ModuleContents &m_known;
    bool m_writeAll;
    QString m_device;
    QString m_firmware;
};

}  // namespace tunara::link
