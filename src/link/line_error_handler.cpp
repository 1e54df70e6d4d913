#include "link/line_error_handler.h"

#include "link/serial_port.h"

#include <QThread>

namespace tunara::link {

LineErrorHandler::LineErrorHandler(SerialPort &port, LineErrorPrompter &prompter, QObject *parent)
    : QObject(parent), m_port(port), m_prompter(prompter)
{
    // Direct: the port reports from the thread that has it, and the close or
    // discard that answers the error must happen there, mid-transfer.
    connect(&m_port, &SerialPort::lineError, this, &LineErrorHandler::OnComm, Qt::DirectConnection);
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

LineErrorChoice LineErrorHandler::ask(const QString &text)
{
    if (QThread::currentThread() == thread())
        return m_prompter.askLineError(text, title());
    // Reported on the link thread: the question is asked on the handler's
    // (the window's), which keeps running while the operation waits here.
    LineErrorChoice choice = LineErrorChoice::Cancel;
    QMetaObject::invokeMethod(
        this, [&] { choice = m_prompter.askLineError(text, title()); }, Qt::BlockingQueuedConnection);
    return choice;
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
    if (ask(error.description()) == LineErrorChoice::Retry)
        m_port.discardInput();
    else if (m_port.isOpen())
        m_port.close();
}

}  // namespace tunara::link
