#pragma once

#include "cli/cli_command.h"
#include "compare/module_change.h"
#include "link/module_transfers.h"

namespace tunara::cli {

// Reads upload --expect FILE: ExitOk with the file's image in bytes, or
// ExitUsage with the reason printed (a missing, short or foreign file).
int loadExpected(const QString &path, CliStreams &io, compare::ImageBytes &bytes);

// Passes every event of an upload on to `inner`; with an expected image it
// stops the upload before the first byte is written when the module's first
// read differs from it, printing what differs. The module's contents still
// reach `inner` (and its restore point) either way.
class ExpectedModuleEvents : public link::TransferEvents {
public:
    ExpectedModuleEvents(CliStreams &io, link::TransferEvents &inner, const compare::ImageBytes *expected)
        : m_io(io),
          m_inner(inner),
          m_expected(expected)
    {
    }
    void runningChanged(bool running) override { m_inner.runningChanged(running); }
    bool imageAboutToBeReplaced() override { return m_inner.imageAboutToBeReplaced(); }
    void downloaded(const ModuleParameters &params) override { m_inner.downloaded(params); }
    void moduleContentsRead(const link::EEPROMBytes &before) override;
    QString olderImageHint() const override { return m_inner.olderImageHint(); }
    bool aboutToWrite() override;
    void finished(link::TransferCommand command, link::TransferOutcome outcome) override
    {
        m_inner.finished(command, outcome);
    }

private:
    CliStreams &m_io;
    link::TransferEvents &m_inner;
    const compare::ImageBytes *m_expected;
    compare::ModuleChange m_change;
};

}  // namespace tunara::cli
