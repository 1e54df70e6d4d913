#include "link/module_protocol.h"

#include "core/numbers.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace tunara::link {

namespace {
const QString CommSource = QStringLiteral("Comm Error");
constexpr int FirstAddress = ModuleImage::FirstTransferAddress;  // 16
constexpr int LastAddress = ModuleImage::LastTransferAddress;    // 279

bool printable(std::uint8_t byte)
{
    return byte >= 32 && byte <= 127;
}
}  // namespace

ModuleProtocol::ModuleProtocol(SerialPort &port, ModuleImage &image, ErrorResponder &errors, ProgressDisplay *progress)
    : m_port(port), m_image(image), m_errors(errors), m_progress(progress),
      m_observer(dynamic_cast<LinkObserver *>(&port))
{
}

QString ModuleProtocol::timeoutMessage()
{
    return QStringLiteral("RS-232 timeout. Check cable and click Abort.");
}

int ModuleProtocol::progressPercent(int address)
{
    const double percent = numbers::roundHalfEven(address * 100.0 / 263.0);
    return int(std::clamp(percent, 0.0, 100.0));
}

QString ModuleProtocol::judgeModuleType(const QString &firmwareID)
{
    if (firmwareID.contains(SupportedModel, Qt::CaseInsensitive))
        return SupportedModel;
    if (firmwareID.contains(QStringLiteral("Torvik-1"), Qt::CaseInsensitive))
        return QStringLiteral("Torvik-1");
    return QStringLiteral("Unknown");
}

void ModuleProtocol::closePort()
{
    if (m_port.isOpen())
        m_port.close();
}

// ---- building blocks -------------------------------------------------------

bool ModuleProtocol::trap(const std::function<void()> &step)
{
    if (runTrapped(m_errors, step) == StepOutcome::Completed)
        return true;
    closePort();
    CommOK = false;
    return false;
}

bool ModuleProtocol::openPort()
{
    CommOK = false;
    PortOpenFailed = false;
    if (!m_port.isOpen() && !trap([this] { m_port.open(); })) {
        PortOpenFailed = true;
        return false;
    }
    m_port.discardInput();
    return true;
}

bool ModuleProtocol::send(std::uint8_t byte)
{
    return trap([this, byte] { m_port.writeByte(byte); });
}

bool ModuleProtocol::sendAndAwait(std::uint8_t byte, int replyBytes)
{
    if (!send(byte))
        return false;
    if (!waitPumping(replyBytes, Deadline())) {
        timeoutReport();
        return false;
    }
    return true;
}

void ModuleProtocol::raise(const QString &description)
{
    closePort();
    // Retry raises it again (the dialog comes back); Ignore and Abort leave.
    trap([&description] { throw RuntimeError(CommErrorNumber, CommSource, description); });
}

void ModuleProtocol::timeoutReport()
{
    // A device that went away is named as such, not as a slow cable.
    const QString lost = m_port.lostReason();
    raise(lost.isEmpty() ? timeoutMessage() : lost);
}

bool ModuleProtocol::waitPumping(int count, const Deadline &deadline)
{
    if (!QCoreApplication::instance())
        return waitBusy(count, deadline);
    // Wakes the event loop at the deadline; serial input wakes it sooner.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    while (m_port.bytesWaiting() < count && !deadline.passed()) {
        // Re-armed if it went off a hair before the deadline, so the loop
        // never sleeps with nothing left to wake it.
        if (!wake.isActive())
            wake.start(std::max(1, deadline.remainingMs()));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return arrived(count);
}

bool ModuleProtocol::waitBusy(int count, const Deadline &deadline)
{
    // Blocks in the port itself; no window events are handled meanwhile.
    while (m_port.bytesWaiting() < count && !deadline.passed())
        m_port.waitForInput(std::max(1, deadline.remainingMs()));
    return arrived(count);
}

bool ModuleProtocol::arrived(int count)
{
    const int waiting = m_port.bytesWaiting();
    if (waiting >= count)
        return true;
    if (m_observer)
        m_observer->replyTimedOut(count, waiting);
    return false;
}

void ModuleProtocol::step(const char *procedure, int address)
{
    if (m_observer)
        m_observer->protocolStep(procedure, address);
}

