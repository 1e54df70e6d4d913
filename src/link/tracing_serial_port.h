#pragma once

#include "link/link_observer.h"
#include "link/link_trace.h"
#include "link/serial_port.h"

#include <functional>

namespace tunara::link {

// A port that passes everything to the real one and writes it into a link
// trace. Give it to the protocol instead of the real port: the protocol then
// also tells it each procedure, pause and time-out (it is a LinkObserver).
//
// Once the trace has failed to write, opening the port and sending a byte
// throw its failure (source "Link Trace"), which the protocol's error
// handling shows and which ends the transfer.
//
// Received bytes are stamped when the program takes them from the port;
// bytes the protocol throws away unread are read out first and traced as
// dropped, so the trace shows every byte that came.
class TracingSerialPort : public SerialPort, public LinkObserver {
    Q_OBJECT
public:
    // `describeDevice` names the device behind the port number for the
    // trace's open lines (may be empty). Finding it can mean listing the
    // system's serial devices, so it is asked once per port number (again
    // after an open failed), not at every open.
    TracingSerialPort(SerialPort &inner, LinkTrace &trace, std::function<QString()> describeDevice = {},
                      QObject *parent = nullptr);

    void setPortNumber(int portNumber) override { m_inner.setPortNumber(portNumber); }
    int portNumber() const override { return m_inner.portNumber(); }
    QString deviceName() const override { return m_inner.deviceName(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void open() override;
    void close() override;
    void applySettings() override { m_inner.applySettings(); }
    void writeByte(std::uint8_t byte) override;
    int bytesWaiting() override { return m_inner.bytesWaiting(); }
    std::uint8_t readByte() override;
    void discardInput() override;
    void waitForInput(int msecs) override { m_inner.waitForInput(msecs); }
    void moveToThreadWith(QThread *thread) override
    {
        m_inner.moveToThreadWith(thread);
        moveToThread(thread);
    }

    void protocolStep(const char *procedure, int address) override { m_trace.step(procedure, address); }
    void paused(int requestedMs, Clock::time_point start, Clock::duration actual) override
    {
        m_trace.paused(requestedMs, start, actual);
    }
    void replyTimedOut(int needed, int arrived) override { m_trace.timedOut(needed, arrived); }

    SerialPort &inner() { return m_inner; }

private:
    QString deviceText();
    void refuseUntraced();

    SerialPort &m_inner;
    LinkTrace &m_trace;
    std::function<QString()> m_describeDevice;
    int m_describedNumber = 0;  // the number m_described is for; 0: none yet
    QString m_described;
};

}  // namespace tunara::link
