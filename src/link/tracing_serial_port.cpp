#include "link/tracing_serial_port.h"

#include "core/runtime_error.h"

namespace tunara::link {

TracingSerialPort::TracingSerialPort(SerialPort &inner, LinkTrace &trace, std::function<QString()> describeDevice,
                                     QObject *parent)
    : SerialPort(parent), m_inner(inner), m_trace(trace), m_describeDevice(std::move(describeDevice))
{
    connect(&inner, &SerialPort::lineError, this, [this](int commEvent) {
        m_trace.lineError(commEvent);
        emit lineError(commEvent);
    });
}

QString TracingSerialPort::deviceText()
{
    if (m_describeDevice && m_describedNumber != m_inner.portNumber()) {
        m_described = m_describeDevice();
        m_describedNumber = m_inner.portNumber();
    }
    return m_described;
}

void TracingSerialPort::refuseUntraced()
{
    // A trace that stopped taking lines (a full disk) stops the transfer:
    // the user asked for every byte to be traced.
    if (m_trace.failure().isEmpty())
        return;
    m_trace.setFailureReported();
    throw RuntimeError(FileErrorNumber, QStringLiteral("Link Trace"), m_trace.failure());
}

void TracingSerialPort::open()
{
    refuseUntraced();
    const QString device = QStringLiteral("Com%1").arg(m_inner.portNumber());
    try {
        m_inner.open();
    } catch (const RuntimeError &e) {
        m_describedNumber = 0;
        m_trace.portOpenFailed(device + QStringLiteral(": ") + e.description());
        throw;
    }
    const QString where = deviceText();
    m_trace.portOpened(where.isEmpty() ? device : device + u' ' + where);
}

void TracingSerialPort::close()
{
    const bool wasOpen = m_inner.isOpen();
    m_inner.close();
    if (wasOpen)
        m_trace.portClosed();
}

void TracingSerialPort::writeByte(std::uint8_t byte)
{
    refuseUntraced();
    const auto begin = Clock::now();
    m_inner.writeByte(byte);
    m_trace.sent(byte, begin, Clock::now());
}

std::uint8_t TracingSerialPort::readByte()
{
    const std::uint8_t byte = m_inner.readByte();
    m_trace.received(byte);
    return byte;
}

void TracingSerialPort::discardInput()
{
    while (m_inner.isOpen() && m_inner.bytesWaiting() > 0)
        m_trace.dropped(m_inner.readByte());
    m_inner.discardInput();
}

}  // namespace tunara::link