void ModuleProtocol::DelayTimer(int n)
{
    const auto start = Clock::now();
    const auto actual = pumpingPause(n);
    if (m_observer)
        m_observer->paused(n, start, actual);
    const auto requested = std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(n));
    ++m_stats.pauses;
    m_stats.requested += requested;
    m_stats.actual += actual;
    m_stats.shortestExcess = std::min(m_stats.shortestExcess, actual - requested);
}

void ModuleProtocol::showProgress(const QString &caption)
{
    if (m_progress) {
        m_progress->showProgress(caption);
        m_progress->setProgress(0);
    }
}

void ModuleProtocol::setProgress(int percent)
{
    if (m_progress)
        m_progress->setProgress(percent);
}

void ModuleProtocol::hideProgress()
{
    if (m_progress)
        m_progress->hideProgress();
}

// ---- commands --------------------------------------------------------------

void ModuleProtocol::ReSync()
{
    step("ReSync");
    if (!openPort() || !send(Cmd::ReSync))
        return;
    // The window stays alive (repaint, Esc) while an absent module is waited
    // for; the bytes on the wire are paced as before.
    if (!waitPumping(2, Deadline()))
        return;  // no answer: CommOK stays false, nothing is reported
    m_port.readByte();
    const std::uint8_t second = m_port.readByte();
    DelayTimer(2);
    CommOK = second == Cmd::Ack;
}

void ModuleProtocol::ReadFirmwareID()
{
    step("ReadFirmwareID");
    if (!openPort() || !send(Cmd::ReadID))
        return;
    const Deadline deadline;  // one deadline for the whole reply
    FirmwareID.clear();
    bool terminated = false;
    for (int received = 0; !terminated; ++received) {
        if (!waitPumping(1, deadline))
            break;
        const std::uint8_t byte = m_port.readByte();
        if (received == 0) {
            // Any byte outside text takes the place of the echo.
            if (byte == Cmd::Terminator) {
                raise(QStringLiteral("Firmware ID - unexpected terminator."));
                return;
            }
            if (printable(byte)) {
                raise(QStringLiteral("Firmware ID - no command echo."));
                return;
            }
        } else if (byte == Cmd::Terminator) {
            terminated = true;
        } else if (printable(byte)) {
            FirmwareID += QChar(byte);
        }
        pumpEvents();
    }
    if (!terminated || deadline.passed()) {
        timeoutReport();
        return;
    }
    DelayTimer(5);
    CommOK = !FirmwareID.isEmpty();
    ModuleType = judgeModuleType(FirmwareID);
    closePort();
}

void ModuleProtocol::SetEEPROMAddress(std::int32_t address)
{
    const auto low = std::uint8_t(address & 0xFF);
    const auto high = std::uint8_t((address & 0xFF00) / 256);
    step("SetEEPROMAddress");
    if (!openPort() || !sendAndAwait(Cmd::SetAddress, 1))
        return;
    m_port.discardInput();
    DelayTimer(5);
    if (!sendAndAwait(low, 1))
        return;
    m_port.discardInput();
    DelayTimer(5);
    if (!sendAndAwait(high, 2))
        return;
    m_port.readByte();
    const std::uint8_t second = m_port.readByte();
    CommOK = second == Cmd::Ack;
    m_port.discardInput();
    DelayTimer(5);
    closePort();
}

std::uint8_t ModuleProtocol::ReadEEPROM()
{
    if (!openPort() || !send(Cmd::Read))
        return 0;
    if (!waitBusy(2, Deadline())) {
        timeoutReport();
        return 0;
    }
    m_port.readByte();  // echo
    const std::uint8_t value = m_port.readByte();
    DelayTimer(5);
    CommOK = true;
    return value;
}

void ModuleProtocol::ReadEEPROMData()
{
    showProgress(QStringLiteral("Reading EEPROM"));
    m_image.ClearEEPROMBuffer();
    SetEEPROMAddress(FirstAddress);
    if (!CommOK) {
        hideProgress();
        return;
    }
    CommOK = false;
    for (int a = FirstAddress; a <= LastAddress; ++a) {
        step("ReadEEPROMData", a);
        m_image.EEPROMBuffer[std::size_t(a)] = ReadEEPROM();
        setProgress(progressPercent(a));
        pumpEvents();
        if (AbortRequested || !CommOK) {
            hideProgress();
            AbortRequested = false;
            closePort();
            CommOK = false;
            return;
        }
        DelayTimer(5);
    }
    m_image.DataBufferEmpty = false;
    hideProgress();
    CommOK = true;
    closePort();
}

