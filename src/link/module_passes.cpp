// The block procedures: whole passes over the EEPROM, each from a fresh
// address set, started again from the beginning when the user answers Retry.
#include "link/module_protocol.h"

#include "core/numbers.h"

#include <algorithm>

namespace tunara::link {

// Progress through one pass: a pass over every transfer address shows the
// address's place as ever, a shorter one the share of its bytes done.
class ModuleProtocol::Progress {
public:
    explicit Progress(const AddressRuns &runs) : m_total(addressCount(runs)) {}
    int advance(int address)
    {
        ++m_done;
        m_percent = m_total == ModuleImage::TransferLength ? progressPercent(address)
                                                           : int(numbers::roundHalfEven(m_done * 100.0 / m_total));
        return m_percent;
    }
    int percent() const { return m_percent; }

private:
    int m_total;
    int m_done = 0;
    int m_percent = 0;
};

QString ModuleProtocol::programmingCannotStopCaption()
{
    return QStringLiteral("Programming EEPROM - Esc not possible while programming");
}

bool ModuleProtocol::stopRequested()
{
    return m_state.takeAbort();
}

ModuleProtocol::Pass ModuleProtocol::ReadEEPROMData(EEPROMBytes &into, ReadPace pace)
{
    return onLink([&] {
        showProgress(QStringLiteral("Reading EEPROM"));
        const AddressRuns all = allTransferAddresses();
        const Pass result = retrying([&] { return readPass(into, pace, "ReadEEPROMData", all); });
        hideProgress();
        return result;
    });
}

ModuleProtocol::Pass ModuleProtocol::ReadEEPROMAt(const AddressRuns &runs, EEPROMBytes &into)
{
    return onLink([&] {
        showProgress(QStringLiteral("Reading EEPROM"));
        const Pass result = retrying([&] { return readPass(into, ReadPace::Verify, "ReadEEPROMData", runs); });
        hideProgress();
        return result;
    });
}

ModuleProtocol::Pass ModuleProtocol::VerifyEEPROM(std::vector<int> &differing)
{
    EEPROMBytes readBack{};
    const Pass result = onLink([&] {
        showProgress(QStringLiteral("Verifying EEPROM"));
        const AddressRuns all = allTransferAddresses();
        const Pass pass = retrying([&] { return readPass(readBack, ReadPace::Verify, "VerifyEEPROM", all); });
        hideProgress();
        return pass;
    });
    differing.clear();
    if (result == Pass::Complete)
        differing = differingAddresses(readBack, m_image.EEPROMBuffer);
    // Stopping early proves nothing: it counts as a difference.
    VerifyErrorCount = int(differing.size()) + (result == Pass::Complete ? 0 : 1);
    return result;
}

// One pass over the runs, each from a fresh address set; the bytes land in
// `into` only when every one arrived, so a pass that fails part-way leaves
// nothing half done.
ModuleProtocol::Pass ModuleProtocol::readPass(EEPROMBytes &into, ReadPace pace, const char *procedure,
                                              const AddressRuns &runs)
{
    EEPROMBytes bytes = into;
    Progress progress(runs);
    for (const AddressRun &run : runs)
        if (const Pass pass = readRun(run, bytes, pace, procedure, progress); pass != Pass::Complete)
            return pass;
    into = bytes;
    m_state.m_commOK = true;
    closePort();
    return Pass::Complete;
}

ModuleProtocol::Pass ModuleProtocol::readRun(const AddressRun &run, EEPROMBytes &into, ReadPace pace,
                                             const char *procedure, Progress &progress)
{
    setAddress(run.first);
    if (!m_state.m_commOK) {
        closePort();
        return Pass::Failed;
    }
    for (int a = run.first; a <= run.last(); ++a) {
        step(procedure, a);
        into[std::size_t(a)] = readByteAt();
        setProgress(progress.advance(a));
        pumpEvents();
        const bool stopped = stopRequested();
        if (stopped || !m_state.m_commOK) {
            closePort();
            m_state.m_commOK = false;
            return stopped ? Pass::Stopped : Pass::Failed;
        }
        if (pace == ReadPace::Download)
            DelayTimer(5);
    }
    return Pass::Complete;
}

bool ModuleProtocol::WriteEEPROMData(const AddressRuns &runs)
{
    return onLink([&] {
        showProgress(QStringLiteral("Programming EEPROM"));
        // Writing again what a failed pass wrote already does no harm.
        const bool written = retrying([&] { return writePass(runs); });
        hideProgress();
        return written;
    });
}

bool ModuleProtocol::writePass(const AddressRuns &runs)
{
    Progress progress(runs);
    bool written = true;
    for (std::size_t k = 0; written && k < runs.size(); ++k)
        written = writeRun(runs[k], progress);
    closePort();
    m_state.m_commOK = written;
    return written;
}

bool ModuleProtocol::writeRun(const AddressRun &run, Progress &progress)
{
    setAddress(run.first);
    if (!m_state.m_commOK)
        return false;
    m_state.m_commOK = false;
    if (!openPort())
        return false;
    for (int a = run.first; a <= run.last(); ++a) {
        step("WriteEEPROMData", a);
        m_port.discardInput();
        if (!send(Cmd::Write))
            return false;
        // The module needs this pause before the data byte.
        DelayTimer(5);
        if (!sendAndAwait(m_image.EEPROMBuffer[std::size_t(a)], 3))
            return false;
        m_port.readByte();
        m_port.readByte();
        if (m_port.readByte() != Cmd::Ack)
            return false;
        m_writes[std::size_t(a)] = std::uint8_t(std::min(m_writes[std::size_t(a)] + 1, 2));
        DelayTimer(5);
        setProgress(progress.advance(a));
        ignoreEscWhileProgramming(progress);
    }
    return true;
}

int ModuleProtocol::bytesWritten() const
{
    return int(std::count_if(m_writes.begin(), m_writes.end(), [](std::uint8_t n) { return n > 0; }));
}

int ModuleProtocol::bytesWrittenAgain() const
{
    return int(std::count_if(m_writes.begin(), m_writes.end(), [](std::uint8_t n) { return n > 1; }));
}

void ModuleProtocol::ignoreEscWhileProgramming(const Progress &progress)
{
    if (!m_state.m_abortRequested)
        return;
    // Not carried into the verification that follows: it must run.
    m_state.m_abortRequested = false;
    showProgress(programmingCannotStopCaption());
    setProgress(progress.percent());
}

}  // namespace tunara::link
