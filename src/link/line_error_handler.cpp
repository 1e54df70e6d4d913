#include "link/line_error_handler.h"

#include "link/serial_port.h"

namespace tunara::link {

LineErrorHandler::LineErrorHandler(SerialPort &port, LineErrorPrompter &prompter, QObject *parent)
    : QObject(parent), m_port(port), m_prompter(prompter)
{
    connect(&m_port, &SerialPort::lineError, this, &LineErrorHandler::OnComm);
}

QString LineErrorHandler::title()
{
    return QStringLiteral("Communications Error");
}

QString LineErrorHandler::description(int commEvent)
{
    switch (CommEvent(commEvent)) {
    case CommEvent::Framing:
        return QStringLiteral("Framing error.");
    case CommEvent::Overrun:
        return QStringLiteral("Port hardware overrun.");
    case CommEvent::RxOverflow:
        return QStringLiteral("Receive buffer overflow.");
    case CommEvent::Parity:
        return QStringLiteral("Parity error.");
    case CommEvent::TxFull:
        return QStringLiteral("Transmit buffer full.");
    case CommEvent::DeviceControlBlock:
        return QStringLiteral("Device control block error.");
    }
    return {};
}

void LineErrorHandler::OnComm(int commEvent)
{
    const QString text = description(commEvent);
    if (text.isEmpty())
        return;  // receive notifications, line-state changes, break
    const RuntimeError error(CommErrorNumber, QStringLiteral("Comm Error"), text);
    ++CommErrorCount;
    // A line that keeps failing is shut before the user is asked again.
    if (CommErrorCount > 2 && m_port.isOpen())
        m_port.close();
    if (m_prompter.askLineError(error.description(), title()) == LineErrorChoice::Retry)
        m_port.discardInput();
    else if (m_port.isOpen())
        m_port.close();
}

}  // namespace tunara::link