// Progress through one pass: a pass over every transfer address shows the
// address's place as ever, a shorter one the share of its bytes done.
class ModuleProtocol::Pass {
public:
    explicit Pass(const AddressRuns &runs) : m_total(addressCount(runs)) {}
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

void ModuleProtocol::WriteEEPROMData()
{
    if (!WriteEEPROMRuns(allTransferAddresses()))
        return;
    VerifyEEPROM();
    // The upload judges the verification by VerifyErrorCount.
    CommOK = true;
    closePort();
}

void ModuleProtocol::VerifyEEPROM()
{
    std::vector<int> differing;
    const bool whole = VerifyEEPROMRuns(allTransferAddresses(), differing);
    // Stopping early, or reading back from an unknown address, proves
    // nothing: a failed verification.
    VerifyErrorCount = int(differing.size()) + (whole ? 0 : 1);
}

bool ModuleProtocol::ReadEEPROMBlock(EEPROMBytes &into)
{
    showProgress(QStringLiteral("Reading EEPROM"));
    SetEEPROMAddress(FirstAddress);
    bool whole = CommOK;
    for (int a = FirstAddress; whole && a <= LastAddress; ++a) {
        step("ReadEEPROMBlock", a);
        into[std::size_t(a)] = ReadEEPROM();
        setProgress(progressPercent(a));
        pumpEvents();
        if (AbortRequested || !CommOK) {
            AbortRequested = false;
            whole = false;
        }
    }
    hideProgress();
    closePort();
    CommOK = whole;
    return whole;
}

bool ModuleProtocol::WriteEEPROMRuns(const AddressRuns &runs)
{
    showProgress(QStringLiteral("Programming EEPROM"));
    Pass pass(runs);
    bool written = true;
    for (std::size_t k = 0; written && k < runs.size(); ++k)
        written = writeRun(runs[k], pass);
    hideProgress();
    closePort();
    CommOK = written;
    return written;
}

bool ModuleProtocol::writeRun(const AddressRun &run, Pass &pass)
{
    SetEEPROMAddress(run.first);
    if (!CommOK)
        return false;
    CommOK = false;
    if (!m_port.isOpen() && !trap([this] { m_port.open(); }))
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
        ++m_bytesWritten;
        DelayTimer(5);
        setProgress(pass.advance(a));
        ignoreEscWhileProgramming(pass);
    }
    return true;
}

void ModuleProtocol::ignoreEscWhileProgramming(const Pass &pass)
{
    if (!AbortRequested)
        return;
    // Not carried into the verification that follows: it must run.
    AbortRequested = false;
    showProgress(programmingCannotStopCaption());
    setProgress(pass.percent());
}

bool ModuleProtocol::VerifyEEPROMRuns(const AddressRuns &runs, std::vector<int> &differing)
{
    VerifyStopped = false;
    showProgress(QStringLiteral("Verifying EEPROM"));
    Pass pass(runs);
    bool whole = true;
    for (std::size_t k = 0; whole && k < runs.size(); ++k)
        whole = verifyRun(runs[k], pass, differing);
    VerifyStopped = !whole;
    hideProgress();
    closePort();
    return whole;
}

bool ModuleProtocol::verifyRun(const AddressRun &run, Pass &pass, std::vector<int> &differing)
{
    SetEEPROMAddress(run.first);
    if (!CommOK)
        return false;
    for (int a = run.first; a <= run.last(); ++a) {
        step("VerifyEEPROM", a);
        const std::uint8_t value = ReadEEPROM();
        if (m_image.EEPROMBuffer[std::size_t(a)] != value)
            differing.push_back(a);
        setProgress(pass.advance(a));
        pumpEvents();
        if (AbortRequested || !CommOK) {
            AbortRequested = false;
            return false;
        }
    }
    return true;
}

}  // namespace tunara::link
