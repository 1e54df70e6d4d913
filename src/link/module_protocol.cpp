#include "link/module_protocol.h"

#include "core/numbers.h"

#include <algorithm>
#include <utility>

namespace tunara::link {

namespace {
const QString CommSource = QStringLiteral("Comm Error");

bool printable(std::uint8_t byte)
{
    return byte >= 32 && byte <= 127;
}
}  // namespace

ModuleProtocol::ModuleProtocol(SerialPort &port, const ModuleImage &image, ErrorResponder &errors,
                               ProgressDisplay *progress, LinkClock &clock)
    : m_port(port), m_image(image), m_errors(errors, m_thread), m_progress(progress), m_clock(clock),
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

ErrorChoice ModuleProtocol::OwnerErrors::ErrorDialog(const RuntimeError &error)
{
    if (!m_thread || !m_thread->isCurrent())
        return m_errors.ErrorDialog(error);
    ErrorChoice choice = ErrorChoice::Abort;
    m_thread->callOwner([&] { choice = m_errors.ErrorDialog(error); });
    return choice;
}

bool ModuleProtocol::openPort()
{
    m_state.m_commOK = false;
    m_state.m_portOpenFailed = false;
    if (!m_port.isOpen()) {
        try {
            m_port.open();
        } catch (const RuntimeError &error) {
            // As a failed send: a retry runs the operation again, open first.
            m_state.m_portOpenFailed = true;
            report(error);
            return false;
        }
    }
    m_port.discardInput();
    return true;
}

bool ModuleProtocol::send(std::uint8_t byte)
{
    try {
        m_port.writeByte(byte);
        return true;
    } catch (const RuntimeError &error) {
        // Writing once more into a port that failed cannot help; a retry
        // opens it again.
        report(error);
        return false;
    }
}

bool ModuleProtocol::sendAndAwait(std::uint8_t byte, int replyBytes)
{
    if (!send(byte))
        return false;
    if (!waitPumping(replyBytes, replyDeadline())) {
        timeoutReport();
        return false;
    }
    return true;
}

void ModuleProtocol::raise(const QString &description)
{
    report(RuntimeError(CommErrorNumber, CommSource, description));
}

void ModuleProtocol::report(const RuntimeError &error)
{
    closePort();
    m_state.m_commOK = false;
    // Retry is carried out by the operation that failed: it starts again
    // and opens the port anew. Ignore and Abort leave.
    m_retry = m_errors.ErrorDialog(error) == ErrorChoice::Retry;
}

bool ModuleProtocol::takeRetry()
{
    return std::exchange(m_retry, false);
}

void ModuleProtocol::timeoutReport()
{
    // A device that went away is named as such, not as a slow cable.
    const QString lost = m_port.lostReason();
    raise(lost.isEmpty() ? timeoutMessage() : lost);
}

bool ModuleProtocol::waitPumping(int count, const Deadline &deadline)
{
    m_clock.waitForBytes(m_port, count, deadline.at(), LinkClock::Wait::Pumping);
    return arrived(count);
}

bool ModuleProtocol::waitBusy(int count, const Deadline &deadline)
{
    m_clock.waitForBytes(m_port, count, deadline.at(), LinkClock::Wait::Busy);
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
    const auto start = m_clock.now();
    const auto actual = m_clock.pause(n);
    if (m_observer)
        m_observer->paused(n, start, actual);
    const auto requested = std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(n));
    ++m_stats.pauses;
    m_stats.requested += requested;
    m_stats.actual += actual;
    m_stats.shortestExcess = std::min(m_stats.shortestExcess, actual - requested);
}

void ModuleProtocol::toProgress(std::function<void(ProgressDisplay &)> show)
{
    if (!m_progress)
        return;
    if (m_thread && m_thread->isCurrent())
        m_thread->postOwner([display = m_progress, show = std::move(show)] { show(*display); });
    else
        show(*m_progress);
}

void ModuleProtocol::showProgress(const QString &caption)
{
    toProgress([caption](ProgressDisplay &display) {
        display.showProgress(caption);
        display.setProgress(0);
    });
}

void ModuleProtocol::setProgress(int percent)
{
    toProgress([percent](ProgressDisplay &display) { display.setProgress(percent); });
}

void ModuleProtocol::hideProgress()
{
    toProgress([](ProgressDisplay &display) { display.hideProgress(); });
}

// ---- commands --------------------------------------------------------------

void ModuleProtocol::ReSync()
{
    onLink([this] {
        retrying([this] {
            reSync();
            return 0;
        });
    });
}

void ModuleProtocol::reSync()
{
    step("ReSync");
    if (!openPort() || !send(Cmd::ReSync))
        return;
    // The window stays alive (repaint, Esc) while an absent module is waited
    // for; the bytes on the wire are paced as before.
    if (!waitPumping(2, replyDeadline()))
        return;  // no answer: m_state.m_commOK stays false, nothing is reported
    m_port.readByte();
    const std::uint8_t second = m_port.readByte();
    DelayTimer(2);
    m_state.m_commOK = second == Cmd::Ack;
}

void ModuleProtocol::ReadFirmwareID()
{
    onLink([this] {
        retrying([this] {
            readIdentification();
            return 0;
        });
    });
}

void ModuleProtocol::readIdentification()
{
    step("ReadFirmwareID");
    if (!openPort() || !send(Cmd::ReadID))
        return;
    const Deadline deadline = replyDeadline();  // one deadline for the whole reply
    // The identification becomes what this reply holds, once it ends.
    QString firmwareID;
    bool terminated = false;
    for (int received = 0; !terminated; ++received) {
        if (!waitPumping(1, deadline))
            break;
        const std::uint8_t byte = m_port.readByte();
        if (received == 0) {
            // Any byte outside text takes the place of the echo.
            if (byte == Cmd::Terminator || printable(byte)) {
                m_state.setIdentification(QString(), m_state.moduleType());
                raise(byte == Cmd::Terminator ? QStringLiteral("Firmware ID - unexpected terminator.")
                                              : QStringLiteral("Firmware ID - no command echo."));
                return;
            }
        } else if (byte == Cmd::Terminator) {
            terminated = true;
        } else if (printable(byte)) {
            firmwareID += QChar(byte);
        }
        pumpEvents();
    }
    if (!terminated || deadline.passed()) {
        // What arrived stays the identification, as far as it came.
        m_state.setIdentification(firmwareID, m_state.moduleType());
        timeoutReport();
        return;
    }
    DelayTimer(5);
    m_state.m_commOK = !firmwareID.isEmpty();
    m_state.setIdentification(firmwareID, judgeModuleType(firmwareID));
    closePort();
}

void ModuleProtocol::SetEEPROMAddress(std::int32_t address)
{
    onLink([this, address] {
        retrying([this, address] {
            setAddress(address);
            return 0;
        });
    });
}

void ModuleProtocol::setAddress(std::int32_t address)
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
    m_state.m_commOK = second == Cmd::Ack;
    m_port.discardInput();
    DelayTimer(5);
    closePort();
}

std::uint8_t ModuleProtocol::readByteAt()
{
    if (!openPort() || !send(Cmd::Read))
        return 0;
    if (!waitBusy(2, replyDeadline())) {
        timeoutReport();
        return 0;
    }
    m_port.readByte();  // echo
    const std::uint8_t value = m_port.readByte();
    DelayTimer(5);
    m_state.m_commOK = true;
    return value;
}

}  // namespace tunara::link
