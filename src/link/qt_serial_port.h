#pragma once

#include "link/port_map.h"
#include "link/serial_port.h"

#include <QSerialPort>

#include <array>

namespace tunara::link {

// The real serial port: QSerialPort with the module's fixed line settings.
//
// The port number is turned into a device through a PortMap; an explicit
// device path (a command-line argument, the simulated module's
// pseudo-terminal) can take its place. Line errors (framing, overrun,
// buffer overflow, parity) are read from the driver's error counters where
// the device has them and reported through lineError(): on the
// application's thread the next time its event loop runs, on the link
// thread at once.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    static constexpr qint32 BaudRate = 56000;  // not 57600
    static constexpr qint64 InBufferSize = 256;

    explicit QtSerialPort(PortMap map = PortMap(), QObject *parent = nullptr);
    ~QtSerialPort() override;

    void setPortNumber(int portNumber) override;
    QString lostReason() const override { return m_lost; }
    int portNumber() const override;

    // Use this device instead of the number's mapping; "" returns to the mapping.
    void setDevicePath(const QString &path);
    // The device the next open() uses ("" when the number stands for none).
    QString devicePath() const;
    QString deviceName() const override;

    bool isOpen() const override;
    void open() override;
    void close() override;
    void applySettings() override;

    void writeByte(std::uint8_t byte) override;
    int bytesWaiting() override;
    std::uint8_t readByte() override;
    void discardInput() override;
    void waitForInput(int msecs) override;

private:
    void onError(QSerialPort::SerialPortError error);
    void dropIfGone();
    void readLineErrorCounters(bool report);
    qint32 readRateBack() const;

    PortMap m_map;
    QSerialPort m_port;
    int m_portNumber = 1;
    QString m_devicePath;
    bool m_gone = false;
    QString m_lost;  // the device that went away while open, and why
    bool m_countersAvailable = false;
    std::array<int, 4> m_counters{};  // framing, overrun, buffer overflow, parity
};

}  // namespace tunara::link
