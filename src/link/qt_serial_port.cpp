#include "link/qt_serial_port.h"

#include "core/runtime_error.h"
#include "link/port_lock.h"
#include "link/port_open_failure.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QThread>

#include <thread>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace tunara::link {

Q_LOGGING_CATEGORY(lcSerial, "tunara.link.serial", QtWarningMsg)

namespace {

RuntimeError commError(const QString &description)
{
    return RuntimeError(CommErrorNumber, QStringLiteral("Comm Error"), description);
}

// The port's failure in the program's English: the port's own text comes
// from the C library in the user's language.
QString portErrorText(const QSerialPort &port)
{
    switch (port.error()) {
    case QSerialPort::NoError: return QStringLiteral("no error was reported");
    case QSerialPort::DeviceNotFoundError: return QStringLiteral("the device is not there");
    case QSerialPort::PermissionError: return QStringLiteral("permission denied or the port is in use");
    case QSerialPort::OpenError: return QStringLiteral("the port is open already");
    case QSerialPort::WriteError: return QStringLiteral("the device refused the data");
    case QSerialPort::ReadError: return QStringLiteral("the device could not be read");
    case QSerialPort::ResourceError: return QStringLiteral("the device is gone");
    case QSerialPort::UnsupportedOperationError: return QStringLiteral("the operation is not supported");
    case QSerialPort::TimeoutError: return QStringLiteral("the device did not answer in time");
    case QSerialPort::NotOpenError: return QStringLiteral("the port is not open");
    case QSerialPort::UnknownError: break;
    }
    return QStringLiteral("an unknown error");
}

#ifdef Q_OS_LINUX
// The kernel's termios2 (with the real line rates), declared here because its
// header clashes with <termios.h>.
struct KernelTermios2 {
    unsigned int c_iflag, c_oflag, c_cflag, c_lflag;
    unsigned char c_line;
    unsigned char c_cc[19];
    unsigned int c_ispeed, c_ospeed;
};
#endif

}  // namespace

// The QSerialPort is a child so that it moves with this port between threads.
QtSerialPort::QtSerialPort(PortMap map, QObject *parent) : SerialPort(parent), m_map(map), m_port(this)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort()
{
    close();
}

void QtSerialPort::setPortNumber(int portNumber)
{
    m_portNumber = portNumber;
}

int QtSerialPort::portNumber() const
{
    return m_portNumber;
}

void QtSerialPort::setDevicePath(const QString &path)
{
    m_devicePath = path;
}

QString QtSerialPort::devicePath() const
{
    return m_devicePath.isEmpty() ? m_map.devicePath(m_portNumber) : m_devicePath;
}

QString QtSerialPort::deviceName() const
{
    const QString path = devicePath();
    return path.isEmpty() ? SerialPort::deviceName() : path;
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

void QtSerialPort::applySettings()
{
    m_port.setBaudRate(BaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.isOpen()) {
        // A pseudo-terminal has no modem lines: "unsupported operation" there is harmless.
        m_port.setDataTerminalReady(true);
        m_port.setRequestToSend(false);
        m_port.clearError();
    }
}

void QtSerialPort::open()
{
    if (m_port.isOpen())
        return;
    const QString path = devicePath();
    const QString name = m_devicePath.isEmpty() ? QStringLiteral("Com%1").arg(m_portNumber) : path;
    if (path.isEmpty())
        throw commError(PortMap::noDeviceText(m_portNumber));
    // The device under its own name, not a link to it (/dev/serial/by-id/...):
    // the lock file is named after what is opened, and another program
    // holding the device locks it under that name.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString device = canonical.isEmpty() ? path : canonical;
    m_port.setPortName(device);
    m_port.setReadBufferSize(InBufferSize);
    applySettings();
    m_gone = false;
    m_lost.clear();
    const auto cannotOpen = [&](const QString &reason) {
        if (name == path)
            return commError(QStringLiteral("Cannot open %1: %2").arg(path, reason));
        return commError(QStringLiteral("Cannot open %1 (%2): %3").arg(name, path, reason));
    };
    // QSerialPort takes a lock file in another program's form for stale and
    // replaces it: the device would be shared and the other program's lock
    // lost. Asked first, a live holder keeps both.
    if (const std::optional<PortLockHolder> holder = livePortLockHolder(device))
        throw cannotOpen(inUseText(holder->describe()));
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = explainOpenFailure(device, m_port.error(), portErrorText(m_port));
        m_port.clearError();
        throw cannotOpen(reason);
    }
    applySettings();
    const qint32 rateReadBack = readRateBack();
    qCDebug(lcSerial) << "opened" << path << "rate read back" << rateReadBack;
    if (rateReadBack != 0 && rateReadBack != BaudRate)
        qCWarning(lcSerial) << path << "runs at" << rateReadBack << "baud instead of" << BaudRate;
    readLineErrorCounters(false);
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_gone = false;
}

