#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

namespace tunara::link {

// Line-error event codes the port reports (the numbers the error handling
// keys on).
enum class CommEvent : int {
    Framing = 1004,
    Overrun = 1006,
    RxOverflow = 1008,
    Parity = 1009,
    TxFull = 1010,
    DeviceControlBlock = 1011,
};

// The one serial port the module is reached through. The protocol works only
// through this interface, so it runs over a real device, a pseudo-terminal
// to the simulated module, or a scripted double in tests.
//
// Line settings are fixed: 56000 baud, 8N1, no handshaking, DTR on, RTS off,
// 0x00 bytes kept as data.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Port number 1..255 the next open() uses.
    virtual void setPortNumber(int portNumber) = 0;
    virtual int portNumber() const = 0;

    virtual bool isOpen() const = 0;
    // Opens the selected port with the line settings; throws RuntimeError
    // (number -2147220504, source "Comm Error") when it cannot.
    virtual void open() = 0;
    virtual void close() = 0;
    // Re-applies the line settings (to an open port at once, else at open).
    virtual void applySettings() = 0;

    // Sends one byte and returns once it has left our side (flushed), so a
    // pacing pause that follows really separates it from the next byte.
    virtual void writeByte(std::uint8_t byte) = 0;
    // Bytes received and not yet read.
    virtual int bytesWaiting() = 0;
    // Reads one received byte; only call when bytesWaiting() > 0.
    virtual std::uint8_t readByte() = 0;
    // Throws away everything received and not yet read.
    virtual void discardInput() = 0;
    // Blocks up to msecs for more input to arrive (returns early when some
    // does). Used by waits that must not pump window events.
    virtual void waitForInput(int msecs) = 0;
    // Why the device went away while open (unplugged), "" while it is
    // there; a reply that never came is then reported as this.
    virtual QString lostReason() const { return {}; }
    // Names the device the next open() uses, to tell one module's link from
    // another's.
    virtual QString deviceName() const { return QStringLiteral("Com%1").arg(portNumber()); }
    // Hands the port, and whatever it is built on, to another thread; called
    // on the thread that has it.
    virtual void moveToThreadWith(QThread *thread) { moveToThread(thread); }

signals:
    // A line error reported by the device, with its event code.
    void lineError(int commEvent);
};

}  // namespace tunara::link