void QtSerialPort::writeByte(std::uint8_t byte)
{
    dropIfGone();
    if (!m_port.isOpen() && !m_lost.isEmpty())
        throw commError(m_lost);
    if (!m_port.isOpen())
        throw commError(QStringLiteral("Operation valid only when the port is open."));
    const char data = char(byte);
    if (m_port.write(&data, 1) != 1)
        throw commError(QStringLiteral("Cannot write to %1: %2").arg(devicePath(), portErrorText(m_port)));
    // write() only queues: push it into the driver now, then wait until the
    // driver has sent it, so a pacing pause that follows really separates it
    // from the next byte.
    m_port.flush();
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000))
            throw commError(QStringLiteral("Cannot write to %1: %2").arg(devicePath(), portErrorText(m_port)));
    }
#ifdef Q_OS_LINUX
    ::tcdrain(int(m_port.handle()));
#endif
}

int QtSerialPort::bytesWaiting()
{
    dropIfGone();
    if (!m_port.isOpen())
        return 0;
    readLineErrorCounters(true);
    return int(m_port.bytesAvailable());
}

std::uint8_t QtSerialPort::readByte()
{
    char c = 0;
    if (!m_port.getChar(&c))
        return 0;
    return std::uint8_t(c);
}

void QtSerialPort::discardInput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void QtSerialPort::waitForInput(int msecs)
{
    dropIfGone();
    if (!m_port.isOpen()) {
        // Nothing can arrive; still let the caller's time pass without spinning.
        std::this_thread::sleep_for(std::chrono::milliseconds(msecs));
        return;
    }
    m_port.waitForReadyRead(msecs);
    if (m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
    dropIfGone();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
        // The device went away (adapter unplugged): the port is dead; it is
        // closed at the next call so the waits end in their own time-out.
        m_gone = true;
        break;
    default:
        break;
    }
}

void QtSerialPort::dropIfGone()
{
    QString reason = portErrorText(m_port);
#ifdef Q_OS_LINUX
    // An unplugged adapter (or a closed pseudo-terminal) hangs up the line;
    // the waits that do not run the event loop would only see silence.
    if (!m_gone && m_port.isOpen()) {
        pollfd fd{int(m_port.handle()), POLLIN, 0};
        if (::poll(&fd, 1, 0) == 1 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            m_gone = true;
            reason = QStringLiteral("the line was hung up");
        }
    }
#endif
    if (m_gone && m_port.isOpen()) {
        // The failure itself is reported through lostReason(); a log line
        // here would print it twice.
        qCDebug(lcSerial) << m_port.portName() << "is gone:" << reason;
        m_lost = QStringLiteral("The device %1 went away during the transfer (unplugged or switched off): %2.")
                     .arg(devicePath(), reason);
        m_port.close();
        m_port.clearError();
    }
}

void QtSerialPort::readLineErrorCounters(bool report)
{
#ifdef Q_OS_LINUX
    if (!report)
        m_countersAvailable = true;
    if (!m_countersAvailable || !m_port.isOpen())
        return;
    serial_icounter_struct counts{};
    if (::ioctl(int(m_port.handle()), TIOCGICOUNT, &counts) != 0) {
        // Pseudo-terminals and some adapters keep no counters.
        m_countersAvailable = false;
        return;
    }
    const std::array<int, 4> now{counts.frame, counts.overrun, counts.buf_overrun, counts.parity};
    static constexpr std::array<CommEvent, 4> events{CommEvent::Framing, CommEvent::Overrun, CommEvent::RxOverflow,
                                                     CommEvent::Parity};
    if (report) {
        for (std::size_t k = 0; k < now.size(); ++k) {
            if (now[k] != m_counters[k]) {
                const int code = int(events[k]);
                // On the application's thread: delivered when the event loop
                // next runs, as the device's own notifications would be. On
                // the link thread no event loop runs until the operation
                // ends, so the error is reported at once, mid-transfer.
                if (QThread::currentThread() == QCoreApplication::instance()->thread())
                    QMetaObject::invokeMethod(this, [this, code] { emit lineError(code); }, Qt::QueuedConnection);
                else
                    emit lineError(code);
            }
        }
    }
    m_counters = now;
#else
    Q_UNUSED(report);
#endif
}

qint32 QtSerialPort::readRateBack() const
{
#ifdef Q_OS_LINUX
    KernelTermios2 tio{};
    if (::ioctl(int(m_port.handle()), _IOR('T', 0x2A, KernelTermios2), &tio) == 0)
        return qint32(tio.c_ospeed);
    return 0;
#else
    return m_port.baudRate();
#endif
}

}  // namespace tunara::link
